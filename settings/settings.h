#pragma once

#include <QString>

#include "common/folders.h"

namespace qv {

class IniFile;

// Creates the working folders, then reads every value; a missing file or key
// gives the default. Fills Settings, MacroNameList and CurrentMacroName.
void LoadSettings();
// What LoadSettings() does with the file's contents.
void ReadSettings(const IniFile& ini);

// Writes every value back into the file, keeping whatever else it holds.
// False when the file cannot be written.
[[nodiscard]] bool SaveSettings();
// What SaveSettings() puts into the file's contents.
void WriteSettings(IniFile& ini);

}  // namespace qv
