#pragma once

#include <QString>

namespace qv {

// The settings a user edits in "Параметры программы", as typed.
struct ProgramOptions {
  int port = 1;  // COM number
  QString speed;
  QString interval;  // seconds between polls
  bool connectAtStart = false;
  bool communicationLog = false;
  QString runEndCommand;
};

ProgramOptions CurrentProgramOptions();
// Why the options cannot be taken (the first fault), or empty.
QString ProgramOptionsFault(const ProgramOptions& options);
// Puts options without fault into the settings in memory.
void ApplyProgramOptions(const ProgramOptions& options);

}  // namespace qv
