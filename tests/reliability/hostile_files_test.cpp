// Settings and macro files as no program writes them: junk, huge, broken.
// Each must load into something sound, keep what it held and never crash.
#include <gtest/gtest.h>
#include <QElapsedTimer>
#include <cstdio>
#include <random>

#include "common/folders.h"
#include "common/messages.h"
#include "common/settings_record.h"
#include "link/device_link.h"
#include "link/port.h"
#include "macro/byte_code.h"
#include "macro/formatter.h"
#include "macro/rtf.h"
#include "macro/store.h"
#include "settings/settings.h"
#include "tests/support/fake_port.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_host.h"

using namespace qv;

namespace {

QByteArray junk(qsizetype size, unsigned start) {
  std::mt19937 random(start);
  QByteArray bytes(size, Qt::Uninitialized);
  for (char& byte : bytes)
    byte = static_cast<char>(random());
  return bytes;
}

// Prints how long a step took, for the record; no test depends on it.
class Stopwatch {
 public:
  explicit Stopwatch(const char* what) : what_(what) { clock_.start(); }
  ~Stopwatch() { std::printf("%s: %lld ms\n", what_, static_cast<long long>(clock_.elapsed())); }

 private:
  const char* what_;
  QElapsedTimer clock_;
};

class HostileSettings : public ::testing::Test {
 protected:
  void SetUp() override {
    Settings = SettingsRecord{};
    MacroNameList = MacroNameListRecord{};
    CurrentMacroName.clear();
  }
  void TearDown() override { Settings = SettingsRecord{}; }

  void writeIni(const QByteArray& bytes) { WriteAll(SettingsFilePath(), bytes); }
  QByteArray iniBytes() const { return ReadAll(SettingsFilePath()); }

