#include "ui/main/modal.h"

#include <QDialog>

#include "link/device_link.h"

using namespace qv;

namespace {

std::function<int(QDialog&)>& runner() {
  static std::function<int(QDialog&)> current;
  return current;
}

}  // namespace

int RunModal(QDialog& dialog) {
  const BackgroundHold hold;  // no polling behind a dialog
  return runner() ? runner()(dialog) : dialog.exec();
}

void SetModalRunner(std::function<int(QDialog&)> newRunner) {
  runner() = std::move(newRunner);
}
