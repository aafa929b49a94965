#pragma once

#include <QString>

// "qv20.ini" in the program folder.
QString SettingsFilePath();

// Creates the working folders, then reads every value; a missing file or key
// gives the default. Fills Settings, MacroNameList, CurrentMacroName and the
// channels' LastMacro.
void LoadSettings();

// Writes every value back into the file, keeping whatever else it holds.
// False when the file cannot be written.
bool SaveSettings();
