#pragma once

#include <QMap>
#include <QString>
#include <cstdint>

namespace qv {

// The values of the settings file while the program runs. The file itself is
// read and written by the settings library; the default member values are the
// defaults of a missing key.
inline const QString kDefaultPosition = QStringLiteral("100, 100, 100, 100");
inline const QString kDefaultMacro = QStringLiteral("macro.qvml");

// The Timer setting: seconds between two polls of the charger, 0 for none.
inline constexpr int kDefaultPollingSeconds = 3;
inline constexpr int kLongestPollingSeconds = 3600;

struct SettingsRecord {
  int COM = 1;
  int COMSpeed = 38400;
  int Timer = kDefaultPollingSeconds;
  bool AutoComStart = false;
  bool SaveComLog = false;
  uint8_t OpenWindowsMask = 0;  // key Wnds
  QString MainPos = kDefaultPosition;
  QString DevPos = kDefaultPosition;
  QString Dev2Pos = kDefaultPosition;
  QString GraPos = kDefaultPosition;
  QString Gra2Pos = kDefaultPosition;
  QString MemPos = kDefaultPosition;
  QString QvmlPos = kDefaultPosition;
  // The macro file kept for each channel; the program hands it to the
  // channels after loading and takes it back before saving.
  QString LastMacro[2] = {kDefaultMacro, kDefaultMacro};
  // Started detached with the channel number and the run's file when a run
  // ends; empty for none.
  QString OnRunEnd;
  // Section PORTS: COM number -> device path, ahead of the fixed mapping.
  QMap<int, QString> PortPaths;
};

inline constexpr int kMacroListCapacity = 100;
inline constexpr int kMaxComNumber = 99;

struct MacroNameListRecord {
  QString Names[kMacroListCapacity];
  int Count = 0;
};

extern SettingsRecord Settings;
extern MacroNameListRecord MacroNameList;
extern QString CurrentMacroName;  // key LastQvmlName

}  // namespace qv
