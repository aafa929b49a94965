#include "common/messages.h"

#include "common/host.h"

namespace qv {

namespace {

MessageCapture* capture = nullptr;  // the innermost one living

}  // namespace

QString CannotWriteFileText(const QString& path) {
  return QStringLiteral("Не удалось записать файл ") + path;
}

void ShowMessage(const QString& text) {
  if (capture)
    capture->messages_ << text;
  else
    CurrentHost().showMessage(text);
}

bool AskYesNo(const QString& question) {
  return !capture && CurrentHost().ask(question);
}

MessageCapture::MessageCapture() : outer_(capture) {
  capture = this;
}

MessageCapture::~MessageCapture() {
  capture = outer_;
}

}  // namespace qv
