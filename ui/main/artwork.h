#pragma once

#include <QColor>

#include <QIcon>
#include <QImage>
#include <QList>
#include "ui/main/colours.h"

// The program's colour: the main window's face, the status bar's progress
// fill and the program icon.
inline const QColor kWindowSkyBlue = ToQColor(qv::kSkyBlue);

// The front panel's artwork, drawn in code so that it can be regenerated and
// reviewed: the panel picture (written to a file at build time) and the four
// image lists of the buttons and batteries.
QImage DrawPanelPicture();

// The program icon, size x size with a transparent surround: a charging
// battery under "QV" on a sky-blue plate. Installed as PNGs, also the
// windows' and the tray's icon.
QImage DrawProgramIcon(int size);
QIcon ProgramIcon();

// 26 x 26 on black: 0-3 buttons 1-4 pressed, 4-7 released.
const QList<QImage>& ImageList1();
// 1 x 38 columns: 0 green fill, 1 red fill, 2 dark empty body.
const QList<QImage>& ImageList2();
// 8 x 38 fill tips: 0 green and 1 red ending right, 2 green and 3 red ending left.
const QList<QImage>& ImageList3();
// 12 x 38 end caps with orange corners: 0 green left end, 1 red left end,
// 2 terminal as right end, 3 terminal as left end, 4 green right end, 5 red
// right end.
const QList<QImage>& ImageList4();

inline const QColor kCapCornerColour(255, 128, 64);
