#pragma once

#include <QString>

#include "common/folders.h"

// Creates the working folders, then reads every value; a missing file or key
// gives the default. Fills Settings, MacroNameList and CurrentMacroName.
void LoadSettings();

// Writes every value back into the file, keeping whatever else it holds.
// False when the file cannot be written.
[[nodiscard]] bool SaveSettings();
