// The macro file reader on arbitrary bytes (RTF or plain text), and on a
// sample of the inputs the writer on what it read: a text saved as RTF reads
// back unchanged. Plain text without a byte-order mark is read without loss:
// its characters are the bytes in Windows-1251 or in UTF-8.
#include "common/cp1251.h"
#include "macro/rtf.h"
#include "tests/fuzz/fuzz_support.h"

using namespace qv;

namespace {

bool startsWithMark(const QByteArray& bytes) {
  return bytes.startsWith("\xEF\xBB\xBF") || bytes.startsWith("\xFF\xFE") ||
         bytes.startsWith("\xFE\xFF");
}

QByteArray withLineFeeds(QByteArray bytes) {
  return bytes.replace("\r\n", "\n").replace('\r', '\n');
}

// Writing costs as much again as reading, and reading the RTF written once
// more: the round trip runs on a sample of the inputs.
void checkRoundTrip(const QString& text) {
  const int length = static_cast<int>(text.size());
  const QList<MacroColourRun> runs = {
      {0, length, kBlack, kWhite, false},
      {length / 3, length, kPurple, kLightRed, true},
  };
  const QByteArray rtf = MacroTextToRtf(text, runs);
  for (const char byte : rtf)
    fuzzCheck(static_cast<uint8_t>(byte) < 0x80, "the RTF written is 7-bit");
  fuzzCheck(IsRtf(rtf), "the RTF written reads as RTF");
  fuzzCheck(DecodeMacroFile(rtf) == text, "a text saved as RTF reads back unchanged");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes =
      QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  // DecodeMacroFile() reads an RTF file with RtfToText(); the other bytes it
  // gets on their own.
  if (!IsRtf(bytes))
    RtfToText(bytes);
  const QString text = DecodeMacroFile(bytes);
  fuzzCheck(!text.contains(u'\r'), "a macro file reads with line feeds only");
  if (!IsRtf(bytes) && !startsWithMark(bytes)) {
    const QByteArray lines = withLineFeeds(bytes);
    fuzzCheck(ToCp1251(text) == lines || text.toUtf8() == lines, "plain text reads without loss");
  }

  if (isSampled(data, size))
    checkRoundTrip(text);
  return 0;
}
