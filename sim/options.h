#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "sim/engine.h"
#include "sim/faults.h"
#include "sim/pty_runner.h"

namespace qv::sim {

struct SimOptions {
  EngineSettings engine;
  RunnerSettings runner;
  FaultRates faults;
  int delayMs = 300;
  qint64 randomStart = 0;
  bool randomGiven = false;
  bool quiet = false;
  QList<int> startChannels;      // 0 or 1
  QList<int> dischargeChannels;  // 0 or 1
};

enum class ParseResult { Run, Help, Error };

// arguments as QCoreApplication::arguments() gives them, program name first.
// Help puts the usage text into message, Error a one-line reason.
ParseResult ParseSimOptions(const QStringList& arguments, SimOptions* options, QString* message);

}  // namespace qv::sim
