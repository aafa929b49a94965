// The formatter on arbitrary editor text: formatting its own output changes
// neither the text nor the colouring, and every colour run and the selection
// stay inside the text.
#include "macro/formatter.h"
#include "tests/fuzz/fuzz_support.h"

using namespace qv;

namespace {

void checkInside(const FormattedMacroText& f) {
  const qsizetype length = f.text.size();
  for (const MacroColourRun& run : f.runs) {
    fuzzCheck(run.start >= 0 && run.length > 0 && run.start + run.length <= length,
              "every colour run lies inside the text");
  }
  fuzzCheck(f.selectionStart >= 0 && f.selectionLength >= 0 &&
                f.selectionStart + f.selectionLength <= length,
            "the selection lies inside the text");
  fuzzCheck(f.text.isEmpty() || f.text.endsWith(u'\n'), "every line ends with a line break");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString text = textOfBytes(data, size);
  const int third = static_cast<int>(text.size() / 3);
  const FormattedMacroText once = FormatMacroText(text, third, 2 * third);
  checkInside(once);
  const FormattedMacroText twice =
      FormatMacroText(once.text, once.selectionStart, once.selectionLength);
  fuzzCheck(twice.text == once.text, "formatting a formatted text keeps it");
  fuzzCheck(twice.runs == once.runs, "formatting a formatted text keeps its colours");
  fuzzCheck(
      twice.selectionStart == once.selectionStart && twice.selectionLength == once.selectionLength,
      "formatting a formatted text keeps the selection");
  return 0;
}
