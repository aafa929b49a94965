#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <QWidget>
#include <array>

// The texts of the first three status panels from the shared state.
std::array<QString, 3> StatusPanelTexts();
QString ModeName(int mode);
// "hh:nn:ss " since the channel's start while it records, else empty.
QString ElapsedText(int channel);

// The memory-read progress: its text (unclamped) and where the bar ends.
QString ProgressText(double progress);
int ProgressBarRight(const QRect& rect, double progress);

// The owner-drawn fourth panel: a bar over the part read and the percentage.
class ProgressPanel : public QWidget {
  Q_OBJECT

 public:
  explicit ProgressPanel(QWidget* parent = nullptr);
  void setProgress(double progress);
  // Room for the widest percentage a read shows, whatever else the bar holds.
  QSize minimumSizeHint() const override;
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  double progress_ = 0;
};
