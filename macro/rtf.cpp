#include "macro/rtf.h"

#include <QHash>
#include <QMap>
#include <QStringDecoder>
#include <QVector>
#include <algorithm>
#include <cctype>
#include <charconv>
#include <utility>

#include "common/cp1251.h"

namespace qv {

namespace {

// ---- writing ----

struct CharStyle {
  MacroColour text = kBlack;
  MacroColour background = kWhite;
  bool bold = false;
  friend bool operator==(const CharStyle&, const CharStyle&) = default;
};

// For each character the index of the last run over it, -1 where none is:
// characters of one run need no comparing of their styles.
QVector<int> runOwners(qsizetype length, const QList<MacroColourRun>& runs) {
  QVector<int> owners(length, -1);
  for (int r = 0; r < runs.size(); ++r) {
    const MacroColourRun& run = runs[r];
    const qsizetype begin = std::clamp<qsizetype>(run.start, 0, length);
    const qsizetype end = std::clamp<qsizetype>(qsizetype(run.start) + run.length, begin, length);
    std::fill(owners.begin() + begin, owners.begin() + end, r);
  }
  return owners;
}

CharStyle styleOf(const QList<MacroColourRun>& runs, int owner) {
  if (owner < 0)
    return {};
  const MacroColourRun& run = runs[owner];
  return {run.text, run.background, run.bold};
}

// The writer appends every piece in place: built from temporary pieces, a
// document would cost an allocation per piece.
void appendNumber(QByteArray& out, int n) {
  char digits[12];
  out.append(digits, std::to_chars(digits, digits + sizeof digits, n).ptr - digits);
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
  void appendRtf(QByteArray& out) const {
    out += "{\\colortbl ;";
    for (const MacroColour& c : colours_) {
      out += "\\red";
      appendNumber(out, c.red);
      out += "\\green";
      appendNumber(out, c.green);
      out += "\\blue";
      appendNumber(out, c.blue);
      out += ';';
    }
    out += '}';
  }

 private:
  QList<MacroColour> colours_;
};

void appendHexEscape(QByteArray& out, uint8_t byte) {
  static const char digits[] = "0123456789abcdef";
  out += "\\'";
  out += digits[byte >> 4];
  out += digits[byte & 15];
}

void appendEscaped(QByteArray& out, QChar ch) {
  const char16_t code = ch.unicode();
  switch (code) {
    case u'\\':
      out += "\\\\";
      return;
    case u'{':
      out += "\\{";
      return;
    case u'}':
      out += "\\}";
      return;
    case u'\t':
      out += "\\tab ";
      return;
    case u'\n':
      out += "\\par\r\n";
      return;
    case u'\r':
      return;
    default:
      break;
  }
  if (code < 0x20) {
    appendHexEscape(out, static_cast<uint8_t>(code));
  } else if (code < 0x7F) {
    out += static_cast<char>(code);
  } else {
    // \uN takes a signed 16-bit number; the fallback serves readers without it.
    out += "\\u";
    appendNumber(out, code > 0x7FFF ? int(code) - 0x10000 : int(code));
    const int fallback = CharToCp1251(ch);
    if (fallback >= 0) {
      appendHexEscape(out, static_cast<uint8_t>(fallback));
    } else {
      out += '?';
    }
  }
}

void appendStyleWords(QByteArray& out, const CharStyle& style, ColourTable& colours) {
  // The background first: the order of first use numbers the colours.
  const int background = colours.indexOf(style.background);
  out += "\\cf";
  appendNumber(out, colours.indexOf(style.text));
  out += "\\highlight";
  appendNumber(out, background);
  out += "\\chcbpat";
  appendNumber(out, background);
  out += style.bold ? "\\b " : "\\b0 ";
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

// What a control word does; other words are ignored.
enum class Word {
  Bin,
  FontTable,
  Skipped,  // a destination whose text is not the document's
  Unicode,
  UnicodeFallback,
  Ansi,
  AnsiCodePage,
  Font,
  FontCharset,
  Char,
};

struct WordMeaning {
  Word word;
  char16_t ch = 0;  // of Word::Char
};

// One lookup per control word: a document has one every few bytes.
const QHash<QByteArray, WordMeaning>& wordMeanings() {
  static const QHash<QByteArray, WordMeaning> meanings = [] {
    QHash<QByteArray, WordMeaning> m = {
        {"bin", {Word::Bin}},   {"fonttbl", {Word::FontTable}},
        {"u", {Word::Unicode}}, {"uc", {Word::UnicodeFallback}},
        {"ansi", {Word::Ansi}}, {"ansicpg", {Word::AnsiCodePage}},
        {"f", {Word::Font}},    {"fcharset", {Word::FontCharset}},
    };
    const std::pair<const char*, char16_t> chars[] = {
        {"par", u'\n'},        {"line", u'\n'},       {"sect", u'\n'},    {"page", u'\n'},
        {"row", u'\n'},        {"tab", u'\t'},        {"cell", u'\t'},    {"emdash", 0x2014},
        {"endash", 0x2013},    {"bullet", 0x2022},    {"lquote", 0x2018}, {"rquote", 0x2019},
        {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"emspace", u' '},  {"enspace", u' '},
        {"qmspace", u' '},
    };
    for (const auto& [word, ch] : chars)
      m.insert(word, {Word::Char, ch});
    const char* const skipped[] = {
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
    for (const char* word : skipped)
      m.insert(word, {Word::Skipped});
    return m;
  }();
  return meanings;
}

class RtfReader {
 public:
  explicit RtfReader(const QByteArray& rtf) : in_(rtf.constData()), size_(rtf.size()) {}
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

  // In place, not copied: a document has a control word every few bytes.
  QByteArray slice(qsizetype begin, qsizetype end) const {
    return QByteArray::fromRawData(in_ + begin, end - begin);
  }

  // A plain pointer: the reader looks at every byte, mostly more than once.
  const char* const in_;
  const qsizetype size_;
  qsizetype pos_ = 0;
  QString out_;
  State state_;           // of the group the reader is in
  QVector<State> outer_;  // of the groups around it, innermost last
  int documentCodePage_ = kCp1251;
  QMap<int, int> fontCodePages_;
  int definedFont_ = -1;  // the font whose entry the font table is at
  int fallbackLeft_ = 0;  // characters still to skip after \uN
};

QString RtfReader::read() {
  // Every byte gives at most one character: one allocation for the text.
  out_.reserve(size_);
  while (pos_ < size_) {
    // One switch, not a chain of tests: most bytes are text.
    switch (const char c = in_[pos_++]) {
      case '{':
        outer_.append(state_);
        fallbackLeft_ = 0;
        break;
      case '}':
        if (!outer_.isEmpty())
          state_ = outer_.takeLast();
        fallbackLeft_ = 0;
        break;
      case '\\':
        if (pos_ < size_ && std::isalpha(static_cast<unsigned char>(in_[pos_]))) {
          controlWord();
        } else {
          controlSymbol();
        }
        break;
      case '\r':
      case '\n':
      case '\0':
        break;
      default:
        putByte(static_cast<uint8_t>(c));
        break;
    }
  }
  return out_;
}

void RtfReader::controlWord() {
  const qsizetype begin = pos_;
  while (pos_ < size_ && std::isalpha(static_cast<unsigned char>(in_[pos_])))
    ++pos_;
  const QByteArray word = slice(begin, pos_);
  const qsizetype numberBegin = pos_;
  if (pos_ < size_ && in_[pos_] == '-')
    ++pos_;
  while (pos_ < size_ && std::isdigit(static_cast<unsigned char>(in_[pos_])))
    ++pos_;
  const bool hasNumber = pos_ > numberBegin && in_[pos_ - 1] != '-';
  const int number = hasNumber ? slice(numberBegin, pos_).toInt() : 0;
  if (pos_ < size_ && in_[pos_] == ' ')
    ++pos_;

  const auto meaning = wordMeanings().constFind(word);
  if (meaning == wordMeanings().constEnd())
    return;
  State& state = state_;
  switch (meaning->word) {
    case Word::Bin:
      pos_ = std::min(size_, pos_ + std::max(0, number));
      return;
    case Word::FontTable:
      state.destination = Destination::FontTable;
      return;
    case Word::Skipped:
      state.destination = Destination::Skipped;
      return;
    case Word::Unicode:
      // A signed 16-bit number, or unsigned as some writers put it; any other
      // number names no character, and then its fallback is what stands.
      fallbackLeft_ = 0;
      if (number != 0 && number >= -0x8000 && number <= 0xFFFF) {
        put(QChar(static_cast<char16_t>(number < 0 ? number + 0x10000 : number)));
        fallbackLeft_ = state.unicodeFallback;
      }
      return;
    case Word::UnicodeFallback:
      state.unicodeFallback = std::max(0, number);
      return;
    case Word::Ansi:
      documentCodePage_ = kCp1252;
      return;
    case Word::AnsiCodePage:
      documentCodePage_ = number;
      return;
    case Word::Font:
      if (state.destination == Destination::FontTable) {
        definedFont_ = number;
      } else {
        state.font = number;
      }
      return;
    case Word::FontCharset:
      if (state.destination == Destination::FontTable && definedFont_ >= 0) {
        fontCodePages_[definedFont_] = codePageOfCharset(number);
      }
      return;
    case Word::Char:
      put(QChar(meaning->ch));
      return;
  }
}

void RtfReader::controlSymbol() {
  if (pos_ >= size_)
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
      state_.destination = Destination::Skipped;
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
  if (at >= size_)
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
  // ASCII reads the same in every code page; most text is ASCII.
  if (byte < 0x80) {
    put(QChar(char16_t(byte)));
    return;
  }
  const int fontPage = fontCodePages_.value(state_.font, 0);
  const int page = fontPage != 0 ? fontPage : documentCodePage_;
  put(page == kCp1252 ? cp1252ToChar(byte) : Cp1251ToChar(byte));
}

void RtfReader::put(QChar ch) {
  if (fallbackLeft_ > 0) {
    --fallbackLeft_;
    return;
  }
  if (state_.destination == Destination::Text)
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
  const QVector<int> owners = runOwners(text.size(), runs);
  const int* const owner = owners.constData();
  const char16_t* const chars = reinterpret_cast<const char16_t*>(text.utf16());
  ColourTable colours;
  colours.indexOf(kBlack);
  colours.indexOf(kWhite);
  QByteArray body;
  // Room for most texts at once: a character takes a byte, a line break six.
  body.reserve(text.size() * 2);
  CharStyle style;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (i == 0 || owner[i] != owner[i - 1]) {
      const CharStyle next = styleOf(runs, owner[i]);
      if (i == 0 || !(next == style))
        appendStyleWords(body, next, colours);
      style = next;
    }
    appendEscaped(body, QChar(chars[i]));
  }
  QByteArray rtf;
  // The header and the colour table take a few hundred bytes.
  rtf.reserve(body.size() + 512);
  rtf +=
      "{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1049"
      "{\\fonttbl{\\f0\\fmodern\\fcharset204 Courier New;}}\r\n";
  colours.appendRtf(rtf);
  rtf += "\r\n\\viewkind4\\uc1\\pard\\f0\\fs20 ";
  rtf += body;
  rtf += "}\r\n";
  return rtf;
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

}  // namespace qv
