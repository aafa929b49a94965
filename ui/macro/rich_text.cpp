#include "ui/macro/rich_text.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

using namespace qv;

namespace {

MacroColour toMacroColour(const QBrush& brush, MacroColour unset) {
  if (brush.style() == Qt::NoBrush)
    return unset;
  const QColor c = brush.color();
  return {static_cast<uint8_t>(c.red()), static_cast<uint8_t>(c.green()),
          static_cast<uint8_t>(c.blue())};
}

bool sameStyle(const MacroColourRun& a, const MacroColourRun& b) {
  return a.text == b.text && a.background == b.background && a.bold == b.bold;
}

}  // namespace

void ApplyColourRuns(QTextDocument& document, const QList<MacroColourRun>& runs) {
  // The last position is the document's closing paragraph mark.
  const int end = std::max(0, document.characterCount() - 1);
  QTextCursor cursor(&document);
  cursor.beginEditBlock();
  for (const MacroColourRun& run : runs) {
    const int from = std::clamp(run.start, 0, end);
    const int to = std::clamp(run.start + run.length, from, end);
    if (to == from)
      continue;
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    QTextCharFormat format;
    format.setForeground(ToQColor(run.text));
    format.setBackground(ToQColor(run.background));
    format.setFontWeight(run.bold ? QFont::Bold : QFont::Normal);
    cursor.mergeCharFormat(format);
  }
  cursor.endEditBlock();
}

QList<MacroColourRun> ColourRunsOf(const QTextDocument& document) {
  QList<MacroColourRun> runs;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      const QTextCharFormat format = fragment.charFormat();
      const MacroColourRun run{
          fragment.position(), fragment.length(), toMacroColour(format.foreground(), kBlack),
          toMacroColour(format.background(), kWhite), format.fontWeight() >= QFont::Bold};
      // The line break between two blocks goes with the run around it.
      if (!runs.isEmpty() && sameStyle(runs.back(), run) &&
          run.start <= runs.back().start + runs.back().length + 1) {
        runs.back().length = run.start + run.length - runs.back().start;
      } else {
        runs.append(run);
      }
    }
  }
  return runs;
}
