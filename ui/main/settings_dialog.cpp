#include "ui/main/settings_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/folders.h"
#include "common/messages.h"
#include "link/port.h"
#include "settings/program_options.h"
#include "settings/settings.h"

using namespace qv;

namespace {

const QString kComPrefix = QStringLiteral("COM");
constexpr int kSpeeds[] = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};

QString comName(int port) {
  return kComPrefix + QString::number(port);
}

// The ports present, and the configured one even when its device is gone.
QStringList portChoices(int configured) {
  QStringList ports = EnumeratePorts();
  if (!ports.contains(comName(configured)))
    ports.prepend(comName(configured));
  return ports;
}

template <typename Widget>
Widget* named(Widget* widget, const char* name) {
  widget->setObjectName(QLatin1String(name));
  return widget;
}

}  // namespace

SettingsDialog::SettingsDialog(QWidget* parent)
    : QDialog(parent),
      port_(named(new QComboBox, "port")),
      speed_(named(new QComboBox, "speed")),
      interval_(named(new QLineEdit, "interval")),
      connectAtStart_(
          named(new QCheckBox(QStringLiteral("Подключать ЗУ при запуске")), "connectAtStart")),
      communicationLog_(
          named(new QCheckBox(QStringLiteral("Вести протокол обмена (LOG)")), "communicationLog")),
      runEndCommand_(named(new QLineEdit, "runEndCommand")) {
  setWindowTitle(QStringLiteral("Параметры программы"));
  const ProgramOptions options = CurrentProgramOptions();
  port_->addItems(portChoices(options.port));
  port_->setCurrentText(comName(options.port));
  speed_->setEditable(true);
  for (const int speed : kSpeeds)
    speed_->addItem(QString::number(speed));
  speed_->setCurrentText(options.speed);
  interval_->setText(options.interval);
  interval_->setToolTip(QStringLiteral("0 - не опрашивать ЗУ"));
  connectAtStart_->setChecked(options.connectAtStart);
  communicationLog_->setChecked(options.communicationLog);
  runEndCommand_->setText(options.runEndCommand);
  runEndCommand_->setPlaceholderText(QStringLiteral("нет"));
  runEndCommand_->setToolTip(
      QStringLiteral("Запускается с номером канала и файлом записи в конце строки"));

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Порт:"), port_);
  form->addRow(QStringLiteral("Скорость, бит/с:"), speed_);
  form->addRow(QStringLiteral("Опрос ЗУ, с:"), interval_);
  form->addRow(connectAtStart_);
  form->addRow(communicationLog_);
  form->addRow(QStringLiteral("По окончании записи:"), runEndCommand_);
  auto* buttons = new QDialogButtonBox;
  buttons->addButton(QStringLiteral("Да"), QDialogButtonBox::AcceptRole)->setObjectName("ok");
  buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole)
      ->setObjectName("cancel");
  connect(buttons, &QDialogButtonBox::accepted, this, &SettingsDialog::okClicked);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
  setMinimumWidth(420);
}

void SettingsDialog::okClicked() {
  const ProgramOptions options{port_->currentText().mid(kComPrefix.size()).toInt(),
                               speed_->currentText(),
                               interval_->text(),
                               connectAtStart_->isChecked(),
                               communicationLog_->isChecked(),
                               runEndCommand_->text()};
  if (const QString fault = ProgramOptionsFault(options); !fault.isEmpty()) {
    ShowMessage(fault);
    return;
  }
  ApplyProgramOptions(options);
  if (!SaveSettings())
    ShowMessage(CannotWriteFileText(SettingsFilePath()));
  accept();
}
