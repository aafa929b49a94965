#pragma once

#include <QList>
#include <QString>

#include "macro/colours.h"

namespace qv {

// The canonical layout of macro text: one statement per line, indented by
// block, operators spaced, trailing comments aligned, lines padded to 50
// characters, each line coloured by its role. The result depends on the text
// alone, and formatting a formatted text gives it back unchanged.

struct FormattedMacroText {
  QString text;  // lines each ended by '\n'
  // First a reset of the whole text (black on white, not bold), then the
  // lines, then the comments; apply in order.
  QList<MacroColourRun> runs;
  // The selection to restore, kept within the new text.
  int selectionStart = 0;
  int selectionLength = 0;
};

FormattedMacroText FormatMacroText(const QString& text, int selectionStart = 0,
                                   int selectionLength = 0);

}  // namespace qv
