#include "link/com_log.h"

#include "common/clock.h"
#include "common/cp1251.h"
#include "common/folders.h"
#include "common/settings_record.h"
#include "common/textfile.h"

namespace qv {

QString ComLogPath(double days) {
  return LogFolder() + DateText(days) + QStringLiteral(".txt");
}

void WriteComLog(const QString& text) {
  if (!Settings.SaveComLog)
    return;
  const double now = Now();
  const QString line = TimeText(now) + QLatin1Char(' ') + text + QStringLiteral("\r\n");
  // A line that cannot be written is lost; the exchange is not affected.
  (void)AppendToFile(ComLogPath(now), ToCp1251(line));
}

}  // namespace qv
