#include "macro/rtf.h"

#include <QHash>
#include <QMap>
#include <QStringDecoder>
#include <QVector>
#include <algorithm>
#include <cctype>
#include <utility>

#include "common/cp1251.h"

namespace {

// ---- writing ----

struct CharStyle {
  MacroColour text = kBlack;
  MacroColour background = kWhite;
  bool bold = false;
  friend bool operator==(const CharStyle&, const CharStyle&) = default;
};

QVector<CharStyle> stylesOf(qsizetype length, const QList<MacroColourRun>& runs) {
  QVector<CharStyle> styles(length);
  for (const MacroColourRun& run : runs) {
    const qsizetype begin = std::clamp<qsizetype>(run.start, 0, length);
    const qsizetype end = std::clamp<qsizetype>(qsizetype(run.start) + run.length, begin, length);
    for (qsizetype i = begin; i < end; ++i)
      styles[i] = {run.text, run.background, run.bold};
  }
  return styles;
}

class ColourTable {
 public:
  // Index 0 of an RTF colour table is the automatic colour; ours start at 1.
  int indexOf(MacroColour colour) {
    const auto found = std::find(colours_.begin(), colours_.end(), colour);
    if (found != colours_.end())
      return static_cast<int>(found - colours_.begin()) + 1;
    colours_.append(colour);
    return static_cast<int>(colours_.size());
  }
  QByteArray rtf() const {
    QByteArray table = "{\\colortbl ;";
    for (const MacroColour& c : colours_) {
      table += "\\red" + QByteArray::number(c.red) + "\\green" + QByteArray::number(c.green) +
               "\\blue" + QByteArray::number(c.blue) + ';';
    }
    return table + '}';
  }

 private:
  QList<MacroColour> colours_;
};

QByteArray hexEscape(uint8_t byte) {
  static const char digits[] = "0123456789abcdef";
  return QByteArray("\\'") + digits[byte >> 4] + digits[byte & 15];
}

QByteArray escapedChar(QChar ch) {
  const char16_t code = ch.unicode();
  switch (code) {
    case u'\\':
      return "\\\\";
    case u'{':
      return "\\{";
    case u'}':
      return "\\}";
    case u'\t':
      return "\\tab ";
    case u'\n':
      return "\\par\r\n";
    case u'\r':
      return {};
    default:
      break;
  }
  if (code < 0x20)
    return hexEscape(static_cast<uint8_t>(code));
  if (code < 0x7F)
    return QByteArray(1, static_cast<char>(code));
  // \uN takes a signed 16-bit number; the fallback serves readers without it.
  const int number = code > 0x7FFF ? int(code) - 0x10000 : int(code);
  const int fallback = CharToCp1251(ch);
  return "\\u" + QByteArray::number(number) +
         (fallback >= 0 ? hexEscape(static_cast<uint8_t>(fallback)) : QByteArray("?"));
}

QByteArray styleWords(const CharStyle& style, ColourTable& colours) {
  const QByteArray background = QByteArray::number(colours.indexOf(style.background));
  return "\\cf" + QByteArray::number(colours.indexOf(style.text)) + "\\highlight" + background +
         "\\chcbpat" + background + (style.bold ? "\\b " : "\\b0 ");
}

// ---- reading ----

constexpr int kCp1251 = 1251;
constexpr int kCp1252 = 1252;

QChar cp1252ToChar(uint8_t byte) {
  static const char16_t high[32] = {0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x8D,   0x017D, 0x8F,
                                    0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};
  return byte >= 0x80 && byte < 0xA0 ? QChar(high[byte - 0x80]) : QChar(char16_t(byte));
}

int codePageOfCharset(int charset) {
  switch (charset) {
    case 0:
      return kCp1252;
    case 204:
      return kCp1251;
    default:
      return 0;  // the document's code page
  }
}

bool isSkippedDestination(const QByteArray& word) {
  static const QList<QByteArray> words = {
      "colortbl",
      "stylesheet",
      "info",
      "pict",
      "object",
      "header",
      "headerl",
      "headerr",
      "headerf",
      "footer",
      "footerl",
      "footerr",
      "footerf",
      "footnote",
      "fldinst",
      "listtable",
      "listoverridetable",
      "revtbl",
      "rsidtbl",
      "generator",
      "xmlnstbl",
      "themedata",
      "colorschememapping",
      "latentstyles",
      "datastore",
      "pgdsctbl",
      "filetbl",
      "listtext",
      "pntext",
      "pntxta",
      "pntxtb",
      "bkmkstart",
      "bkmkend",
      "txe",
      "xe",
      "tc",
      "rxe",
      "nonshppict",
      "ftnsep",
      "ftnsepc",
      "aftnsep",
      "aftnsepc",
      "annotation",
      "atnid",
      "atnauthor",
      "private",
      "userprops",
      "docvar",
      "mmathPr",
      "defchp",
      "defpap",
      "upr",
      "falt",
      "panose",
      "fchars",
      "lchars",
      "shpinst",
      "sp",
  };
  return words.contains(word);
}

QChar charOfWord(const QByteArray& word) {
  static const QHash<QByteArray, char16_t> chars = {
      {"par", u'\n'},        {"line", u'\n'},       {"sect", u'\n'},    {"page", u'\n'},
      {"row", u'\n'},        {"tab", u'\t'},        {"cell", u'\t'},    {"emdash", 0x2014},
      {"endash", 0x2013},    {"bullet", 0x2022},    {"lquote", 0x2018}, {"rquote", 0x2019},
      {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"emspace", u' '},  {"enspace", u' '},
      {"qmspace", u' '},
  };
  return QChar(chars.value(word, 0));
}

class RtfReader {
 public:
  explicit RtfReader(const QByteArray& rtf) : in_(rtf) {}
  QString read();

