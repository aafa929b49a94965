#pragma once

#include <functional>

class QDialog;

// Every modal dialog of the program runs through here, so that tests can
// answer it instead of blocking.
int RunModal(QDialog& dialog);
void SetModalRunner(std::function<int(QDialog&)> runner);
