// The settings reader on an arbitrary qv20.ini: the macro list fits its
// capacity and names only files inside the macro folder, the window positions
// parse, and saving what was read and reading it again gives the same values.
// The contents are read from memory; on a sample of the inputs they also go
// through the file, which must read as the bytes do, and its save and reload.
#include "common/folders.h"
#include "common/ini_file.h"
#include "common/settings_record.h"
#include "settings/settings.h"
#include "settings/window_position.h"
#include "tests/fuzz/fuzz_support.h"

using namespace qv;

namespace {

// Macro files the list in a starting input can name.
const char* const kMacroFiles[] = {"A.QVML", "b.qvml", "Pb0.QVML"};

struct ReadValues {
  SettingsRecord settings;
  QStringList macroNames;
  QString currentMacro;
  QString lastMacro[2];

  bool operator==(const ReadValues& o) const {
    const SettingsRecord& a = settings;
    const SettingsRecord& b = o.settings;
    return a.COM == b.COM && a.COMSpeed == b.COMSpeed && a.Timer == b.Timer &&
           a.AutoComStart == b.AutoComStart && a.SaveComLog == b.SaveComLog &&
           a.OpenWindowsMask == b.OpenWindowsMask && a.MainPos == b.MainPos &&
           a.DevPos == b.DevPos && a.Dev2Pos == b.Dev2Pos && a.GraPos == b.GraPos &&
           a.Gra2Pos == b.Gra2Pos && a.MemPos == b.MemPos && a.QvmlPos == b.QvmlPos &&
           a.OnRunEnd == b.OnRunEnd && a.PortPaths == b.PortPaths && macroNames == o.macroNames &&
           currentMacro == o.currentMacro && lastMacro[0] == o.lastMacro[0] &&
           lastMacro[1] == o.lastMacro[1];
  }
};

ReadValues readValues() {
  ReadValues v{Settings, {}, CurrentMacroName, {Settings.LastMacro[0], Settings.LastMacro[1]}};
  for (int i = 0; i < MacroNameList.Count; ++i)
    v.macroNames << MacroNameList.Names[i];
  return v;
}

void checkRead() {
  fuzzCheck(MacroNameList.Count >= 0 && MacroNameList.Count <= kMacroListCapacity,
            "the macro list fits its capacity");
  for (int i = 0; i < MacroNameList.Count; ++i) {
    const QString& name = MacroNameList.Names[i];
    fuzzCheck(!name.contains(u'/') && !name.contains(u'\\'), "a listed macro is a plain name");
  }
  for (const QString* position :
       {&Settings.MainPos, &Settings.DevPos, &Settings.Dev2Pos, &Settings.GraPos, &Settings.Gra2Pos,
        &Settings.MemPos, &Settings.QvmlPos}) {
    ParseWindowPosition(*position);
  }
}

void checkFileRoundTrip(const QByteArray& bytes, const ReadValues& read) {
  writeFuzzFile(SettingsFilePath(), bytes);
  LoadSettings();
  fuzzCheck(readValues() == read, "the settings file reads as its bytes do");
  fuzzCheck(SaveSettings(), "the settings file can be saved");
  LoadSettings();
  fuzzCheck(readValues() == read, "settings saved to the file read back the same");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setUpFuzzProgramFolder();
  for (const char* name : kMacroFiles)
    writeFuzzFile(MacroFolder() + QLatin1String(name), QByteArray());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  IniFile ini;
  ini.parse(bytes);
  ReadSettings(ini);
  checkRead();
  const ReadValues first = readValues();
  WriteSettings(ini);
  IniFile saved;
  saved.parse(ini.bytes());
  ReadSettings(saved);
  fuzzCheck(readValues() == first, "saved settings read back the same");
  if (isSampled(data, size))
    checkFileRoundTrip(bytes, first);
  return 0;
}
