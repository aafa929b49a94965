#include "ui/main/message_boxes.h"

#include <QApplication>
#include <QMessageBox>

#include "common/messages.h"
#include "ui/main/captions.h"
#include "ui/main/modal.h"

namespace {

void showMessage(const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, kMainWindowCaption, text, QMessageBox::Ok,
                  QApplication::activeWindow());
  RunModal(box);
}

bool askQuestion(const QString& question) {
  QMessageBox box(QMessageBox::Question, kQuestionTitle, question,
                  QMessageBox::Yes | QMessageBox::No, QApplication::activeWindow());
  box.setDefaultButton(QMessageBox::No);
  return RunModal(box) == QMessageBox::Yes;
}

}  // namespace

void InstallMessageBoxes() {
  SetMessageSeam({showMessage, askQuestion});
}
