#include "macro/formatter.h"

#include <algorithm>

#include "common/text.h"

namespace qv {

namespace {

constexpr int kIndentStep = 3;
constexpr int kCommentColumn = 30;  // 0-based start of an aligned "//"
constexpr int kLineWidth = 50;

bool isBlank(QChar ch) {
  return ch == u' ';
}

bool isOperator(QChar ch) {
  return ch == u'=' || ch == u'<' || ch == u'>';
}

// The scans below read every character several times: plain pointers, not
// QString's checked [], the loops keep inside the text themselves.
struct Chars {
  explicit Chars(const QString& text)
      : at(reinterpret_cast<const char16_t*>(text.utf16())), size(text.size()) {}
  const char16_t* at;
  qsizetype size;
};

// One past the run of blanks that starts at at.
qsizetype endOfBlanks(Chars text, qsizetype at) {
  while (at < text.size && isBlank(text.at[at]))
    ++at;
  return at;
}

// Where ch comes next from from on; the text's size when nowhere.
qsizetype nextOf(QStringView text, char16_t ch, qsizetype from) {
  const qsizetype at = text.indexOf(QChar(ch), from);
  return at < 0 ? text.size() : at;
}

// p and q are the characters before and after the blank in the source text.
bool blankIsDropped(QChar p, QChar q) {
  if (isBlank(p) || p == u'.' || p == u'(' || p == u')')
    return true;
  if (q == u'.' || q == u',' || q == u')')
    return true;
  return q == u'(' && p != u'=';
}

// The spacing rules look at what has been written, not at the source, so that
// a blank dropped above is put back where an operator wants it; this keeps
// the layout stable when formatted again. At most one blank is added.
void addBlankBefore(QString& buffer, QChar ch) {
  if (buffer.isEmpty())
    return;
  const QChar last = buffer.at(buffer.size() - 1);
  if ((isOperator(ch) && !isBlank(last)) || ((isOperator(last) || last == u',') && !isBlank(ch))) {
    buffer += u' ';
  }
}

// A ";" keeps its statement open when a "//" comment follows on its line.
bool commentFollows(Chars text, qsizetype at) {
  const char16_t* c = text.at;
  qsizetype j = at + 1;
  while (j < text.size && (c[j] == u' ' || c[j] == u'\b'))
    ++j;
  return j + 1 < text.size && c[j] == u'/' && c[j + 1] == u'/';
}

bool holds(const QString& upper, const char* word) {
  return upper.contains(QLatin1String(word));
}

QString rightTrimmed(const QString& text) {
  qsizetype end = text.size();
  while (end > 0 && isBlank(text[end - 1]))
    --end;
  return text.left(end);
}

class Formatter {
 public:
  // A statement without blanks at either end.
  void place(const QString& statement);
  void colourComments(const QString& text);
  QString text() const { return text_; }
  QList<MacroColourRun> runs() const { return runs_; }

 private:
  void updateLevel(const QString& upper);
  static QString alignComment(const QString& line);
  void colourLine(const QString& line);
  void addRun(qsizetype start, qsizetype length, MacroColour text, MacroColour background,
              bool bold = true);

