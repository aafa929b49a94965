#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// What the main window's items for recorded runs open. The windows of runs
// live in a library above this one, which fills these in; unset, the items
// do nothing.
struct RunWindowOpeners {
  // Graphs of the runs in these files, overlaid in one window.
  std::function<void(const QStringList& paths)> graphs;
  // The report of the run in a file.
  std::function<void(const QString& path)> fileReport;
  // The live reports of the channels' current or last runs.
  std::function<void()> channelReports;
};

void SetRunWindowOpeners(RunWindowOpeners openers);
const RunWindowOpeners& RunWindows();
