// "Параметры программы": what OK, Cancel and values it cannot take do.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "common/ini_file.h"
#include "common/settings_record.h"
#include "settings/settings.h"
#include "tests/support/children.h"
#include "tests/ui_main/main_window_fixture.h"

using namespace qv;

namespace {

struct Typed {
  QString speed = QStringLiteral("9600");
  QString interval = QStringLiteral("7");
  bool log = true;
  QString runEnd = QStringLiteral("true");
};

class ProgramSettings : public MainWindowTest {
 protected:
  // Fills the dialog when the program runs it, then presses a button.
  void answerWith(const Typed& typed, const char* button) {
    answerDialog = [typed, button](QDialog& dialog) {
      dialog.findChild<QComboBox*>("speed")->setCurrentText(typed.speed);
      dialog.findChild<QLineEdit*>("interval")->setText(typed.interval);
      dialog.findChild<QCheckBox*>("communicationLog")->setChecked(typed.log);
      dialog.findChild<QLineEdit*>("runEndCommand")->setText(typed.runEnd);
      dialog.findChild<QPushButton*>(button)->click();
      return dialog.result();
    };
  }

  QString ini(const char* key) const {
    IniFile file;
    file.load(SettingsFilePath());
    return file.readString("COMMON", QLatin1String(key), "-");
  }
};

TEST_F(ProgramSettings, OkWritesTheFileAtOnceAndTheIntervalTakesEffect) {
  startMainWindow();
  answerWith({}, "ok");
  form->item("N18")->trigger();
  EXPECT_TRUE(messages.isEmpty()) << messages.join(' ').toStdString();
  EXPECT_EQ(ini("COMSpeed"), "9600");
  EXPECT_EQ(ini("Timer"), "7");
  EXPECT_EQ(ini("SaveComLog"), "1");
  EXPECT_EQ(ini("OnRunEnd"), "true");
  EXPECT_EQ(Settings.COMSpeed, 9600);
  EXPECT_EQ(timer2()->interval(), 7000);
}

TEST_F(ProgramSettings, CancelChangesNothing) {
  startMainWindow();
  answerWith({}, "cancel");
  form->item("N18")->trigger();
  EXPECT_EQ(Settings.COMSpeed, 38400);
  EXPECT_EQ(Settings.Timer, 3);
  EXPECT_FALSE(QFile::exists(SettingsFilePath()));
}

TEST_F(ProgramSettings, ValuesItCannotTakeAreSaidAndNeverStored) {
  const struct Case {
    Typed typed;
    const char* message;
  } cases[] = {
      {{"fast"}, "Скорость - целое число"},
      {{"0"}, "Скорость - целое число"},
      {{"9600", "3601"}, "Интервал опроса - целое число секунд от 0 до 3600"},
      {{"9600", "-1"}, "Интервал опроса"},
      {{"9600", "2.5"}, "Интервал опроса"},
      {{"9600", "7", true, "no-such-program-here --now"},
       "Команда по окончании записи не найдена: no-such-program-here"},
  };
  startMainWindow();
  for (const Case& c : cases) {
    messages.clear();
    answerWith(c.typed, "ok");
    QDialog::DialogCode result = QDialog::Accepted;
    const auto pressed = answerDialog;
    answerDialog = [&](QDialog& dialog) {
      result = static_cast<QDialog::DialogCode>(pressed(dialog));
      return static_cast<int>(dialog.result());
    };
    form->item("N18")->trigger();
    ASSERT_EQ(messages.size(), 1) << c.message;
    EXPECT_TRUE(messages[0].startsWith(QString::fromUtf8(c.message))) << messages[0].toStdString();
    EXPECT_NE(result, QDialog::Accepted) << "the dialog stays open";
    EXPECT_EQ(Settings.COMSpeed, 38400);
    EXPECT_EQ(Settings.Timer, 3);
    EXPECT_FALSE(QFile::exists(SettingsFilePath()));
  }
}

}  // namespace
