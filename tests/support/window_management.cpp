#include "tests/support/window_management.h"

#include "ui/main/child_window.h"

void ResetWindowManagement() {
  ProgramClosing = false;
  for (ChildWindowFlagsRecord& flags : ChildWindowFlags)
    flags = {};
}
