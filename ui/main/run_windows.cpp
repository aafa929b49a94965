#include "ui/main/run_windows.h"

namespace {

RunWindowOpeners& openers() {
  static RunWindowOpeners current;
  return current;
}

}  // namespace

void SetRunWindowOpeners(RunWindowOpeners newOpeners) {
  openers() = std::move(newOpeners);
}

const RunWindowOpeners& RunWindows() {
  return openers();
}
