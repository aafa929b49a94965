#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest/QTest>

#include "common/settings_record.h"
#include "link/device_link.h"
#include "tests/support/link_fixture.h"
#include "ui/main/modal.h"
#include "ui/main/unitabout.h"
#include "ui/main/unitcom.h"

using namespace qv;

namespace {

class PortDialog : public LinkTest {
 protected:
  // Ports COM1, COM3 and COM12 exist (as files standing in for devices).
  void SetUp() override {
    for (int n : {1, 3, 12}) {
      const QString path = folder.file(QStringLiteral("tty%1").arg(n));
      WriteAll(path, "");
      Settings.PortPaths.insert(n, path);
    }
  }

  QStringList listed(const TFormCOM& dialog) const {
    QStringList names;
    for (int i = 0; i < dialog.ComboBox1->count(); ++i) {
      const QString name = dialog.ComboBox1->itemText(i);
      if (name == "COM1" || name == "COM3" || name == "COM12")
        names << name;
    }
    return names;
  }
};

TEST_F(PortDialog, ListsPresentPortsSortedAsTextWithTheSettingSelected) {
  TFormCOM dialog;
  EXPECT_EQ(dialog.windowTitle(), "Открытие COM-порта");
  EXPECT_EQ(dialog.size(), QSize(177, 74));
  Settings.COM = 3;
  dialog.FormShow();
  EXPECT_EQ(listed(dialog), (QStringList{"COM1", "COM12", "COM3"}));
  EXPECT_EQ(dialog.ComboBox1->currentText(), "COM3");
  Settings.COM = 7;
  dialog.FormShow();
  EXPECT_EQ(dialog.ComboBox1->currentIndex(), 0);
}

TEST_F(PortDialog, YesStoresTheChoiceAndCancelStoresNone) {
  TFormCOM dialog;
  dialog.FormShow();
  dialog.ComboBox1->setCurrentText("COM12");
  dialog.Button1->click();
  EXPECT_EQ(DeviceLink.ChosenPort, 12);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  dialog.Button2->click();
  EXPECT_EQ(DeviceLink.ChosenPort, 0);
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST_F(PortDialog, YesOnAnEmptyListKeepsTheDialogOpen) {
  Settings.PortPaths.clear();
  TFormCOM dialog;
  dialog.show();
  dialog.ComboBox1->clear();
  DeviceLink.ChosenPort = 5;
  dialog.Button1->click();
  EXPECT_EQ(messages.size(), 1);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(DeviceLink.ChosenPort, 5);
}

TEST_F(PortDialog, ClosingByTheFrameChangesNothing) {
  DeviceLink.ChosenPort = 4;
  SetModalRunner([](QDialog& dialog) {
    dialog.reject();  // what the frame's close box does
    return 0;
  });
  RunPortDialog();
  SetModalRunner({});
  EXPECT_EQ(DeviceLink.ChosenPort, 4);
}

TEST(AboutWindow, TheProgramsOwnFactsAndNoPlaceholders) {
  const QString text = AboutInformationText();
  EXPECT_TRUE(text.contains(QStringLiteral("версия:   2.0, сборка "))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("Qt:       ") + QString::fromLatin1(qVersion())));
  EXPECT_TRUE(text.contains(QStringLiteral("лицензия: MIT")));
  EXPECT_FALSE(text.contains(u'<')) << "a placeholder is left";
}

TEST(AboutWindow, InformationTopicsInOrder) {
  const QString text = AboutInformationText();
  const QStringList markers{"qv20",
                            "Поддерживаются все предыдущие версии плат при условии прошивки *z.",
                            "Плата|Прошивка", "бесплатно", "Более подробно:"};
  qsizetype at = -1;
  for (const QString& marker : markers) {
    const qsizetype next = text.indexOf(marker);
    EXPECT_GT(next, at) << marker.toStdString();
    at = next;
  }
  const QStringList lines = text.split('\n');
  const qsizetype header = lines.indexOf("Плата|Прошивка");
  ASSERT_GE(header, 0);
  int rows = 0;
  for (qsizetype i = header + 2; i < lines.size() && !lines[i].startsWith("---"); ++i) {
    EXPECT_TRUE(lines[i].contains('|')) << lines[i].toStdString();
    ++rows;
  }
  EXPECT_EQ(rows, 8);
}

TEST(AboutWindow, EscClosesEvenFromTheText) {
  TFormAbout about;
  about.show();
  about.Memo1->setFocus();
  QTest::keyClick(about.Memo1, Qt::Key_Escape);
  EXPECT_FALSE(about.isVisible());
}

TEST(AboutWindow, ButtonStaysCentred) {
  TFormAbout about;
  about.show();
  for (int width : {685, 400, 1001}) {
    about.resize(width, 300);
    QCoreApplication::processEvents();
    EXPECT_EQ(about.Button1->x(), (about.Panel1->width() - 75) / 2) << width;
    EXPECT_EQ(about.Button1->y(), 12);
  }
  EXPECT_EQ(about.Button1->text(), "Да");
  EXPECT_FALSE(about.RichEdit1->isVisible());
  EXPECT_EQ(about.windowTitle(), "О программе");
}

TEST(AboutWindow, EachReportIsAWindowOfItsOwn) {
  QPointer<TFormAbout> first = ShowAboutReport("one");
  QPointer<TFormAbout> second = ShowAboutReport("two");
  EXPECT_EQ(first->Memo1->toPlainText(), "one");
  EXPECT_EQ(second->Memo1->toPlainText(), "two");
  first->Button1->click();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(first.isNull());
  ASSERT_FALSE(second.isNull());
  EXPECT_TRUE(second->isVisible());
  second->close();
}

TEST(AboutWindow, InformationOpensModallyFromItsTop) {
  int runs = 0;
  SetModalRunner([&](QDialog& dialog) {
    auto& about = static_cast<TFormAbout&>(dialog);
    EXPECT_EQ(about.Memo1->toPlainText(), AboutInformationText());
    EXPECT_EQ(about.Memo1->textCursor().position(), 0);
    ++runs;
    return 0;
  });
  ShowAboutInformation(nullptr);
  ShowAboutInformation(nullptr);
  SetModalRunner({});
  EXPECT_EQ(runs, 2);
}

}  // namespace
