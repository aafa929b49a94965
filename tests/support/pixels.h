#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>

class QTextEdit;
class QWidget;

// Reading what a window shows from a picture of it. Colours match within a
// tolerance on each of red, green and blue, so that smoothed edges still count.
inline constexpr int kColourTolerance = 40;

bool SameColour(const QColor& a, const QColor& b, int tolerance = kColourTolerance);
// Whether a pixel of the colour lies within radius pixels of the point, on
// either axis.
bool ColourNear(const QImage& image, QPoint point, const QColor& colour, int radius,
                int tolerance = kColourTolerance);
// The pixels of the colour within the rectangle.
int ColourCount(const QImage& image, const QRect& area, const QColor& colour,
                int tolerance = kColourTolerance);
// Where a paragraph (a line, unless it wraps) of a text box shows in a picture
// of its window, cut to the box's view; empty when scrolled out of it.
QRect ShownParagraph(const QTextEdit& box, const QWidget& window, int paragraph);