  TempProgramFolder folder;
};

// The file as the save writes it back: line ends made CR LF, one at the end.
QByteArray asSaved(QByteArray bytes) {
  bytes.replace("\r\n", "\n");
  bytes.replace("\n", "\r\n");
  if (!bytes.isEmpty() && !bytes.endsWith("\r\n"))
    bytes += "\r\n";
  return bytes;
}

TEST_F(HostileSettings, BinaryJunkGivesTheDefaultsAndIsKept) {
  const QByteArray bytes = junk(64 * 1024, 1);
  writeIni(bytes);
  LoadSettings();
  EXPECT_EQ(Settings.COM, 1);
  EXPECT_EQ(Settings.COMSpeed, 38400);
  EXPECT_EQ(MacroNameList.Count, 0);
  ASSERT_TRUE(SaveSettings());
  // The junk stays in front of the program's own sections.
  const QByteArray saved = iniBytes();
  EXPECT_TRUE(saved.startsWith(asSaved(bytes)));
  EXPECT_TRUE(saved.contains("\r\n[COMMON]\r\nCOM=1\r\nCOMSpeed=38400\r\n"));
  LoadSettings();
  EXPECT_EQ(Settings.COMSpeed, 38400);
}

TEST_F(HostileSettings, TenMegabytesLoadAndSave) {
  // A section full of keys the program does not know, ahead of its own.
  QByteArray bytes = "[COMMON]\r\n";
  for (int i = 0; bytes.size() < 10 * 1024 * 1024; ++i)
    bytes += "Key" + QByteArray::number(i) + "=some value of the user's\r\n";
  bytes += "COMSpeed=9600\r\n[QVML]\r\nLastQvmlName=Pb.qvml\r\n";
  writeIni(bytes);
  {
    Stopwatch watch("10 MB qv20.ini load");
    LoadSettings();
  }
  EXPECT_EQ(Settings.COMSpeed, 9600);
  EXPECT_EQ(CurrentMacroName, "Pb.qvml");
  Settings.COM = 4;
  {
    Stopwatch watch("10 MB qv20.ini save");
    ASSERT_TRUE(SaveSettings());
  }
  const QByteArray saved = iniBytes();
  EXPECT_GT(saved.size(), bytes.size());
  EXPECT_TRUE(saved.contains("Key100000=some value of the user's\r\n"));
  EXPECT_TRUE(saved.contains("\r\nCOM=4\r\n"));
}

TEST_F(HostileSettings, LinesWithoutEqualsAndDuplicatesReadTheFirstEntry) {
  writeIni(
      "[COMMON]\r\nCOM\r\nCOMSpeed 9600\r\n=5\r\nTimer=7\r\nTimer=8\r\n"
      "[COMMON]\r\nCOM=6\r\nAutoComStart=1\r\n");
  LoadSettings();
  EXPECT_EQ(Settings.COM, 1);           // "COM" alone has no value
  EXPECT_EQ(Settings.COMSpeed, 38400);  // nor has "COMSpeed 9600"
  EXPECT_EQ(Settings.Timer, 7);         // the first of two keys
  EXPECT_FALSE(Settings.AutoComStart);  // the first of two sections
  Settings.Timer = 9;
  ASSERT_TRUE(SaveSettings());
  const QByteArray saved = iniBytes();
  // Written into the first entry; every line of the user's is still there.
  EXPECT_TRUE(saved.startsWith("[COMMON]\r\nCOM\r\nCOMSpeed 9600\r\n=5\r\nTimer=9\r\nTimer=8\r\n"))
      << saved.left(120).toStdString();
  EXPECT_TRUE(saved.contains("\r\n[COMMON]\r\nCOM=6\r\nAutoComStart=1\r\n"));
}

TEST_F(HostileSettings, ValuesOutOfRange) {
  writeIni(
      "[COMMON]\r\nCOM=-3\r\nCOMSpeed=0\r\nWnds=70000\r\nTimer=-5\r\n"
      "MainPos=99999999999,-99999999999,x,\r\n");
  LoadSettings();
  EXPECT_EQ(Settings.COM, -3);
  EXPECT_EQ(Settings.COMSpeed, 0);
  EXPECT_EQ(Settings.OpenWindowsMask, 70000 & 0xFF);
  EXPECT_EQ(Settings.Timer, -5);
  // Neither port number nor speed opens anything, and saying so is all.
  FakePort port;
  const QStringList& messages = TestHost().messages;
  EXPECT_FALSE(OpenPort(Settings.COM, 38400));
  EXPECT_FALSE(OpenPort(1, Settings.COMSpeed));
  EXPECT_FALSE(OpenPort(1, -9600));
  EXPECT_EQ(port.opens, 0);
  TestHost().choosePort = [] { DeviceLink.ChosenPort = 1; };
  Connect();
  EXPECT_FALSE(DeviceLink.PortOpen);
  EXPECT_EQ(messages, QStringList{"COM1 не открылся!!!"});
  TestHost().choosePort = {};
  ASSERT_TRUE(SaveSettings());
  EXPECT_TRUE(iniBytes().contains("\r\nWnds=112\r\n"));
}

class HostileMacroFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    MacroNameList = MacroNameListRecord{};
    MacroEditor = MacroEditorRecord{};
    CurrentMacroName.clear();
    TestHost().answer = true;
  }

  // Loads the bytes as the editor does: decoded, laid out, compiled.
  void load(const QByteArray& bytes) {
    WriteAll(MacroFolder() + "hostile.qvml", bytes);
    LoadMacroFile(MacroFolder() + "hostile.qvml");
  }

  TempProgramFolder folder;
};

TEST_F(HostileMacroFiles, OneMegabyteOfText) {
  QByteArray bytes = "MACRO(Big);\r\n";
  while (bytes.size() < 1024 * 1024)
    bytes += "   FAZE;   // \xE7\xE0\xF0\xFF\xE4 \xEC\xE0\xEB\xFB\xEC \xF2\xEE\xEA\xEE\xEC\r\n";
  {
    Stopwatch watch("1 MB macro load, layout and compile");
    load(bytes);
  }
  EXPECT_EQ(MacroEditor.Text.count(u'\n'), bytes.count('\n'));
  EXPECT_TRUE(MacroEditor.Text.contains(QStringLiteral("// заряд малым током")));
  EXPECT_EQ(MacroEditor.Text, FormatMacroText(MacroEditor.Text).text);
  EXPECT_GT(CompiledMacro.errorCount, 0);  // far more than the charger holds
}

