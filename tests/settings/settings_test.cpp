#include <gtest/gtest.h>
#include <QDir>

#include "common/cp1251.h"
#include "common/folders.h"
#include "common/ini_file.h"
#include "common/settings_record.h"
#include "settings/settings.h"
#include "settings/window_position.h"
#include "tests/support/temp_folder.h"

using namespace qv;

namespace {

class SettingsFile : public ::testing::Test {
 protected:
  // Every value differs from its default, so a load that forgets one shows.
  void SetUp() override {
    Settings = SettingsRecord{};
    Settings.COM = 77;
    Settings.COMSpeed = 1234;
    Settings.Timer = 99;
    Settings.AutoComStart = true;
    Settings.SaveComLog = true;
    Settings.OpenWindowsMask = 0x3F;
    for (QString SettingsRecord::*position :
         {&SettingsRecord::MainPos, &SettingsRecord::DevPos, &SettingsRecord::Dev2Pos,
          &SettingsRecord::GraPos, &SettingsRecord::Gra2Pos, &SettingsRecord::MemPos,
          &SettingsRecord::QvmlPos}) {
      Settings.*position = QStringLiteral("1,2,3,4");
    }
    Settings.OnRunEnd = QStringLiteral("stale-command");
    Settings.PortPaths.insert(5, QStringLiteral("/dev/stale"));
    MacroNameList = MacroNameListRecord{};
    MacroNameList.Names[0] = QStringLiteral("stale.qvml");
    MacroNameList.Count = 1;
    CurrentMacroName = QStringLiteral("stale.qvml");
    for (QString& name : Settings.LastMacro)
      name = QStringLiteral("stale.qvml");
  }

  void writeIni(const QString& text) { WriteAll(SettingsFilePath(), ToCp1251(text)); }
  QString iniText() const { return FromCp1251(ReadAll(SettingsFilePath())); }
  void touchMacro(const QString& name) { WriteAll(MacroFolder() + name, "MACRO(X)"); }

