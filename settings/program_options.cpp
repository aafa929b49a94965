#include "settings/program_options.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <optional>

#include "common/settings_record.h"

namespace qv {

namespace {

constexpr int kSlowestSpeed = 50;
constexpr int kFastestSpeed = 4000000;

// A whole number within the limits, or nothing.
std::optional<int> wholeNumber(const QString& text, int lowest, int highest) {
  bool ok = false;
  const int value = text.trimmed().toInt(&ok);
  if (!ok || value < lowest || value > highest)
    return std::nullopt;
  return value;
}

bool programFound(const QString& program) {
  if (program.contains(u'/'))
    return QFileInfo(program).isExecutable();
  return !QStandardPaths::findExecutable(program).isEmpty();
}

}  // namespace

ProgramOptions CurrentProgramOptions() {
  const SettingsRecord& s = Settings;
  return {s.COM,
          QString::number(s.COMSpeed),
          QString::number(s.Timer),
          s.AutoComStart,
          s.SaveComLog,
          s.OnRunEnd};
}

QString ProgramOptionsFault(const ProgramOptions& o) {
  if (o.port < 1 || o.port > kMaxComNumber)
    return QStringLiteral("Номер порта должен быть от 1 до %1.").arg(kMaxComNumber);
  if (!wholeNumber(o.speed, kSlowestSpeed, kFastestSpeed)) {
    return QStringLiteral("Скорость - целое число бит в секунду от %1 до %2.")
        .arg(kSlowestSpeed)
        .arg(kFastestSpeed);
  }
  if (!wholeNumber(o.interval, 0, kLongestPollingSeconds)) {
    return QStringLiteral("Интервал опроса - целое число секунд от 0 до %1 (0 - без опроса).")
        .arg(kLongestPollingSeconds);
  }
  const QStringList words = QProcess::splitCommand(o.runEndCommand);
  if (!words.isEmpty() && !programFound(words.first()))
    return QStringLiteral("Команда по окончании записи не найдена: ") + words.first();
  return {};
}

void ApplyProgramOptions(const ProgramOptions& o) {
  SettingsRecord& s = Settings;
  s.COM = o.port;
  s.COMSpeed = *wholeNumber(o.speed, kSlowestSpeed, kFastestSpeed);
  s.Timer = *wholeNumber(o.interval, 0, kLongestPollingSeconds);
  s.AutoComStart = o.connectAtStart;
  s.SaveComLog = o.communicationLog;
  s.OnRunEnd = o.runEndCommand.trimmed();
}

}  // namespace qv
