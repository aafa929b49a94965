#pragma once

#include <QString>
#include <QStringList>

#include "macro/colours.h"

namespace qv {

// What the editor shows beside the text for CompiledMacro and
// CurrentMacroName: the info list and the hex view, one row per text line.
struct MacroListing {
  QStringList info;     // name, size, CRC, phases, cycles, errors
  QStringList hexRows;  // each byte as two hex digits and a blank
  // The row of the caret's line, counted in the rows joined by '\n'; empty
  // when that line has no row.
  MacroColourRun highlight;
};

MacroListing ShowMacroListing(int caretLine);

}  // namespace qv
