#pragma once

#include <QDialog>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>
#include <memory>

#include "tests/support/children.h"
#include "tests/support/link_fixture.h"
#include "tests/support/window_management.h"
#include "ui/main/panel_view.h"
#include "ui/main/status_bar.h"
#include "ui/main/unitm.h"

// A main window over a fresh program folder holding the panel picture, with
// the fake port behind the link, recorded messages and questions, and modal
// dialogs answered by the test.
class MainWindowTest : public LinkTest {
 protected:
  MainWindowTest();
  ~MainWindowTest() override;

  // Builds the main window the way the program does.
  void startMainWindow();
  // Closes it as the user would; the settings are written.
  void closeMainWindow();

  // The main window's parts, by their names.
  PanelView* image1() const { return Child<PanelView>(form.get(), "Image1"); }
  QTimer* timer1() const { return Child<QTimer>(form.get(), "Timer1"); }
  QTimer* timer2() const { return Child<QTimer>(form.get(), "Timer2"); }
  QStatusBar* statusBar1() const { return Child<QStatusBar>(form.get(), "StatusBar1"); }
  QLabel* statusPanel(int i) const {
    return Child<QLabel>(form.get(), QStringLiteral("StatusPanel%1").arg(i));
  }
  ProgressPanel* progressPanel() const { return Child<ProgressPanel>(form.get(), "ProgressPanel"); }
  QLabel* noteLabel() const { return Child<QLabel>(form.get(), "NoteLabel"); }

  std::unique_ptr<TFormM> form;
  // What a modal dialog does when it is run: by default it is rejected.
  std::function<int(QDialog&)> answerDialog = [](QDialog& dialog) {
    dialog.reject();
    return static_cast<int>(QDialog::Rejected);
  };
};
