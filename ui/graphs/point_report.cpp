#include "ui/graphs/point_report.h"

#include "acquisition/shared_state.h"
#include "common/text.h"
#include "ui/graphs/graph_tables.h"
#include "ui/main/unitabout.h"

namespace {

constexpr int kFieldWidth = 7;
const QString kLineEnd = QStringLiteral("\r\n");

bool validChannel(int channel) {
  return channel >= 0 && channel < 2;
}

}  // namespace

QString FormatReportNumber(double x) {
  return (QStringLiteral("   ") + FormatNumber(QStringLiteral("0.00"), x)).right(kFieldWidth);
}

bool ValidPointIndex(int index) {
  return index >= 0 && index < kSeriesCapacity;
}

QString BuildPointReport(int channel, int index) {
  if (!validChannel(channel) || !ValidPointIndex(index))
    return {};
  const ChannelRecord& data = ChannelData[channel];
  QString text = QStringLiteral("Точка на графике...") + kLineEnd + kLineEnd;
  text += QStringLiteral("Index =") + FormatReportNumber(index) + kLineEnd;
  for (const GraphQuantityInfo& quantity : kGraphQuantities) {
    text += QString::fromUtf8(quantity.reportLabel) +
            FormatReportNumber((data.*quantity.values)[index]) + kLineEnd;
  }
  text += kLineEnd + QStringLiteral("Всего точек:") + QString::number(data.Count);
  return text;
}

TFormAbout* ShowPointReport(int channel, int index) {
  const QString report = BuildPointReport(channel, index);
  if (report.isEmpty())
    return nullptr;
  return ShowAboutReport(report);
}