 private:
  enum class Destination { Text, FontTable, Skipped };
  struct State {
    Destination destination = Destination::Text;
    int unicodeFallback = 1;  // \ucN
    int font = -1;
  };

  void controlWord();
  void controlSymbol();
  void put(QChar ch);
  void putByte(uint8_t byte);
  int hexDigit(qsizetype at) const;

  QByteArray in_;
  qsizetype pos_ = 0;
  QString out_;
  QVector<State> stack_{State()};
  int documentCodePage_ = kCp1251;
  QMap<int, int> fontCodePages_;
  int definedFont_ = -1;  // the font whose entry the font table is at
  int fallbackLeft_ = 0;  // characters still to skip after \uN
};

QString RtfReader::read() {
  while (pos_ < in_.size()) {
    const char c = in_[pos_++];
    if (c == '{') {
      stack_.append(stack_.back());
      fallbackLeft_ = 0;
    } else if (c == '}') {
      if (stack_.size() > 1)
        stack_.removeLast();
      fallbackLeft_ = 0;
    } else if (c == '\\') {
      if (pos_ < in_.size() && std::isalpha(static_cast<unsigned char>(in_[pos_]))) {
        controlWord();
      } else {
        controlSymbol();
      }
    } else if (c != '\r' && c != '\n' && c != '\0') {
      putByte(static_cast<uint8_t>(c));
    }
  }
  return out_;
}

void RtfReader::controlWord() {
  const qsizetype begin = pos_;
  while (pos_ < in_.size() && std::isalpha(static_cast<unsigned char>(in_[pos_])))
    ++pos_;
  const QByteArray word = in_.mid(begin, pos_ - begin);
  const qsizetype numberBegin = pos_;
  if (pos_ < in_.size() && in_[pos_] == '-')
    ++pos_;
  while (pos_ < in_.size() && std::isdigit(static_cast<unsigned char>(in_[pos_])))
    ++pos_;
  const bool hasNumber = pos_ > numberBegin && in_[pos_ - 1] != '-';
  const int number = hasNumber ? in_.mid(numberBegin, pos_ - numberBegin).toInt() : 0;
  if (pos_ < in_.size() && in_[pos_] == ' ')
    ++pos_;

  State& state = stack_.back();
  if (word == "bin") {
    pos_ = std::min(in_.size(), pos_ + std::max(0, number));
  } else if (word == "fonttbl") {
    state.destination = Destination::FontTable;
  } else if (isSkippedDestination(word)) {
    state.destination = Destination::Skipped;
  } else if (word == "u") {
    // A signed 16-bit number, or unsigned as some writers put it; any other
    // number names no character, and then its fallback is what stands.
    fallbackLeft_ = 0;
    if (number != 0 && number >= -0x8000 && number <= 0xFFFF) {
      put(QChar(static_cast<char16_t>(number < 0 ? number + 0x10000 : number)));
      fallbackLeft_ = state.unicodeFallback;
    }
  } else if (word == "uc") {
    state.unicodeFallback = std::max(0, number);
  } else if (word == "ansi") {
    documentCodePage_ = kCp1252;
  } else if (word == "ansicpg") {
    documentCodePage_ = number;
  } else if (word == "f") {
    if (state.destination == Destination::FontTable) {
      definedFont_ = number;
    } else {
      state.font = number;
    }
  } else if (word == "fcharset") {
    if (state.destination == Destination::FontTable && definedFont_ >= 0) {
      fontCodePages_[definedFont_] = codePageOfCharset(number);
    }
  } else if (const QChar ch = charOfWord(word); !ch.isNull()) {
    put(ch);
  }
}

void RtfReader::controlSymbol() {
  if (pos_ >= in_.size())
    return;
  const char c = in_[pos_++];
  switch (c) {
    case '\'': {
      const int high = hexDigit(pos_);
      const int low = hexDigit(pos_ + 1);
      if (high < 0 || low < 0)
        return;
      pos_ += 2;
      putByte(static_cast<uint8_t>(high * 16 + low));
      return;
    }
    case '*':
      stack_.back().destination = Destination::Skipped;
      return;
    case '~':
      put(QChar(0xA0));
      return;
    case '_':
      put(u'-');
      return;
    case '-':
      return;  // optional hyphen
    case '\r':
    case '\n':
      put(u'\n');
      return;
    default:
      put(QChar::fromLatin1(c));
      return;  // \\ \{ \} and the like
  }
}

int RtfReader::hexDigit(qsizetype at) const {
  if (at >= in_.size())
    return -1;
  const char c = in_[at];
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  return -1;
}

void RtfReader::putByte(uint8_t byte) {
  const State& state = stack_.back();
  const int fontPage = fontCodePages_.value(state.font, 0);
  const int page = fontPage != 0 ? fontPage : documentCodePage_;
  put(byte < 0x80       ? QChar(char16_t(byte))
      : page == kCp1252 ? cp1252ToChar(byte)
                        : Cp1251ToChar(byte));
}

void RtfReader::put(QChar ch) {
  if (fallbackLeft_ > 0) {
    --fallbackLeft_;
    return;
  }
  if (stack_.back().destination == Destination::Text)
    out_ += ch;
}

QString withLineFeeds(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(u'\r', u'\n');
  return text;
}

const QByteArray kUtf8Mark("\xEF\xBB\xBF");

// The bytes that may follow a lead byte. Overlong forms, surrogates and code
// points past U+10FFFF are not UTF-8: decoded as such they would become
// U+FFFD, and the file's bytes would be lost.
std::pair<uint8_t, uint8_t> secondByteRange(uint8_t lead) {
  switch (lead) {
    case 0xE0:
      return {0xA0, 0xBF};
    case 0xED:
      return {0x80, 0x9F};
    case 0xF0:
      return {0x90, 0xBF};
    case 0xF4:
      return {0x80, 0x8F};
    default:
      return {0x80, 0xBF};
  }
}

bool isMultiByteUtf8(const QByteArray& bytes) {
  bool multiByte = false;
  for (qsizetype i = 0; i < bytes.size();) {
    const auto lead = static_cast<uint8_t>(bytes[i]);
    const int extra = lead < 0x80                   ? 0
                      : lead >= 0xC2 && lead < 0xE0 ? 1
                      : lead >= 0xE0 && lead < 0xF0 ? 2
                      : lead >= 0xF0 && lead < 0xF5 ? 3
                                                    : -1;
    if (extra < 0 || i + extra >= bytes.size())
      return false;
    const auto [low, high] = secondByteRange(lead);
    for (int k = 1; k <= extra; ++k) {
      const auto next = static_cast<uint8_t>(bytes[i + k]);
      if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF))
        return false;
    }
    multiByte = multiByte || extra > 0;
    i += extra + 1;
  }
  return multiByte;
}

}  // namespace

