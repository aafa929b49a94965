#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

#include "ui/main/child_window.h"

class QWidget;

// Where the child windows go when the user has not placed them, and the two
// arrangements of the "Окна" menu. Every rectangle is a client area; frame
// is what the window manager adds around one (title bar, borders).

// What the window manager adds around the window's client area.
QMargins FrameMargins(const QWidget& window);

// A client area moved (and shrunk when it is too big) so that its frame lies
// on the available area of the screen.
QRect KeptOnScreen(const QRect& client, const QRect& available, const QMargins& frame);

// The standard place of a window around the main window: the instruments to
// its right, one below the other, and the memory viewer right of them; the
// graphs below it, side by side, and the macro editor right of them. A window
// the screen ends before gives up to 15 % of its size, then moves onto the
// screen, overlapping others where the screen is too small.
QRect StandardPlace(ChildKind kind, const QRect& mainFrame, const QRect& available,
                    const QMargins& frame);

// The n-th window (from 0) of a cascade from the screen's top left, each one
// a title bar lower and further right; on the screen.
QRect CascadePlace(int n, QSize client, const QRect& available, const QMargins& frame);

// The n-th (from 0) of the windows beside the six that are open: centred on
// the screen, each later one a title bar lower and further right; on the
// screen.
QRect FreeWindowPlace(int n, QSize client, const QRect& available, const QMargins& frame);
