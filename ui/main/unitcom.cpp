#include "ui/main/unitcom.h"

#include <QComboBox>
#include <QPushButton>
#include <QScreen>

#include "common/messages.h"
#include "common/settings_record.h"
#include "link/device_link.h"
#include "link/port.h"
#include "ui/main/modal.h"

using namespace qv;

namespace {

constexpr int kClientWidth = 177;
constexpr int kClientHeight = 74;
constexpr int kMargin = 8;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
const QString kComPrefix = QStringLiteral("COM");

}  // namespace

TFormCOM::TFormCOM(QWidget* parent)
    : QDialog(parent),
      ComboBox1(new QComboBox(this)),
      Button1(new QPushButton(QStringLiteral("Да"), this)),
      Button2(new QPushButton(QStringLiteral("Отмена"), this)) {
  setWindowTitle(QStringLiteral("Открытие COM-порта"));
  setFixedSize(kClientWidth, kClientHeight);
  ComboBox1->setEditable(false);
  ComboBox1->setGeometry(kMargin, kMargin, kClientWidth - 2 * kMargin,
                         ComboBox1->sizeHint().height());
  const int buttonTop = kClientHeight - kMargin - kButtonHeight;
  Button2->setGeometry(kMargin, buttonTop, kButtonWidth, kButtonHeight);
  Button1->setGeometry(kClientWidth - kMargin - kButtonWidth, buttonTop, kButtonWidth,
                       kButtonHeight);
  Button1->setDefault(true);
  connect(Button1, &QPushButton::clicked, this, &TFormCOM::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TFormCOM::Button2Click);
  if (const QScreen* screen = this->screen())
    move(screen->availableGeometry().center() - rect().center());
}

void TFormCOM::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
}

void TFormCOM::FormShow() {
  ComboBox1->clear();
  ComboBox1->addItems(EnumeratePorts());
  if (ComboBox1->count() > 0)
    ComboBox1->setCurrentIndex(0);
  const int configured = ComboBox1->findText(kComPrefix + QString::number(Settings.COM));
  if (configured >= 0)
    ComboBox1->setCurrentIndex(configured);
}

void TFormCOM::Button1Click() {
  const QString number = ComboBox1->currentText().mid(kComPrefix.size());
  bool ok = false;
  const int port = number.toInt(&ok);
  if (!ok) {
    ShowMessage(QStringLiteral("\"%1\" - не номер порта").arg(number));
    return;
  }
  DeviceLink.ChosenPort = port;
  accept();
}

void TFormCOM::Button2Click() {
  DeviceLink.ChosenPort = 0;
  reject();
}

void RunPortDialog() {
  TFormCOM dialog;
  RunModal(dialog);
}
