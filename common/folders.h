#pragma once

#include <QString>

namespace qv {

// The folder of the executable, ending in '/', unless the host names another.
QString ExecutableFolder();

// The installed program's data (the panel picture), found from the
// executable's folder so that any install prefix works; ending in '/'.
QString InstalledDataFolder();

// Whether a file can be created in the folder. Tried rather than read from
// the permission bits, which say yes to root on a read-only mount.
bool IsWritableFolder(const QString& folder);

// The per-user data folder of the program ("qv20" under the user's data
// location), ending in '/'; qvctl shares it.
QString UserDataFolder();

// Where the program keeps its files, ending in '/': the host's folder (--home,
// tests) when it names one, else the executable's folder when it can be
// written, else the per-user data folder, created on first use.
QString ProgramFolder();

// "qv20.ini" in the program folder.
QString SettingsFilePath();

// The working folders under the program folder, each ending in '/'.
QString LogFolder();
QString GraFolder();
QString MacroFolder();
QString MemFolder();

// Creates the four working folders where missing (one level; failures ignored).
void CreateWorkingFolders();

}  // namespace qv