QByteArray MacroTextToRtf(const QString& text, const QList<MacroColourRun>& runs) {
  const QVector<CharStyle> styles = stylesOf(text.size(), runs);
  ColourTable colours;
  colours.indexOf(kBlack);
  colours.indexOf(kWhite);
  QByteArray body;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (i == 0 || !(styles[i] == styles[i - 1]))
      body += styleWords(styles[i], colours);
    body += escapedChar(text[i]);
  }
  return "{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1049"
         "{\\fonttbl{\\f0\\fmodern\\fcharset204 Courier New;}}\r\n" +
         colours.rtf() + "\r\n\\viewkind4\\uc1\\pard\\f0\\fs20 " + body + "}\r\n";
}

bool IsRtf(const QByteArray& bytes) {
  const QByteArray start = bytes.startsWith(kUtf8Mark) ? bytes.mid(kUtf8Mark.size()) : bytes;
  return start.startsWith("{\\rtf");
}

QString RtfToText(const QByteArray& rtf) {
  return RtfReader(rtf).read();
}

QString DecodeMacroFile(const QByteArray& bytes) {
  if (IsRtf(bytes))
    return withLineFeeds(RtfToText(bytes));
  if (bytes.startsWith(kUtf8Mark))
    return withLineFeeds(QString::fromUtf8(bytes.mid(3)));
  if (bytes.startsWith("\xFF\xFE")) {
    return withLineFeeds(QStringDecoder(QStringConverter::Utf16LE)(bytes.mid(2)));
  }
  if (bytes.startsWith("\xFE\xFF")) {
    return withLineFeeds(QStringDecoder(QStringConverter::Utf16BE)(bytes.mid(2)));
  }
  // Text written by a Linux editor: UTF-8 without a mark. Windows-1251
  // Cyrillic is practically never valid UTF-8, so the check is safe.
  if (isMultiByteUtf8(bytes))
    return withLineFeeds(QString::fromUtf8(bytes));
  return withLineFeeds(FromCp1251(bytes));
}
