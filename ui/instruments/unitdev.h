#pragma once

#include "ui/main/child_window.h"

// Ticks of each channel's instruments window until its delayed height fix and
// redraw; it keeps counting below zero, which means nothing is pending. It
// outlives the windows.
extern int RedrawCountdown[2];

// The instruments window of one channel (0 or 1): its current and voltage
// dials side by side, the client height held at half the width.
class TFormDev : public ChildWindow {
  Q_OBJECT

 public:
  explicit TFormDev(int channel, QWidget* parent = nullptr);

  int channel() const { return channel_; }

 protected:
  void shown() override;
  void tick() override;
  bool event(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void FormActivate();
  void FormResize();
  void fixHeight();
  void drawDials();

  const int channel_;
  int drawnMeasurement_ = -1;  // the measurement the dials last showed
};
