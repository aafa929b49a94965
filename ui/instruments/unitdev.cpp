#include "ui/instruments/unitdev.h"

#include <QEvent>
#include <QFont>
#include <QPainter>

#include "acquisition/recording.h"
#include "acquisition/shared_state.h"
#include "ui/instruments/dials.h"

using namespace qv;

int RedrawCountdown[2] = {0, 0};

namespace {

constexpr int kRedrawDelayTicks = 2;

struct InstrumentsWindowInfo {
  ChildKind kind;
  const char* caption;
  QSize designSize;
};

const InstrumentsWindowInfo kWindows[2] = {
    {ChildKind::Dev, "Приборы 1 канала", {426, 220}},
    {ChildKind::Dev2, "Приборы 2 канала", {426, 198}},
};

}  // namespace

TFormDev::TFormDev(int channel, QWidget* parent)
    : ChildWindow(kWindows[channel].kind, parent), channel_(channel) {
  const InstrumentsWindowInfo& info = kWindows[channel];
  setWindowTitle(QString::fromUtf8(info.caption));
  setBackgroundRole(QPalette::Button);
  setAutoFillBackground(true);
  QFont tahoma(QStringLiteral("Tahoma"));
  tahoma.setPixelSize(11);
  setFont(tahoma);
  resize(info.designSize);
}

void TFormDev::shown() {
  RedrawCountdown[channel_] = kRedrawDelayTicks;
}

void TFormDev::tick() {
  if (drawnMeasurement_ != MeasurementCount())
    drawDials();  // the needles follow the charger
  const int pending = RedrawCountdown[channel_]--;
  if (pending != 1)
    return;
  fixHeight();
  drawDials();
}

bool TFormDev::event(QEvent* event) {
  const bool handled = ChildWindow::event(event);
  if (event->type() == QEvent::WindowActivate)
    FormActivate();
  return handled;
}

void TFormDev::resizeEvent(QResizeEvent* event) {
  ChildWindow::resizeEvent(event);
  FormResize();
}

// The dials are drawn whenever the window system asks too, so that parts
// another window covered come back.
void TFormDev::paintEvent(QPaintEvent*) {
  QPainter canvas(this);
  const ChannelRecord& channel = ChannelData[channel_];
  for (const int kind : {kCurrentDial, kVoltageDial})
    DrawDialReading(canvas, size(), kind, LiveDialReading(channel, kind));
  drawnMeasurement_ = MeasurementCount();
}

void TFormDev::FormActivate() {
  fixHeight();
  drawDials();
}

// The height is left as it is here, so the dials follow a dragged border.
void TFormDev::FormResize() {
  RedrawCountdown[channel_] = kRedrawDelayTicks;
  drawDials();
}

// Two square panels side by side fill the client area.
void TFormDev::fixHeight() {
  const int height = width() / 2;
  if (height != this->height())
    resize(width(), height);
}

void TFormDev::drawDials() {
  update();
}
