#include "settings/settings.h"

#include <QFileInfo>

#include "common/folders.h"
#include "common/ini_file.h"
#include "common/settings_record.h"

namespace qv {

namespace {

const QString kCommon = QStringLiteral("COMMON");
const QString kQvml = QStringLiteral("QVML");
const QString kPorts = QStringLiteral("PORTS");

struct PositionKey {
  const char* key;
  QString SettingsRecord::*field;
};

const PositionKey kPositionKeys[] = {
    {"MainPos", &SettingsRecord::MainPos}, {"DevPos", &SettingsRecord::DevPos},
    {"Dev2Pos", &SettingsRecord::Dev2Pos}, {"GraPos", &SettingsRecord::GraPos},
    {"Gra2Pos", &SettingsRecord::Gra2Pos}, {"MemPos", &SettingsRecord::MemPos},
    {"QvmlPos", &SettingsRecord::QvmlPos},
};

QString macroKey(int i) {
  return QStringLiteral("n") + QString::number(i);
}

// A list entry must name a file inside the macro folder, never a path.
bool isPlainFileName(const QString& name) {
  return !name.contains(u'/') && !name.contains(u'\\') && name != QLatin1String("..") &&
         name != QLatin1String(".");
}

void loadMacroNameList(const IniFile& ini) {
  MacroNameList.Count = 0;
  for (int i = 0; i < kMacroListCapacity; ++i) {
    const QString name = ini.readString(kQvml, macroKey(i), QString());
    if (name.isEmpty())
      break;
    if (isPlainFileName(name) && QFileInfo::exists(MacroFolder() + name)) {
      MacroNameList.Names[MacroNameList.Count++] = name;
    }
  }
}

void saveMacroNameList(IniFile& ini) {
  // The list is closed by one empty entry unless it is full.
  int last = MacroNameList.Count;
  if (MacroNameList.Count < kMacroListCapacity) {
    MacroNameList.Names[MacroNameList.Count].clear();
  } else {
    last = kMacroListCapacity - 1;
  }
  for (int i = 0; i <= last; ++i)
    ini.writeString(kQvml, macroKey(i), MacroNameList.Names[i]);
}

// The number n of a "COMn" key, 1 to kMaxComNumber, or 0.
int comNumberOf(const QString& key) {
  const QLatin1String prefix("COM");
  if (!key.startsWith(prefix, Qt::CaseInsensitive))
    return 0;
  const QString digits = key.mid(prefix.size());
  bool ok = false;
  const int n = digits.toInt(&ok);
  return ok && n >= 1 && n <= kMaxComNumber && QString::number(n) == digits ? n : 0;
}

// Only the keys there are: asking for every number would read the section
// kMaxComNumber times.
void loadPortPaths(const IniFile& ini) {
  Settings.PortPaths.clear();
  for (const QString& key : ini.keys(kPorts)) {
    const int n = comNumberOf(key);
    if (n == 0 || Settings.PortPaths.contains(n))
      continue;
    // The first of repeated keys counts, as for every other key.
    const QString path = ini.readString(kPorts, key, QString());
    if (!path.isEmpty())
      Settings.PortPaths.insert(n, path);
  }
}

// "LastMacro1" and "LastMacro2".
QString lastMacroKey(int channel) {
  return QStringLiteral("LastMacro%1").arg(channel + 1);
}

}  // namespace

void LoadSettings() {
  CreateWorkingFolders();
  IniFile ini;
  ini.load(SettingsFilePath());
  ReadSettings(ini);
}

void ReadSettings(const IniFile& ini) {
  const SettingsRecord defaults;
  SettingsRecord& s = Settings;
  s.COM = ini.readInteger(kCommon, QStringLiteral("COM"), defaults.COM);
  s.COMSpeed = ini.readInteger(kCommon, QStringLiteral("COMSpeed"), defaults.COMSpeed);
  s.Timer = ini.readInteger(kCommon, QStringLiteral("Timer"), defaults.Timer);
  s.AutoComStart = ini.readBool(kCommon, QStringLiteral("AutoComStart"), defaults.AutoComStart);
  s.SaveComLog = ini.readBool(kCommon, QStringLiteral("SaveComLog"), defaults.SaveComLog);
  for (int i = 0; i < 2; ++i)
    s.LastMacro[i] = ini.readString(kCommon, lastMacroKey(i), defaults.LastMacro[i]);
  s.OpenWindowsMask =
      static_cast<uint8_t>(ini.readInteger(kCommon, QStringLiteral("Wnds"), 0) & 0xFF);
  for (const PositionKey& p : kPositionKeys) {
    s.*p.field = ini.readString(kCommon, QLatin1String(p.key), kDefaultPosition);
  }
  s.OnRunEnd = ini.readString(kCommon, QStringLiteral("OnRunEnd"), defaults.OnRunEnd);
  CurrentMacroName = ini.readString(kQvml, QStringLiteral("LastQvmlName"), QString());
  loadMacroNameList(ini);
  loadPortPaths(ini);
}

bool SaveSettings() {
  IniFile ini;
  ini.load(SettingsFilePath());
  WriteSettings(ini);
  return ini.save(SettingsFilePath());
}

void WriteSettings(IniFile& ini) {
  const SettingsRecord& s = Settings;
  ini.writeInteger(kCommon, QStringLiteral("COM"), s.COM);
  ini.writeInteger(kCommon, QStringLiteral("COMSpeed"), s.COMSpeed);
  ini.writeInteger(kCommon, QStringLiteral("Timer"), s.Timer);
  ini.writeBool(kCommon, QStringLiteral("AutoComStart"), s.AutoComStart);
  ini.writeBool(kCommon, QStringLiteral("SaveComLog"), s.SaveComLog);
  for (int i = 0; i < 2; ++i)
    ini.writeString(kCommon, lastMacroKey(i), s.LastMacro[i]);
  ini.writeInteger(kCommon, QStringLiteral("Wnds"), s.OpenWindowsMask);
  for (const PositionKey& p : kPositionKeys)
    ini.writeString(kCommon, QLatin1String(p.key), s.*p.field);
  ini.writeString(kCommon, QStringLiteral("OnRunEnd"), s.OnRunEnd);
  ini.writeString(kQvml, QStringLiteral("LastQvmlName"), CurrentMacroName);
  saveMacroNameList(ini);
}

}  // namespace qv
