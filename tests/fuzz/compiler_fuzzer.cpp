// The macro compiler on arbitrary editor text: the image stays within its 255
// bytes and is sealed, the per-line byte counts add up to it, and the listing
// covers the lines that produced bytes.
#include "common/crc8.h"
#include "common/settings_record.h"
#include "macro/byte_code.h"
#include "macro/compiler.h"
#include "macro/listing.h"
#include "tests/fuzz/fuzz_support.h"

using namespace qv;

namespace {

void checkImage() {
  const CompiledMacroRecord& m = CompiledMacro;
  fuzzCheck(m.length >= 3 && m.length <= kMacroImageLimit, "the image holds 3 to 255 bytes");
  fuzzCheck(m.image[0] == m.length, "the first byte is the length");
  fuzzCheck(m.image[m.length - 1] == Crc8(m.image, m.length - 1u), "the last byte is the CRC");
  fuzzCheck(m.lineCount >= 1 && m.lineCount <= kMacroLineLimit, "the line count is in range");
  int counted = 0;
  for (int line = 0; line < m.lineCount; ++line)
    counted += m.LineByteCounts[line];
  fuzzCheck(counted == m.length, "the line byte counts add up to the image");
  fuzzCheck(m.errorCount == std::min<qsizetype>(MacroErrorList.size(), 255),
            "every error is listed");
}

void checkListing(int caretLine) {
  const MacroListing listing = ShowMacroListing(caretLine);
  fuzzCheck(listing.hexRows.size() == CompiledMacro.lineCount, "one hex row per line");
  const qsizetype joined = listing.hexRows.join(u'\n').size();
  const MacroColourRun& h = listing.highlight;
  fuzzCheck(h.start >= 0 && h.length >= 0 && h.start + h.length <= joined,
            "the highlight stays inside the hex view");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CurrentMacroName.clear();
  CompileMacro(textOfBytes(data, size));
  checkImage();
  for (const QChar ch : CurrentMacroName)
    fuzzCheck(ch != u'/' && ch != u'\\', "the macro name names a file in the macro folder");
  checkListing(0);
  checkListing(CompiledMacro.lineCount - 1);
  checkListing(static_cast<int>(size % 300));
  return 0;
}
