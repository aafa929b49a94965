#include "ui/main/window_layout.h"

#include <QWidget>
#include <algorithm>

using namespace qv;

namespace {

constexpr int kShortest = 85;  // per cent of a window's first size

// One title bar.
int cascadeStep(const QMargins& frame) {
  return std::max(frame.top(), 24);
}

// The client area whose frame has its top left corner at the point.
QRect clientAt(QPoint frameTopLeft, QSize client, const QMargins& frame) {
  return QRect(frameTopLeft + QPoint(frame.left(), frame.top()), client);
}

QRect frameOf(const QRect& client, const QMargins& frame) {
  return client.marginsAdded(frame);
}

// Below the frame of another window, left edges aligned.
QRect below(const QRect& client, QSize size, const QMargins& frame) {
  const QRect outer = frameOf(client, frame);
  return clientAt({outer.left(), outer.bottom() + 1}, size, frame);
}

// Right of the frame of another window, top edges aligned.
QRect rightOf(const QRect& client, QSize size, const QMargins& frame) {
  const QRect outer = frameOf(client, frame);
  return clientAt({outer.right() + 1, outer.top()}, size, frame);
}

// Rather smaller than over another window: down to 85 % of its size (the
// graphs still show whole titles) where the screen ends before it does.
QRect shortenedToFit(QRect client, const QRect& available, const QMargins& frame) {
  const int width = available.right() - frame.right() - client.left() + 1;
  const int height = available.bottom() - frame.bottom() - client.top() + 1;
  client.setWidth(std::clamp(width, client.width() * kShortest / 100, client.width()));
  client.setHeight(std::clamp(height, client.height() * kShortest / 100, client.height()));
  return client;
}

}  // namespace

QMargins FrameMargins(const QWidget& window) {
  const QRect outer = window.frameGeometry();
  const QRect inner = window.geometry();
  return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
          outer.bottom() - inner.bottom()};
}

QRect KeptOnScreen(const QRect& client, const QRect& available, const QMargins& frame) {
  const QSize room = available.marginsRemoved(frame).size();
  const QSize size(std::min(client.width(), room.width()),
                   std::min(client.height(), room.height()));
  QRect outer = frameOf(QRect(client.topLeft(), size), frame);
  outer.moveLeft(std::clamp(outer.left(), available.left(), available.right() + 1 - outer.width()));
  outer.moveTop(std::clamp(outer.top(), available.top(), available.bottom() + 1 - outer.height()));
  return outer.marginsRemoved(frame);
}

QRect StandardPlace(ChildKind kind, const QRect& mainFrame, const QRect& available,
                    const QMargins& frame) {
  const auto sizeOf = [](ChildKind k) { return ChildInfo(k).firstSize; };
  const QRect main = mainFrame.marginsRemoved(frame);
  const QRect dev = rightOf(main, sizeOf(ChildKind::Dev), frame);
  const QRect dev2 = below(dev, sizeOf(ChildKind::Dev2), frame);
  const QRect gra = below(main, sizeOf(ChildKind::Gra), frame);
  const QRect gra2 = rightOf(gra, sizeOf(ChildKind::Gra2), frame);
  QRect place;
  switch (kind) {
    case ChildKind::Dev:
      place = dev;
      break;
    case ChildKind::Dev2:
      place = dev2;
      break;
    case ChildKind::Gra:
      place = gra;
      break;
    case ChildKind::Gra2:
      place = gra2;
      break;
    case ChildKind::Mem:
      place = rightOf(dev, sizeOf(kind), frame);
      break;
    case ChildKind::Qvml:
      place = rightOf(gra2, sizeOf(kind), frame);
      break;
  }
  return KeptOnScreen(shortenedToFit(place, available, frame), available, frame);
}

QRect CascadePlace(int n, QSize client, const QRect& available, const QMargins& frame) {
  const int step = cascadeStep(frame);
  const QPoint corner = available.topLeft() + QPoint(n * step, n * step);
  return KeptOnScreen(clientAt(corner, client, frame), available, frame);
}

QRect FreeWindowPlace(int n, QSize client, const QRect& available, const QMargins& frame) {
  const QSize outer = client.grownBy(frame);
  const QPoint centred = available.center() - QPoint(outer.width() / 2, outer.height() / 2);
  const int step = cascadeStep(frame);
  return KeptOnScreen(clientAt(centred + QPoint(n * step, n * step), client, frame), available,
                      frame);
}
