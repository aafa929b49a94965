#pragma once

#include <QDialog>
#include <memory>

#include "tests/support/link_fixture.h"
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

  std::unique_ptr<TFormM> form;
  // What a modal dialog does when it is run: by default it is rejected.
  std::function<int(QDialog&)> answerDialog = [](QDialog& dialog) {
    dialog.reject();
    return static_cast<int>(QDialog::Rejected);
  };
};

// Resets the window-management state between tests.
void ResetWindowManagement();
