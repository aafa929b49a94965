#include "ui/graphs/point_report.h"

#include "acquisition/run_file.h"
#include "acquisition/shared_state.h"
#include "common/text.h"
#include "ui/graphs/graph_tables.h"
#include "ui/main/unitabout.h"

using namespace qv;

namespace {

constexpr int kFieldWidth = 7;
const QString kLineEnd = QStringLiteral("\r\n");

bool validChannel(int channel) {
  return channel >= 0 && channel < 2;
}

// Sample index of values, which must hold it, and the count the last line
// names.
QString reportText(const RunSeries& values, int index, int total) {
  QString text = QStringLiteral("Точка на графике...") + kLineEnd + kLineEnd;
  text += QStringLiteral("Index =") + FormatReportNumber(index) + kLineEnd;
  for (const GraphQuantityInfo& quantity : kGraphQuantities) {
    text += QString::fromUtf8(quantity.reportLabel) +
            FormatReportNumber(values[QuantityField(quantity)][index]) + kLineEnd;
  }
  text += kLineEnd + QStringLiteral("Всего точек:") + QString::number(total);
  return text;
}

TFormAbout* showReport(const QString& report) {
  return report.isEmpty() ? nullptr : ShowAboutReport(report);
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
  // A sample never recorded shows whatever its series holds.
  RunSeries whole = SeriesOf(data);
  whole.count = kSeriesCapacity;
  return reportText(whole, index, data.Count);
}

QString BuildPointReport(const RunSeries& run, int index) {
  if (index < 0 || index >= run.count)
    return {};
  return reportText(run, index, run.count);
}

TFormAbout* ShowPointReport(int channel, int index) {
  return showReport(BuildPointReport(channel, index));
}

TFormAbout* ShowPointReport(const RunSeries& run, int index) {
  return showReport(BuildPointReport(run, index));
}
