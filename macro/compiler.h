#pragma once

#include <QString>
#include <QStringList>

namespace qv {

// The compiler turns editor text (lines separated by '\n'; a CR before it is
// ignored) into CompiledMacro. Faulty statements are reported in
// MacroErrorList and produce no bytes; the rest still compiles and the image
// is always sealed. Compiling MACRO(name) sets CurrentMacroName to the
// upper-cased name of the file that saving the text would write.

struct KeywordSubstitution {
  const char* word;
  const char* replacement;
};

inline constexpr int kKeywordSubstitutionCount = 13;
// Applied in this order, each to its first occurrence in a line.
extern const KeywordSubstitution KeywordSubstitutions[kKeywordSubstitutionCount];

// Every message is kMacroErrorStart, the line number (from 0) and the ending
// of its error.
enum class MacroError { Syntax, UnknownCommand, OperandCount, ImageTooLong, TextTooLong };
inline constexpr int kMacroErrorCount = 5;
inline const QString kMacroErrorStart = QStringLiteral("Ошибка в строке: ");
extern const QString MacroErrorEndings[kMacroErrorCount];

// The messages of the latest compilation, in order: the editor's error list.
extern QStringList MacroErrorList;

void ReportMacroError(const QString& message);

// The text without /* */ and // comments; every line break is kept.
QString StripComments(const QString& text);
// Upper-cases a line character by character, except that a condition subject
// keeps the form that tells the entries apart: "t" written in lower case
// stays "t" (time), "Tc" in any case becomes "Tc"; "T" is the temperature.
QString UpperCaseMacroLine(const QString& line);
// Order index of the table entry for a statement, or -1.
int FindMacroCommand(const QString& statement);
// Compiles one statement of a line. False only when its bytes no longer fit
// the image; it is then reported and the compilation goes no further.
bool CompileStatement(int line, const QString& statement);
void CompileMacro(const QString& text);

}  // namespace qv
