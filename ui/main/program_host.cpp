#include "ui/main/program_host.h"

#include <QApplication>
#include <QMessageBox>

#include "common/messages.h"
#include "ui/main/captions.h"
#include "ui/main/modal.h"
#include "ui/main/unitcom.h"
#include "ui/main/unitm.h"

using namespace qv;

namespace {

// A box needs a window to belong to, or the window manager may put it behind
// the main window, which it blocks: right after a dialog closes no window is
// active.
QWidget* boxParent() {
  if (QWidget* active = QApplication::activeWindow())
    return active;
  return TFormM::openWindow();
}

}  // namespace

void ProgramHost::showMessage(const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, kMainWindowCaption, text, QMessageBox::Ok, boxParent());
  RunModal(box);
}

bool ProgramHost::ask(const QString& question) {
  QMessageBox box(QMessageBox::Question, kQuestionTitle, question,
                  QMessageBox::Yes | QMessageBox::No, boxParent());
  box.setDefaultButton(QMessageBox::No);
  return RunModal(box) == QMessageBox::Yes;
}

void ProgramHost::choosePort() {
  RunPortDialog();
}

bool ProgramHost::reopenPort() {
  TFormM* window = TFormM::openWindow();
  return window && window->reopenCharger();
}

void ProgramHost::refreshStatus() {
  if (TFormM* window = TFormM::openWindow())
    window->refreshStatus();
}

void ProgramHost::memoryReadProgress() {
  if (TFormM* window = TFormM::openWindow())
    window->showReadProgress();
}

void ProgramHost::runEnded(int channel, const QString& path) {
  if (TFormM* window = TFormM::openWindow())
    window->noticeRunEnd(channel, path);
}