  TempProgramFolder folder;
};

TEST_F(SettingsFile, MissingFileGivesTheDefaultsAndCreatesTheFolders) {
  QDir(folder.path() + "LOG").removeRecursively();
  LoadSettings();
  EXPECT_TRUE(QDir(folder.path() + "LOG").exists());
  EXPECT_EQ(Settings.COM, 1);
  EXPECT_EQ(Settings.COMSpeed, 38400);
  EXPECT_EQ(Settings.Timer, 3);
  EXPECT_EQ(Settings.MemPos, "100, 100, 100, 100");
  EXPECT_EQ(Settings.LastMacro[0], "macro.qvml");
  ASSERT_TRUE(SaveSettings());
  EXPECT_TRUE(iniText().contains("COMSpeed=38400\r\n"));
}

TEST_F(SettingsFile, SectionLineAloneGivesTheDefaults) {
  writeIni("[COMMON]\r\n");
  LoadSettings();
  const SettingsRecord defaults;
  EXPECT_EQ(Settings.COMSpeed, 38400);
  EXPECT_EQ(Settings.COM, 1);
  EXPECT_EQ(Settings.Timer, 3);
  EXPECT_FALSE(Settings.AutoComStart);
  EXPECT_FALSE(Settings.SaveComLog);
  EXPECT_EQ(Settings.OpenWindowsMask, 0);
  for (QString SettingsRecord::*position :
       {&SettingsRecord::MainPos, &SettingsRecord::DevPos, &SettingsRecord::Dev2Pos,
        &SettingsRecord::GraPos, &SettingsRecord::Gra2Pos, &SettingsRecord::MemPos,
        &SettingsRecord::QvmlPos}) {
    EXPECT_EQ(Settings.*position, "100, 100, 100, 100");
  }
  EXPECT_EQ(Settings.OnRunEnd, defaults.OnRunEnd);
  EXPECT_TRUE(Settings.PortPaths.isEmpty());
  EXPECT_EQ(MacroNameList.Count, 0);
  EXPECT_TRUE(CurrentMacroName.isEmpty());
  EXPECT_EQ(Settings.LastMacro[1], "macro.qvml");
}

TEST_F(SettingsFile, ValuesAndTheirEncodings) {
  writeIni(
      "[common]\r\ncom = 3\r\nCOMSpeed=abc\r\nTimer=$10\r\nAutoComStart=5\r\nSaveComLog=0\r\n"
      "Wnds=300\r\nLastMacro1=Заряд.qvml\r\nLastMacro2=\r\nDevPos=12abc,7\r\n"
      "[QVML]\r\nLastQvmlName=NiMh\r\n");
  LoadSettings();
  EXPECT_EQ(Settings.COM, 3);
  EXPECT_EQ(Settings.COMSpeed, 38400);  // not an integer: the default
  EXPECT_EQ(Settings.Timer, 16);
  EXPECT_TRUE(Settings.AutoComStart);
  EXPECT_FALSE(Settings.SaveComLog);
  EXPECT_EQ(Settings.OpenWindowsMask, 44);
  EXPECT_EQ(Settings.LastMacro[0], "Заряд.qvml");
  EXPECT_EQ(Settings.LastMacro[1], "");
  EXPECT_EQ(Settings.DevPos, "12abc,7");
  EXPECT_EQ(CurrentMacroName, "NiMh");
}

TEST_F(SettingsFile, PositionTextsReadFieldByField) {
  struct Case {
    const char* text;
    WindowPosition p;
  } cases[] = {{"12abc,7", {12, 7, 0, 0}},
               {"-1200, 35, 5, 5", {-1200, 35, 5, 5}},
               {"100, 100, 100, 100", {100, 100, 100, 100}},
               {"", {0, 0, 0, 0}},
               {" x, 4 ,, 9", {0, 4, 0, 9}}};
  for (const Case& c : cases) {
    const WindowPosition p = ParseWindowPosition(c.text);
    EXPECT_EQ(std::tie(p.left, p.top, p.width, p.height),
              std::tie(c.p.left, c.p.top, c.p.width, c.p.height))
        << c.text;
  }
  EXPECT_EQ(WindowPositionText({120, 80, 640, 300}), "120,80,640,300");
}

TEST_F(SettingsFile, MacroListKeepsExistingFilesUpToTheFirstEmptyKey) {
  touchMacro("B.qvml");
  touchMacro("C.qvml");
  touchMacro("D.qvml");
  writeIni("[QVML]\r\nn0=A.qvml\r\nn1=B.qvml\r\nn2=C.qvml\r\nn3=\r\nn4=D.qvml\r\n");
  LoadSettings();
  ASSERT_EQ(MacroNameList.Count, 2);
  EXPECT_EQ(MacroNameList.Names[0], "B.qvml");
  EXPECT_EQ(MacroNameList.Names[1], "C.qvml");
  ASSERT_TRUE(SaveSettings());
  IniFile ini;
  ini.load(SettingsFilePath());
  EXPECT_EQ(ini.readString("QVML", "n0", "?"), "B.qvml");
  EXPECT_EQ(ini.readString("QVML", "n1", "?"), "C.qvml");
  EXPECT_EQ(ini.readString("QVML", "n2", "?"), "");
  EXPECT_EQ(ini.readString("QVML", "n3", "?"), "");
  EXPECT_EQ(ini.readString("QVML", "n4", "?"), "D.qvml");  // beyond the closing entry: left alone
}

TEST_F(SettingsFile, FullListOfOneHundredNames) {
  QString text = "[QVML]\r\n";
  for (int i = 0; i <= 100; ++i) {
    touchMacro(QStringLiteral("M%1.qvml").arg(i));
    text += QStringLiteral("n%1=M%1.qvml\r\n").arg(i);
  }
  writeIni(text);
  LoadSettings();
  ASSERT_EQ(MacroNameList.Count, 100);
  EXPECT_EQ(MacroNameList.Names[99], "M99.qvml");
  ASSERT_TRUE(SaveSettings());
  IniFile ini;
  ini.load(SettingsFilePath());
  EXPECT_EQ(ini.readString("QVML", "n99", "?"), "M99.qvml");
  EXPECT_EQ(ini.readString("QVML", "n100", "?"), "M100.qvml");
  LoadSettings();
  EXPECT_EQ(MacroNameList.Count, 100);
}

TEST_F(SettingsFile, ListNamesThatArePathsAreIgnored) {
  touchMacro("ok.qvml");
  WriteAll(folder.path() + "outside.qvml", "x");
  writeIni("[QVML]\r\nn0=../outside.qvml\r\nn1=ok.qvml\r\nn2=..\\outside.qvml\r\n");
  LoadSettings();
  ASSERT_EQ(MacroNameList.Count, 1);
  EXPECT_EQ(MacroNameList.Names[0], "ok.qvml");
}

TEST_F(SettingsFile, SaveKeepsWhatTheProgramDoesNotKnow) {
  writeIni(
      "; the user's note\r\n[COMMON]\r\nCOM=2\r\nColour=blue\r\n\r\n[PORTS]\r\nCOM2=/dev/pts/7\r\n"
      "[Other]\r\nx=1\r\n");
  LoadSettings();
  EXPECT_EQ(Settings.PortPaths.value(2), "/dev/pts/7");
  Settings.COM = 5;
  Settings.SaveComLog = true;
  Settings.LastMacro[0] = "Свинец.qvml";
  ASSERT_TRUE(SaveSettings());
  const QByteArray raw = ReadAll(SettingsFilePath());
  EXPECT_TRUE(raw.contains("LastMacro1=\xD1\xE2\xE8\xED\xE5\xF6.qvml\r\n"));
  const QString text = iniText();
  EXPECT_TRUE(text.startsWith(
      "; the user's note\r\n[COMMON]\r\nCOM=5\r\nColour=blue\r\nCOMSpeed=38400\r\n"))
      << text.toStdString();
  EXPECT_TRUE(text.contains("\r\n\r\n[PORTS]\r\nCOM2=/dev/pts/7\r\n[Other]\r\nx=1\r\n[QVML]\r\n"));
  Settings = SettingsRecord{};
  LoadSettings();
  EXPECT_EQ(Settings.COM, 5);
  EXPECT_TRUE(Settings.SaveComLog);
  EXPECT_EQ(Settings.LastMacro[0], "Свинец.qvml");
}

TEST_F(SettingsFile, RoundTripOfEveryKey) {
  Settings.COM = 7;
  Settings.COMSpeed = 9600;
  Settings.Timer = 10;
  Settings.AutoComStart = true;
  Settings.SaveComLog = true;
  Settings.OpenWindowsMask = 63;
  Settings.MainPos = "1,2,800,480";
  Settings.DevPos = "3,4,5,6";
  Settings.Dev2Pos = "7,8,9,10";
  Settings.GraPos = "11,12,13,14";
  Settings.Gra2Pos = "15,16,17,18";
  Settings.MemPos = "19,20,21,22";
  Settings.QvmlPos = "23,24,25,26";
  CurrentMacroName = "Pb";
  Settings.LastMacro[1] = "two.qvml";
  ASSERT_TRUE(SaveSettings());
  const SettingsRecord saved = Settings;
  Settings = SettingsRecord{};
  CurrentMacroName.clear();
  LoadSettings();
  EXPECT_EQ(Settings.COM, saved.COM);
  EXPECT_EQ(Settings.COMSpeed, saved.COMSpeed);
  EXPECT_EQ(Settings.Timer, saved.Timer);
  EXPECT_EQ(Settings.AutoComStart, saved.AutoComStart);
  EXPECT_EQ(Settings.SaveComLog, saved.SaveComLog);
  EXPECT_EQ(Settings.OpenWindowsMask, saved.OpenWindowsMask);
  for (auto field : {&SettingsRecord::MainPos, &SettingsRecord::DevPos, &SettingsRecord::Dev2Pos,
                     &SettingsRecord::GraPos, &SettingsRecord::Gra2Pos, &SettingsRecord::MemPos,
                     &SettingsRecord::QvmlPos}) {
    EXPECT_EQ(Settings.*field, saved.*field);
  }
  EXPECT_EQ(CurrentMacroName, "Pb");
  EXPECT_EQ(Settings.LastMacro[1], "two.qvml");
  EXPECT_TRUE(iniText().contains("\r\nWnds=63\r\n"));
}

// A port is a "COMn" key, n from 1 to 99 written plainly, in any letter
// case; the first of repeated keys counts even when empty. The file and its
// bytes read alike.
TEST_F(SettingsFile, PortKeys) {
  const struct {
    const char* ports;
    QMap<int, QString> expected;
  } cases[] = {
      {"COM2=/dev/pts/7\r\n", {{2, "/dev/pts/7"}}},
      {"com3=/dev/a\r\n cOm8 = /dev/c \r\n", {{3, "/dev/a"}, {8, "/dev/c"}}},
      {"COM1=/dev/one\r\nCOM99=/dev/last\r\n", {{1, "/dev/one"}, {99, "/dev/last"}}},
      {"COM0=/x\r\nCOM100=/y\r\nCOM05=/z\r\nCOM+6=/v\r\nCOM=/w\r\nCOMX=/u\r\n", {}},
      {"COM6=/dev/first\r\ncom6=/dev/second\r\n", {{6, "/dev/first"}}},
      {"COM4=\r\nCOM4=/dev/late\r\n", {}},
      {"COM5=/dev/b\r\n[OTHER]\r\nCOM7=/dev/elsewhere\r\n", {{5, "/dev/b"}}},
  };
  for (const auto& c : cases) {
    const QByteArray bytes = QByteArray("[PORTS]\r\n") + c.ports;
    IniFile ini;
    ini.parse(bytes);
    ReadSettings(ini);
    EXPECT_EQ(Settings.PortPaths, c.expected) << c.ports;
    WriteAll(SettingsFilePath(), bytes);
    LoadSettings();
    EXPECT_EQ(Settings.PortPaths, c.expected) << c.ports;
  }
}

TEST(IniFileLines, WritesGoAfterTheSectionsLastKey) {
  IniFile ini;
  ini.writeString("A", "k1", "1");
  ini.writeString("B", "k2", "2");
  ini.writeString("A", "k3", "3");
  ini.writeString("a", "K1", "4");
  EXPECT_EQ(ini.lines(), (QStringList{"[A]", "K1=4", "k3=3", "[B]", "k2=2"}));
  EXPECT_TRUE(ini.contains("b", "K2"));
  EXPECT_FALSE(ini.contains("A", "k2"));
}

}  // namespace
