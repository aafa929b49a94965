#pragma once

#include <QString>

// The folder of the executable, ending in '/'. Tests point it elsewhere.
QString ProgramFolder();
void SetProgramFolder(const QString& folder);

// "qv20.ini" in the program folder.
QString SettingsFilePath();

// The working folders under the program folder, each ending in '/'.
QString LogFolder();
QString GraFolder();
QString MacroFolder();
QString MemFolder();

// Creates the four working folders where missing (one level; failures ignored).
void CreateWorkingFolders();
