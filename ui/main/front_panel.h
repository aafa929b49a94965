#pragma once

#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

// The charger's front panel in picture coordinates (800 x 480, origin top
// left): the mirrored display, the four buttons, the measured values and seven
// battery indicators a side, all drawn into PanelBitmap.
inline constexpr int kPictureWidth = 800;
inline constexpr int kPictureHeight = 480;
inline constexpr int kPanelButtons = 4;

extern QImage PanelBitmap;
// Centres of buttons 1 to 4 (index 0 to 3), set by every whole-panel drawing.
extern QPoint ButtonCentre[kPanelButtons];

inline const QString kPanelPictureFile = QStringLiteral("qv2x.bmp");
// Where the picture is looked for, in this order: the working folder, the
// program folder, the executable's folder and the installed data folder.
QStringList PanelPictureFolders();
// The picture in the first of those folders that holds it; empty when none
// does.
QString FindPanelPicture();

// Reloads the picture and draws everything on it. False, with PanelBitmap an
// empty 800 x 480 picture that the display is then drawn on, when the
// picture cannot be loaded.
bool DrawWholePanel();
// 0: all four buttons released; 1 to 4: only that button pressed.
void DrawButtons(int pressed);
// The 80 display cells, with the run from the cursor to the next blank
// hidden while the blink phase is set.
void DrawDisplay();

// Which cells the display drawing leaves blank now.
std::array<bool, 80> BlankCells();
// Button 1 to 4 strictly inside its 13-pixel circle, else 0.
int HitTest(int x, int y);
// A mouse position in a picture control of the given size, in picture
// coordinates.
QPoint MapToPicture(QPoint mouse, QSize controlSize);
// The command a release over button b (0: none) sends.
uint8_t ButtonCommand(int button);

// Offsets along a battery for a fill percentage: the body from start to
// bodyEnd (exclusive), the fill columns from start to fillEnd (exclusive)
// and the tip at tip, -1 for none.
struct BatteryLayout {
  int start;
  int bodyEnd;
  int fillEnd;
  int tip;
};
BatteryLayout BatteryFill(int percent);
