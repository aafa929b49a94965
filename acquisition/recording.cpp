#include "acquisition/recording.h"

#include <QFileInfo>
#include <QLocale>
#include <QProcess>
#include <algorithm>
#include <cmath>

#include "acquisition/query.h"
#include "acquisition/run_file.h"
#include "acquisition/shared_state.h"
#include "common/clock.h"
#include "common/folders.h"
#include "common/host.h"
#include "common/ini_file.h"
#include "common/settings_record.h"
#include "link/device_link.h"

namespace qv {

namespace {

// A clock set back by more than this makes the next sample a new run's.
constexpr double kClockSlackMinutes = 1;

const QString kRunsSection = QStringLiteral("RUNS");

// What qv20.ini keeps of a channel's last run.
struct RunNote {
  QString fileName;  // in the GRA folder
  double startTime = 0;
  bool open = false;  // not seen to end
};

RunNote notes[2];
int seenOpens = 0;
int measurements = 0;
bool recordingEnabled = true;

QString noteKey(int channel, const char* what) {
  return QStringLiteral("Run") + QString::number(channel + 1) + QLatin1String(what);
}

void loadNotes() {
  IniFile ini;
  ini.load(SettingsFilePath());
  for (int channel = 0; channel < 2; ++channel) {
    RunNote& note = notes[channel];
    note.fileName = ini.readString(kRunsSection, noteKey(channel, ""), QString());
    note.startTime =
        QLocale::c().toDouble(ini.readString(kRunsSection, noteKey(channel, "Start"), QString()));
    note.open = !note.fileName.isEmpty() && note.startTime > 0 &&
                !ini.readBool(kRunsSection, noteKey(channel, "Ended"), true);
  }
}

// A note that cannot be written only costs the run its resumption.
void saveNote(int channel) {
  const RunNote& note = notes[channel];
  IniFile ini;
  ini.load(SettingsFilePath());
  ini.writeString(kRunsSection, noteKey(channel, ""), note.fileName);
  ini.writeString(kRunsSection, noteKey(channel, "Start"),
                  QString::number(note.startTime, 'g', 17));
  ini.writeBool(kRunsSection, noteKey(channel, "Ended"), !note.open);
  (void)ini.save(SettingsFilePath());
}

void closeNote(int channel) {
  if (!notes[channel].open)
    return;
  notes[channel].open = false;
  saveNote(channel);
}

bool isRecording(const ChannelRecord& c) {
  return c.State == kStateRecording || c.State == kStateRecordingOther;
}

RunTail tailOf(const ChannelRecord& c) {
  const int last = std::clamp(c.Count - 1, 0, kSeriesCapacity - 1);
  return {c.StartTime, c.Time[last], c.Capacity[last]};
}

void announceEnd(int channel) {
  closeNote(channel);
  const QString path = ChannelData[channel].LogPath;
  CurrentHost().runEnded(channel, path);
  StartRunEndCommand(channel, path);
}

void beginRun(int channel, double now) {
  ChannelRecord& c = ChannelData[channel];
  ClearSeries(c);
  c.StartTime = now;
  c.LogPath = NewRunPath(now, channel);
  c.State = kStateRecording;
  notes[channel] = {QFileInfo(c.LogPath).fileName(), now, true};
  saveNote(channel);
  CurrentHost().runStarted(channel, c.LogPath);
}

// The run an earlier session noted goes on in its file when it is the same.
bool resumeNotedRun(int channel, double now) {
  const RunNote& note = notes[channel];
  if (!note.open)
    return false;
  const QString path = GraFolder() + note.fileName;
  LoadedRun file;
  QString error;
  if (!LoadRun(path, &file, &error))
    return false;
  const int last = file.count() - 1;
  const RunTail tail{note.startTime, file.columns[kTimeField][last],
                     file.columns[kCapacityField][last]};
  if (!IsSameRun(tail, now, ReplyCapacity(channel)))
    return false;
  ChannelRecord& c = ChannelData[channel];
  ClearSeries(c);
  const int count = std::min(file.count(), kSeriesCapacity - 1);
  for (int field = 0; field < kLogFields; ++field)
    std::copy_n(file.columns[field].constData(), count, c.*kLogSeries[field]);
  c.Count = count;
  c.StartTime = note.startTime;
  c.LogPath = path;
  c.State = kStateRecording;
  CurrentHost().runStarted(channel, path);
  return true;
}

// Before the reply is applied: the channel's run begins, goes on or ends.
void prepareChannel(int channel, bool afterBreak, double now) {
  ChannelRecord& c = ChannelData[channel];
  const bool running = ReplyChannelRunning(channel);
  if (isRecording(c)) {
    // Without a break, or with the charger stopped, the application decides.
    if (!afterBreak || !running || IsSameRun(tailOf(c), now, ReplyCapacity(channel)))
      return;
    c.State = c.State == kStateRecording ? kStateEnded : kStateEndedOther;
    announceEnd(channel);  // it ended while the link was down
  }
  if (!running) {
    closeNote(channel);  // an earlier session's run ended while nobody watched
    return;
  }
  if (!resumeNotedRun(channel, now))
    beginRun(channel, now);
}

void updateDialFlags(ChannelRecord& c) {
  if (isRecording(c) && c.Count >= 1) {
    c.DialFlags |= kDialShowsSample;
  } else {
    c.DialFlags &= static_cast<uint8_t>(~kDialShowsSample);
  }
}

}  // namespace

bool IsSameRun(const RunTail& tail, double now, double capacityNow) {
  const double gap = (now - tail.startTime) * kMinutesPerDay - tail.minutes;
  if (gap < -kClockSlackMinutes || gap > kResumeGapMinutes)
    return false;
  if (std::fabs(capacityNow) < std::fabs(tail.capacity) - kCapacityTolerance)
    return false;
  const bool turned = capacityNow * tail.capacity < 0 &&
                      std::fabs(tail.capacity) > kCapacityTolerance &&
                      std::fabs(capacityNow) > kCapacityTolerance;
  return !turned;
}

void InitRecording() {
  for (ChannelRecord& c : ChannelData) {
    c.VoltageSetPoint = static_cast<float>(kNoSetPoint);
    c.CurrentSetPoint = static_cast<float>(kNoSetPoint);
    c.DialFlags = 0;
  }
  seenOpens = DeviceLink.Opens - 1;  // the first reply counts as after a break
  loadNotes();
}

void SetRecordingEnabled(bool enabled) {
  recordingEnabled = enabled;
}

void RecordMeasurement(double now) {
  ++measurements;
  if (!recordingEnabled) {
    ApplyMeasurementReply(now);
    return;
  }
  const bool afterBreak = DeviceLink.Opens != seenOpens;
  seenOpens = DeviceLink.Opens;
  bool wasRecording[2];
  for (int channel = 0; channel < 2; ++channel) {
    prepareChannel(channel, afterBreak, now);
    wasRecording[channel] = isRecording(ChannelData[channel]);
  }
  ApplyMeasurementReply(now);
  for (int channel = 0; channel < 2; ++channel) {
    ChannelRecord& c = ChannelData[channel];
    if (wasRecording[channel] && !isRecording(c))
      announceEnd(channel);
    updateDialFlags(c);
  }
}

int MeasurementCount() {
  return measurements;
}

QString NewRunPath(double start, int channel) {
  for (int suffix = 1;; ++suffix) {
    const QString path = GraFolder() + RunFileName(start, channel, suffix);
    if (!QFileInfo::exists(path))
      return path;
  }
}

void StartRunEndCommand(int channel, const QString& path) {
  QStringList words = QProcess::splitCommand(Settings.OnRunEnd);
  if (words.isEmpty())
    return;
  const QString program = words.takeFirst();
  QProcess::startDetached(program, words << QString::number(channel + 1) << path);
}

}  // namespace qv
