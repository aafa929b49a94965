#include "macro/formatter.h"

#include <algorithm>

#include "common/text.h"

namespace {

constexpr int kIndentStep = 3;
constexpr int kCommentColumn = 30;  // 0-based start of an aligned "//"
constexpr int kLineWidth = 50;

bool isBlank(QChar ch) {
  return ch == u' ';
}

// The character after a run of blanks: of several blanks before a ")" all go,
// not only the last.
QChar nextNonBlank(const QString& text, qsizetype at) {
  qsizetype j = at + 1;
  while (j < text.size() && isBlank(text[j]))
    ++j;
  return j < text.size() ? text[j] : QChar();
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
  const auto add = [&buffer] { buffer += u' '; };
  for (const QChar op : {u'=', u'<', u'>'}) {
    if (ch == op && !isBlank(buffer.back()))
      add();
    if (buffer.back() == op && !isBlank(ch))
      add();
  }
  if (buffer.back() == u',' && !isBlank(ch))
    add();
}

// A ";" keeps its statement open when a "//" comment follows on its line.
bool commentFollows(const QString& text, qsizetype at) {
  qsizetype j = at + 1;
  while (j < text.size() && (text[j] == u' ' || text[j] == QChar(8)))
    ++j;
  return j + 1 < text.size() && text[j] == u'/' && text[j + 1] == u'/';
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
  QString line = QString(std::max(0, kIndentStep * level_), u' ') + TrimmedText(statement);
  line = alignComment(line).leftJustified(kLineWidth);
  colourLine(line);
  text_ += line + u'\n';
}

void Formatter::colourComments(const QString& text) {
  const qsizetype n = text.size();
  int depth = 0;
  qsizetype blockStart = -1;
  qsizetype lineStart = -1;
  for (qsizetype j = 0; j + 1 < n; ++j) {
    const QChar ch = text[j];
    const QChar next = text[j + 1];
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
    if (TrimmedText(buffer).isEmpty())
      return;  // empty lines vanish
    formatter.place(buffer);
    buffer.clear();
  };
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar ch = text[i];
    const QChar p = i > 0 ? text[i - 1] : QChar();
    const QChar q = i + 1 < text.size() ? text[i + 1] : QChar();
    if (ch == u'\n') {
      inLineComment = false;
      endStatement();
      continue;
    }
    if (isBlank(ch) && blankIsDropped(p, nextNonBlank(text, i)))
      continue;
    if (ch == u'/' && q == u'/')
      inLineComment = true;
    addBlankBefore(buffer, ch);
    buffer += ch;
    // A ";" inside a line comment is comment text: splitting there would turn
    // the rest of the comment into statements.
    if (ch == u';' && !inLineComment && !commentFollows(text, i))
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