TEST_F(HostileMacroFiles, BinaryJunk) {
  for (unsigned start : {1u, 2u, 3u}) {
    const QByteArray bytes = junk(256 * 1024, start);
    load(bytes);
    EXPECT_EQ(MacroEditor.LoadedFile, "hostile.qvml");
    EXPECT_FALSE(MacroEditor.Text.isEmpty());
    EXPECT_EQ(MacroEditor.Text, FormatMacroText(MacroEditor.Text).text);
  }
}

TEST(HostileRtf, DeepNestingUnterminatedGroupsAndHugeNumbers) {
  const QByteArray deep =
      "{\\rtf1 a" + QByteArray(100000, '{') + "b\\b c" + QByteArray(100000, '}') + "d}";
  const struct {
    QByteArray rtf;
    QString text;
  } cases[] = {
      {deep, QStringLiteral("abcd")},
      {"{\\rtf1 {\\b bold {\\i both", QStringLiteral("bold both")},
      {"{\\rtf1 x}}}}}{{{y", QStringLiteral("xy")},
      {"{\\rtf1 {\\*\\unknown never {seen", QString()},
      // \uN is a signed 16-bit number: beyond that it is no character and
      // its fallback stands.
      {"{\\rtf1 a\\u99999999999999999999?b}", QStringLiteral("a?b")},
      {"{\\rtf1 a\\u70000?b\\u-70000?c}", QStringLiteral("a?b?c")},
      {"{\\rtf1 a\\u0?b}", QStringLiteral("a?b")},
      {"{\\rtf1 \\u1044?\\u-1?}", QStringLiteral("Д\uFFFF")},
      {"{\\rtf1 \\uc99999 \\u1044 abc} d", QStringLiteral("Д d")},
      {"{\\rtf1 \\uc99999999999 \\u1044 abc} d", QStringLiteral("Дabc d")},
      {"{\\rtf1 \\bin99999 x}", QString()},
      {"{\\rtf1 \\bin99999999999999 x}", QStringLiteral("x")},
      {"{\\rtf1 \\'", QString()},
      {"{\\rtf1 \\", QString()},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RtfToText(c.rtf), c.text) << c.rtf.left(60).toStdString();
  }
  const QByteArray deeper = "{\\rtf1 " + QByteArray(10 * 1024 * 1024, '{') + "x";
  EXPECT_EQ(RtfToText(deeper), "x");
}

TEST_F(HostileMacroFiles, Utf16OfOddLength) {
  const QString text = QStringLiteral("MACRO(Шестнадцать);\nFAZE;\n");
  QByteArray le = "\xFF\xFE";
  QByteArray be = "\xFE\xFF";
  for (QChar ch : text) {
    le += static_cast<char>(ch.unicode() & 0xFF);
    le += static_cast<char>(ch.unicode() >> 8);
    be += static_cast<char>(ch.unicode() >> 8);
    be += static_cast<char>(ch.unicode() & 0xFF);
  }
  for (const QByteArray& bytes :
       {le + 'Z', be + 'Z', QByteArray("\xFF\xFE\x41"), QByteArray("\xFF\xFE")}) {
    const QString decoded = DecodeMacroFile(bytes);
    EXPECT_TRUE(decoded.startsWith(bytes.size() > 3 ? text : QString()))
        << bytes.toHex().toStdString();
    EXPECT_LE(decoded.size(), (bytes.size() - 2) / 2 + 1);
    load(bytes);
  }
  load(le + 'Z');
  EXPECT_TRUE(MacroEditor.Text.startsWith(QStringLiteral("MACRO(Шестнадцать);")));
}

}  // namespace
