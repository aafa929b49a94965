#include "common/messages.h"

#include <cstdio>

namespace {

MessageSeam& seam() {
  static MessageSeam current;
  return current;
}

}  // namespace

QString CannotWriteFileText(const QString& path) {
  return QStringLiteral("Не удалось записать файл ") + path;
}

void SetMessageSeam(MessageSeam newSeam) {
  seam() = std::move(newSeam);
}

void ShowMessage(const QString& text) {
  if (seam().show) {
    seam().show(text);
    return;
  }
  std::fprintf(stderr, "%s\n", text.toUtf8().constData());
}

bool AskYesNo(const QString& question) {
  return seam().ask ? seam().ask(question) : false;
}

MessageCapture::MessageCapture() : saved_(seam()) {
  seam() = {[this](const QString& text) { messages_ << text; },
            [](const QString&) { return false; }};
}

MessageCapture::~MessageCapture() {
  seam() = std::move(saved_);
}
