#include "tests/ui_main/main_window_fixture.h"

#include <QFile>

#include "acquisition/shared_state.h"
#include "common/settings_record.h"
#include "link/port.h"
#include "ui/main/child_window.h"
#include "ui/main/modal.h"

using namespace qv;

MainWindowTest::MainWindowTest() {
  QFile::copy(QStringLiteral(QV_PICTURE_PATH), folder.file("qv2x.bmp"));
  ResetWindowManagement();
  InitSharedState();
  SetModalRunner([this](QDialog& dialog) { return answerDialog(dialog); });
}

MainWindowTest::~MainWindowTest() {
  if (form)
    form->hide();
  form.reset();
  SetModalRunner({});
  ResetWindowManagement();
}

void MainWindowTest::startMainWindow() {
  form = std::make_unique<TFormM>();
  ASSERT_TRUE(form->started()) << messages.join(' ').toStdString();
  form->show();
}

void MainWindowTest::closeMainWindow() {
  form->close();
}
