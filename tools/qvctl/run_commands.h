#pragma once

#include <QStringList>

// Recorded runs read back from their files; no charger, port or settings.
// A warning about damaged lines or a cut file is one line on stderr. Exit
// codes: kExitFile when FILE cannot be read (or OUT cannot be written), 1 when
// it holds no whole sample line or for a wrong command line.

// qvctl summary FILE [--json]: the run's figures and its phases, readable or
// as one JSON object.
int RunSummaryCommand(const QStringList& arguments);

// qvctl export FILE --csv OUT: the run as a spreadsheet table in the user's
// locale, replacing OUT.
int RunExportCommand(const QStringList& arguments);
