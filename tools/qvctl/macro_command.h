#pragma once

#include <QStringList>

// qvctl macro compile|listing|format FILE: the text (plain or RTF) is
// formatted and compiled as the editor does. Compiler messages go to stderr;
// the exit code is 1 when there are any, or for a wrong command line, and
// kExitFile when the file cannot be read.
int RunMacroCommand(const QStringList& args);
