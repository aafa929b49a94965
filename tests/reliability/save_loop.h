#pragma once

#include <QString>

// What the save_loop helper and the crash test agree on.

// The file a kind of save replaces, in the program folder.
inline QString CrashTargetPath(const QString& kind, const QString& folder) {
  if (kind == QLatin1String("settings"))
    return folder + QStringLiteral("qv20.ini");
  if (kind == QLatin1String("macro"))
    return folder + QStringLiteral("QVML/Soak.qvml");
  return folder + QStringLiteral("MEM/fes.bin");
}

// Communication log line number line of run run, without its time stamp.
inline QString CrashLogLine(const QString& run, int line) {
  return (QStringLiteral("run %1 line %2 ").arg(run).arg(line) + QString(100, u'.')).left(100);
}
