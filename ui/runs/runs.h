#pragma once

#include <QString>
#include <QStringList>

class TFormDiag;
class TFormGra;

// Makes the main window's items for recorded runs open their windows.
void RegisterRunWindows();

// The runs of these files overlaid in one graphs window. A file that cannot
// be read or holds no whole line is reported, and nothing opens for it; null
// when none could be read.
TFormGra* OpenRunGraphs(const QStringList& paths);
// The report of the run in a file; null, after a message, when it cannot be
// read.
TFormDiag* OpenFileReport(const QString& path);
// The live reports of the channels that recorded a run; a channel's open one
// comes to the front instead of a second. A message when neither did.
QList<TFormDiag*> OpenChannelReports();

// The program's arguments that name runs: not options nor their values, and
// ending in ".gra".
QStringList RunFileArguments(const QStringList& arguments);
