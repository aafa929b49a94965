#include "ui/main/unitabout.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTextEdit>
#include <QVBoxLayout>

#include "ui/main/modal.h"

namespace {

constexpr int kClientWidth = 685;
constexpr int kClientHeight = 482;
constexpr int kPanelHeight = 42;
constexpr int kButtonTop = 12;

// The reference of the language's first form, kept with the window but never
// shown: no opening of the window shows it.
const char* const kEarlyLanguageReference =
    "// Макроязык первой версии (справка)\n"
    "// 0 NOP  1 BEGIN  2 END  3 CHARGE  4 DISCHARGE  5 WAIT  6 LOOP  7 ENDLOOP\n"
    "// 8 SETI  9 SETV  10 IFV  11 IFT  12 IFTIME  13 STOP  14 BEEP  15 LED\n"
    "// 16 CELLS  17 CAP  18 TYPE  19 PAUSE  20 NEXT\n"
    "// Пример: BEGIN; TYPE 1; CELLS 6; DISCHARGE; SETI 0.3C; IFV<0.9S STOP;\n"
    "//         CHARGE; SETI 0.1C; IFT>45 STOP; END;\n";

}  // namespace

QString AboutInformationText() {
  return QStringLiteral(
             "QV v2.0 - программа управления зарядным устройством QV (qv20), сборка %1\n"
             "\n"
             "Поддерживаются все предыдущие версии плат при условии прошивки *z.\n"
             "\n"
             "----------------------------\n"
             "Плата|Прошивка\n"
             "----------------------------\n"
             "QV B5 |QV VB6Z\n"
             "QV 1.7|QV V1.7Z\n"
             "QV 2.0|QV V2.0Z\n"
             "QV 2.1|QV V2.1Z\n"
             "QV 2.2|QV V2.2Z\n"
             "QV 2.3|QV V2.3Z\n"
             "QV 2.4|QV V2.4Z\n"
             "QV 2.5|QV V2.5Z\n"
             "----------------------------\n"
             "\n"
             "Программа и прошивка распространяются бесплатно и без каких-либо гарантий.\n"
             "Платы изготавливаются и передаются по себестоимости изготовления.\n"
             "\n"
             "Более подробно:\n"
             "  версия:   %2, сборка %1\n"
             "  Qt:       %3\n"
             "  лицензия: MIT, без каких-либо гарантий (файл LICENSE)\n"
             "  справка:  меню \"Помощь\", \"Эксплуатация\" (Shift+F1)\n")
      .arg(QStringLiteral(QV_BUILD_DATE), QStringLiteral(QV_VERSION),
           QString::fromLatin1(qVersion()));
}

TFormAbout::TFormAbout(QWidget* parent)
    : QDialog(parent),
      Memo1(new QPlainTextEdit(this)),
      Panel1(new QWidget(this)),
      Button1(new QPushButton(QStringLiteral("Да"), Panel1)),
      RichEdit1(new QTextEdit(this)) {
  setWindowTitle(QStringLiteral("О программе"));
  QFont font(QStringLiteral("Courier New"));
  font.setPixelSize(15);
  setFont(font);
  resize(kClientWidth, kClientHeight);

  Memo1->setReadOnly(true);
  Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo1->setPlainText(AboutInformationText());
  RichEdit1->setReadOnly(true);
  RichEdit1->setLineWrapMode(QTextEdit::NoWrap);
  RichEdit1->setPlainText(QString::fromUtf8(kEarlyLanguageReference));
  RichEdit1->hide();

  Panel1->setFixedHeight(kPanelHeight);
  Button1->setFixedSize(75, 25);
  Button1->move(0, kButtonTop);
  connect(Button1, &QPushButton::clicked, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(Memo1);
  layout->addWidget(Panel1);

  if (const QScreen* screen = this->screen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
}

void TFormAbout::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  Button1->move((Panel1->width() - Button1->width()) / 2, kButtonTop);
}

void ShowAboutInformation(QWidget* parent) {
  TFormAbout about(parent);
  RunModal(about);
}

TFormAbout* ShowAboutReport(const QString& report) {
  auto* about = new TFormAbout;
  about->setAttribute(Qt::WA_DeleteOnClose);
  about->Memo1->setPlainText(report);
  about->show();
  return about;
}

void CloseAboutReports() {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    auto* about = qobject_cast<TFormAbout*>(window);
    if (about && about->isVisible() && about->testAttribute(Qt::WA_DeleteOnClose))
      about->close();
  }
}
