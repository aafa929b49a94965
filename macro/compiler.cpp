#include "macro/compiler.h"

#include <QVector>

#include "common/settings_record.h"
#include "common/text.h"
#include "macro/byte_code.h"
#include "macro/command_table.h"
#include "macro/file_name.h"

namespace qv {

const KeywordSubstitution KeywordSubstitutions[kKeywordSubstitutionCount] = {
    {"INPUT", "65535"}, {"PB", "1"},       {"NICD", "2"},      {"NIMH", "3"},
    {"LIPO", "4"},      {"LIION", "5"},    {"LIS", "6"},       {"LIFE", "7"},
    {"(START)", "(0)"}, {"(STOP)", "(1)"}, {"(CLICK)", "(2)"}, {"(FLAME)", "(3)"},
    {"(ERROR)", "(4)"},
};

const QString MacroErrorEndings[kMacroErrorCount] = {
    QStringLiteral(". Неверный синтаксис."),
    QStringLiteral(". Название команды не определено."),
    QStringLiteral(". Неверное количество операндов."),
    QStringLiteral(". Макрос длиннее 255 байт."),
    QStringLiteral(". Текст длиннее 256 строк."),
};

QStringList MacroErrorList;

namespace {

void reportLineError(int line, MacroError error) {
  if (CompiledMacro.errorCount < 255)
    ++CompiledMacro.errorCount;  // never wraps back to 0
  ReportMacroError(kMacroErrorStart + QString::number(line) +
                   MacroErrorEndings[static_cast<int>(error)]);
}

QString textBefore(const QString& text, QChar ch) {
  return TrimmedText(text.section(ch, 0, 0));
}

QString commandKey(const QString& statement) {
  if (statement.contains(u'='))
    return textBefore(statement, u'=');
  if (statement.contains(u'>'))
    return textBefore(statement, u'>') + u'>';
  if (statement.contains(u'<'))
    return textBefore(statement, u'<') + u'<';
  if (statement.contains(u'('))
    return textBefore(statement, u'(');
  return statement;
}

int givenOperandCount(const QString& statement, int expected) {
  const int commas = CountChar(statement, u',');
  return expected == 0 ? commas : commas + 1;
}

// The text of operand j, or false when the statement holds none.
bool operandText(const QString& statement, int j, QString& text) {
  if (j == 0 && statement.contains(u'=')) {
    text = TextField(statement, 1, u'=');
  } else if (j == 0 && statement.contains(u'>')) {
    text = TextField(TextField(statement, 1, u'>'), 0, u')');
  } else if (j == 0 && statement.contains(u'<')) {
    text = TextField(TextField(statement, 1, u'<'), 0, u')');
  } else if (statement.contains(u'(')) {
    text = TextField(TextField(TextField(statement, 1, u'('), 0, u')'), j, u',');
  } else {
    return false;
  }
  text = TrimmedText(text);
  return true;
}

QString substituteKeywords(QString line) {
  if (line.isEmpty() || line.contains(QStringLiteral("MACRO")))
    return line;
  for (const KeywordSubstitution& s : KeywordSubstitutions) {
    line = ReplaceFirst(line, QString::fromLatin1(s.word), QString::fromLatin1(s.replacement));
  }
  return line;
}

// Compiles the statements of one line (already upper-cased and substituted).
bool compileLine(int k, const QString& line) {
  const QString s = TextField(line, 0, u';');
  const QString a = TextField(s, 0, u')');
  const QString b = TextField(s, 1, u')');
  if (!b.isEmpty() && !a.contains(QStringLiteral("IF(")))
    reportLineError(k, MacroError::Syntax);
  if (!a.isEmpty() && !CompileStatement(k, a))
    return false;
  if (!b.isEmpty() && !CompileStatement(k, b))
    return false;
  return true;
}

}  // namespace

void ReportMacroError(const QString& message) {
  MacroErrorList.append(message);
}

QString StripComments(const QString& text) {
  const qsizetype n = text.size();
  QString result;
  result.reserve(n);
  int depth = 0;
  bool lineComment = false;
  // i is 0-based here; the pairs are the character and the next one, and the
  // two before it for the closing pair, so "*/" itself is still dropped.
  for (qsizetype i = 0; i < n; ++i) {
    const QChar ch = text[i];
    const QChar next = i + 1 < n ? text[i + 1] : QChar();
    if (ch == u'/' && next == u'*')
      ++depth;
    if (i >= 2 && text[i - 2] == u'*' && text[i - 1] == u'/')
      --depth;
    if (ch == u'/' && next == u'/')
      lineComment = true;
    if (ch == u'\r' || ch == u'\n') {
      lineComment = false;
      result += ch;
    } else if (!lineComment && depth == 0) {
      result += ch;
    }
  }
  return result;
}

QString UpperCaseMacroLine(const QString& line) {
  QString upper = line;
  for (QChar& ch : upper)
    ch = ch.toUpper();
  const QString conditionStart = QStringLiteral("IF(");
  for (qsizetype at = upper.indexOf(conditionStart); at >= 0;
       at = upper.indexOf(conditionStart, at + 1)) {
    const qsizetype begin = at + conditionStart.size();
    qsizetype end = begin;
    while (end < line.size() && line[end].isLetter())
      ++end;
    const QString subject = line.mid(begin, end - begin);
    if (subject.compare(QStringLiteral("Tc"), Qt::CaseInsensitive) == 0) {
      upper.replace(begin, 2, QStringLiteral("Tc"));
    } else if (subject == QStringLiteral("t")) {
      upper[begin] = u't';
    }
  }
  return upper;
}

int FindMacroCommand(const QString& statement) {
  const QString key = commandKey(statement);
  if (key.isEmpty())
    return -1;
  for (int entry = 0; entry < kMacroCommandCount; ++entry) {
    if (MacroCommandTable[entry].pattern.startsWith(key))
      return entry;
  }
  return -1;
}

bool CompileStatement(int line, const QString& statement) {
  const int entry = FindMacroCommand(statement);
  if (entry < 0) {
    reportLineError(line, MacroError::UnknownCommand);
    return true;
  }
  const int expected = MacroOperandCount(entry);
  if (givenOperandCount(statement, expected) != expected) {
    reportLineError(line, MacroError::OperandCount);
    return true;
  }
  QByteArray operands;
  QString macroName;
  for (int j = 0; j < expected; ++j) {
    QString text;
    if (!operandText(statement, j, text))
      continue;
    const OperandKind kind = MacroOperandKind(entry, j);
    if (kind == OperandKind::S)
      macroName = MacroFileBaseName(text) + QStringLiteral(".QVML");
    operands += EncodeOperand(text, kind);
  }
  if (CompiledMacro.length + 1 + operands.size() > kMacroImageLimit) {
    reportLineError(line, MacroError::ImageTooLong);
    return false;
  }
  EmitCommandCode(line, entry);
  for (const char byte : operands)
    EmitByte(line, static_cast<uint8_t>(byte));
  if (!macroName.isEmpty())
    CurrentMacroName = macroName;
  return true;
}

void CompileMacro(const QString& text) {
  QStringList lines = StripComments(text).split(u'\n');
  ResetCompiledMacro();
  MacroErrorList.clear();
  for (QString& line : lines)
    line = substituteKeywords(UpperCaseMacroLine(line));
  for (int i = 0; i < 3; ++i)
    EmitByte(0, 0);
  for (int k = 0; k < lines.size(); ++k) {
    if (k >= kMacroLineLimit) {
      // Only a line that holds a statement makes the text too long.
      if (TextField(lines[k], 0, u';').isEmpty())
        continue;
      reportLineError(k, MacroError::TextTooLong);
      break;
    }
    if (!compileLine(k, lines[k]))
      break;
  }
  SealMacroImage();
}

}  // namespace qv