  int level_ = 0;
  int next_ = 0;
  MacroColour background_ = kWhite;
  QString text_;
  QList<MacroColourRun> runs_;
};

void Formatter::addRun(qsizetype start, qsizetype length, MacroColour text, MacroColour background,
                       bool bold) {
  if (length <= 0)
    return;
  runs_.append({static_cast<int>(start), static_cast<int>(length), text, background, bold});
}

// The words are looked for anywhere in the statement, comments included.
void Formatter::updateLevel(const QString& upper) {
  level_ = next_;
  if (level_ == 1)
    background_ = kLightGreen;
  if (holds(upper, "MACRO") && !holds(upper, "_MACRO")) {
    level_ = 0, next_ = 1, background_ = kLightRed;
  }
  if (holds(upper, "DISCHARGE_SECTION") || holds(upper, "CHARGE_SECTION")) {
    level_ = 1, next_ = 2, background_ = kLightGreen;
  }
  if (holds(upper, "END_SECTION"))
    level_ = 1, next_ = 1, background_ = kLightGreen;
  if (holds(upper, "END_MACRO"))
    level_ = 0, next_ = 1, background_ = kLightRed;
  if (holds(upper, "FAZE") && !holds(upper, "_FAZE")) {
    background_ = background_ == kSkyBlue ? kLavender : kSkyBlue;
  }
  if (holds(upper, "CYCLE") && !holds(upper, "_CYCLE"))
    next_ = level_ + 1;
  if (holds(upper, "END_CYCLE")) {
    level_ = level_ - 1;
    next_ = level_;
  }
}

// A trailing comment starts in column 31, or one blank after a longer text.
QString Formatter::alignComment(const QString& line) {
  const qsizetype at = line.indexOf(QLatin1String("//"));
  if (at < 0 || TrimmedText(line.left(at)).isEmpty())
    return line;
  if (at < kCommentColumn)
    return line.left(at).leftJustified(kCommentColumn) + line.mid(at);
  return rightTrimmed(line.left(at)) + u' ' + line.mid(at);
}

void Formatter::colourLine(const QString& line) {
  const qsizetype o = text_.size();
  addRun(o, line.size() + 1, kBlack, background_);
  const qsizetype equals = line.indexOf(u'=');
  const qsizetype open = line.indexOf(u'(');
  const qsizetype close = line.indexOf(u')');
  if (equals >= 0) {
    addRun(o, equals, kPurple, background_);
    if (open < 0 || close < 0)
      addRun(o + equals + 1, line.size() - equals - 1, kBlue, background_);
  }
  if (open >= 0 && close > open)
    addRun(o + open + 1, close - open - 1, kBlue, background_);
}

void Formatter::place(const QString& statement) {
  updateLevel(statement.toUpper());
  const int indent = std::max(0, kIndentStep * level_);
  QString line;
  // Room for the padding too: the line is made in one allocation.
  line.reserve(std::max<qsizetype>(indent + statement.size(), kLineWidth));
  line.fill(u' ', indent);
  line += statement;
  line = alignComment(line);
  if (line.size() < kLineWidth)
    line.resize(kLineWidth, u' ');
  colourLine(line);
  text_ += line;
  text_ += u'\n';
}

void Formatter::colourComments(const QString& text) {
  const QStringView view(text);
  const qsizetype n = view.size();
  int depth = 0;
  qsizetype blockStart = -1;
  qsizetype lineStart = -1;
  // Only '/', '*' and line breaks count: Qt's search passes over the rest,
  // mostly the blanks that pad every line, faster than a look at each one.
  qsizetype slash = nextOf(view, u'/', 0);
  qsizetype star = nextOf(view, u'*', 0);
  qsizetype lineEnd = nextOf(view, u'\n', 0);
  for (qsizetype j = std::min({slash, star, lineEnd}); j + 1 < n;
       j = std::min({slash, star, lineEnd})) {
    const QChar ch = view[j];
    const QChar next = view[j + 1];
    if (ch == u'/' && next == u'*' && ++depth == 1)
      blockStart = j;
    if (ch == u'*' && next == u'/' && --depth == 0 && blockStart >= 0) {
      addRun(blockStart, j + 2 - blockStart, kGreen, kYellow);
      blockStart = -1;
    }
    if (ch == u'/' && next == u'/' && lineStart < 0)
      lineStart = j;
    if (ch == u'\n' && lineStart >= 0) {
      addRun(lineStart, j - lineStart, kGreen, kYellow);
      lineStart = -1;
    }
    if (j == slash)
      slash = nextOf(view, u'/', j + 1);
    if (j == star)
      star = nextOf(view, u'*', j + 1);
    if (j == lineEnd)
      lineEnd = nextOf(view, u'\n', j + 1);
  }
  if (depth > 0 && blockStart >= 0)
    addRun(blockStart, n - blockStart, kGreen, kYellow);
  if (lineStart >= 0)
    addRun(lineStart, n - lineStart, kGreen, kYellow);
}

}  // namespace

FormattedMacroText FormatMacroText(const QString& text, int selectionStart, int selectionLength) {
  Formatter formatter;
  QString buffer;
  bool inLineComment = false;
  const auto endStatement = [&] {
    const QString statement = TrimmedText(buffer);
    if (statement.isEmpty())
      return;  // empty lines vanish
    formatter.place(statement);
    buffer.resize(0);  // keeps its room for the next statement
  };
  const Chars chars(text);
  const char16_t* const c = chars.at;
  const qsizetype n = chars.size;
  for (qsizetype i = 0; i < n; ++i) {
    const QChar ch = c[i];
    if (ch == u'\n') {
      inLineComment = false;
      endStatement();
      continue;
    }
    if (isBlank(ch)) {
      // Of several blanks before a ")" all go, not only the last; the blanks
      // after the first follow a blank and go anyway. Formatted text pads
      // every line with blanks: a run is passed over at once.
      const qsizetype end = endOfBlanks(chars, i);
      const QChar before = i > 0 ? QChar(c[i - 1]) : QChar();
      const QChar after = end < n ? QChar(c[end]) : QChar();
      if (!blankIsDropped(before, after))
        buffer += ch;
      i = end - 1;
      continue;
    }
    if (ch == u'/' && i + 1 < n && c[i + 1] == u'/')
      inLineComment = true;
    addBlankBefore(buffer, ch);
    buffer += ch;
    // A ";" inside a line comment is comment text: splitting there would turn
    // the rest of the comment into statements.
    if (ch == u';' && !inLineComment && !commentFollows(chars, i))
      endStatement();
  }
  endStatement();

  FormattedMacroText result;
  result.text = formatter.text();
  formatter.colourComments(result.text);
  const int length = static_cast<int>(result.text.size());
  result.runs.append({0, length, kBlack, kWhite, false});
  result.runs.append(formatter.runs());
  if (length == 0)
    result.runs.clear();
  result.selectionStart = std::clamp(selectionStart, 0, length);
  result.selectionLength = std::clamp(selectionLength, 0, length - result.selectionStart);
  return result;
}

}  // namespace qv
