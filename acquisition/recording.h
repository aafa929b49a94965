#pragma once

#include <QString>

namespace qv {

// Runs of the channels. A run begins when a measurement finds a channel
// running while it does not record: its series start again at sample 0, its
// samples go to a new file GRA/yyyymmdd_hhnnss_K.gra, and qv20.ini notes the
// run (section RUNS) until it is seen to end. The same reply is then
// recorded as the run's sample 0.
//
// After a restart of the program or a lost link, the first measurement
// decides whether a run that was not seen to end goes on in its file: it
// does when the charger still reports the channel running, no more than
// kResumeGapMinutes passed since the run's last sample and the capacity
// counter has not gone back (its magnitude did not shrink, its sign did not
// turn). Otherwise that run counts as ended and a new one begins.

inline constexpr double kResumeGapMinutes = 60;
inline constexpr double kCapacityTolerance = 0.02;  // Ah: two counts of the charger

// The last recorded sample of a run, as the same-run rule needs it.
struct RunTail {
  double startTime = 0;  // days
  double minutes = 0;    // the sample's Time
  double capacity = 0;   // Ah
};
bool IsSameRun(const RunTail& tail, double now, double capacityNow);

// The host is told when a run of channel 0 or 1 begins (or goes on in its
// file after a break) and when it ends.

// After the settings are loaded: no set points (the charger does not report
// them) and the notes of runs not seen to end read from qv20.ini.
void InitRecording();

// What QueryDevice does with a measurement reply: runs begin, go on or end
// around the measurement application.
void RecordMeasurement(double now);
// Off: measurements are applied without runs or files (qvctl poll only
// watches). On at start.
void SetRecordingEnabled(bool enabled);

// Measurement replies applied so far; views redraw when it moves.
int MeasurementCount();

// A path in the GRA folder for a run of the channel started then, naming no
// existing file.
QString NewRunPath(double start, int channel);

// Starts the OnRunEnd command detached with the channel number (1 or 2) and
// the run's file as its last two arguments.
void StartRunEndCommand(int channel, const QString& path);

}  // namespace qv
