#include "tests/support/pixels.h"

#include <QAbstractTextDocumentLayout>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <cmath>
#include <cstdlib>

bool SameColour(const QColor& a, const QColor& b, int tolerance) {
  return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
         std::abs(a.blue() - b.blue()) <= tolerance;
}

bool ColourNear(const QImage& image, QPoint point, const QColor& colour, int radius,
                int tolerance) {
  const QRect around(point - QPoint(radius, radius), point + QPoint(radius, radius));
  return ColourCount(image, around, colour, tolerance) > 0;
}

int ColourCount(const QImage& image, const QRect& area, const QColor& colour, int tolerance) {
  const QRect inside = area.intersected(image.rect());
  int count = 0;
  for (int y = inside.top(); y <= inside.bottom(); ++y) {
    for (int x = inside.left(); x <= inside.right(); ++x) {
      if (SameColour(image.pixelColor(x, y), colour, tolerance))
        ++count;
    }
  }
  return count;
}

QRect ShownParagraph(const QTextEdit& box, const QWidget& window, int paragraph) {
  QTextDocument* document = box.document();
  QRectF area =
      document->documentLayout()->blockBoundingRect(document->findBlockByNumber(paragraph));
  area.translate(-box.horizontalScrollBar()->value(), -box.verticalScrollBar()->value());
  // Whole pixels only, so that neighbours do not overlap.
  const int top = static_cast<int>(std::ceil(area.top()));
  const int bottom = static_cast<int>(std::floor(area.bottom())) - 1;
  const QRect inView = QRect(QPoint(static_cast<int>(area.left()), top),
                             QPoint(static_cast<int>(area.right()), bottom))
                           .intersected(box.viewport()->rect());
  return inView.isEmpty() ? QRect() : inView.translated(box.viewport()->mapTo(&window, QPoint()));
}
