#include "ui/main/status_bar.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "acquisition/query.h"
#include "acquisition/shared_state.h"
#include "common/clock.h"
#include "common/settings_record.h"
#include "common/text.h"
#include "link/device_link.h"
#include "link/port.h"
#include "ui/main/artwork.h"

using namespace qv;

namespace {

constexpr int kTextTop = 4;
constexpr int kProgressMargin = 12;

QString channelText(int channel) {
  const ChannelRecord& c = ChannelData[channel];
  return QStringLiteral("Ch%1:").arg(channel + 1) + ModeName(c.Mode) + QLatin1Char(' ') +
         ElapsedText(channel) + StateLetters(ChargerState.StatusBits, channel);
}

}  // namespace

QString ModeName(int mode) {
  static const QString names[] = {QStringLiteral("ЗУ"), QStringLiteral("БП Vc"),
                                  QStringLiteral("БП Ic"), QStringLiteral("Макро")};
  if (mode >= 0 && mode < 4)
    return names[mode];
  return QStringLiteral("Режим ") + QString::number(mode);
}

QString ElapsedText(int channel) {
  const ChannelRecord& c = ChannelData[channel];
  if (c.StartTime == 0 || c.State == kStateIdle)
    return {};
  return TimeText(Now() - c.StartTime) + QLatin1Char(' ');
}

std::array<QString, 3> StatusPanelTexts() {
  if (!DeviceLink.PortOpen) {
    return {QStringLiteral("COM off"), QStringLiteral("Ch1: off"), QStringLiteral("Ch2: off")};
  }
  const QString port = DeviceLink.DemoCharger
                           ? kDemoPortName
                           : QStringLiteral("COM") + QString::number(Settings.COM);
  const QString link = QStringLiteral("%1=>%2 (%3/%4/%5)")
                           .arg(port, ChargerState.VersionText)
                           .arg(DeviceLink.BytesReceived)
                           .arg(DeviceLink.BytesSent)
                           .arg(DeviceLink.Retries);
  return {link, channelText(0), channelText(1)};
}

QString ProgressText(double progress) {
  return FormatNumber(QStringLiteral("0.0"), progress * 100) + QLatin1Char('%');
}

int ProgressBarRight(const QRect& rect, double progress) {
  const double p = std::clamp(progress, 0.0, 1.0);
  const int left = rect.left();
  const int right = rect.left() + rect.width();
  return static_cast<int>(std::trunc(left + (right - left) * p));
}

ProgressPanel::ProgressPanel(QWidget* parent) : QWidget(parent) {
  setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Preferred);
}

QSize ProgressPanel::minimumSizeHint() const {
  const int text = QFontMetrics(font()).horizontalAdvance(ProgressText(1));
  return {text + 2 * kProgressMargin, QFontMetrics(font()).height()};
}

QSize ProgressPanel::sizeHint() const {
  return minimumSizeHint();
}

void ProgressPanel::setProgress(double progress) {
  progress_ = progress;
  repaint();
}

void ProgressPanel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QColor face = palette().color(QPalette::Button);
  const QString text = ProgressText(progress_);
  const double p = std::clamp(progress_, 0.0, 1.0);
  if (p == 0) {
    painter.fillRect(rect(), face);
    return;
  }
  const int edge = ProgressBarRight(rect(), p);
  painter.fillRect(QRect(QPoint(rect().left(), rect().top()), QPoint(edge - 1, rect().bottom())),
                   kWindowSkyBlue);
  painter.fillRect(QRect(QPoint(edge, rect().top()), rect().bottomRight()), face);
  painter.setPen(palette().color(QPalette::WindowText));
  const QFontMetrics metrics(font());
  const int x =
      (rect().left() + rect().left() + rect().width() - metrics.horizontalAdvance(text)) / 2;
  painter.drawText(x, kTextTop + metrics.ascent(), text);
}
