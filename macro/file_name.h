#pragma once

#include <QString>

namespace qv {

// The part of a macro file name before its extension, from the name in a
// MACRO( ) statement: at most 16 characters, trimmed, with control characters
// and the characters that no file system takes in a name (path separators
// among them) replaced by "_", and "UNDEF" for an empty name. Saving and
// compiling both use it, so the current macro name always names the file the
// text is saved to.
inline constexpr int kMacroFileNameLength = 16;

QString MacroFileBaseName(const QString& macroName);

}  // namespace qv
