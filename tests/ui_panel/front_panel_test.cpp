#include "ui/main/front_panel.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLocale>
#include <cstring>

#include "acquisition/shared_state.h"
#include "common/commands.h"
#include "common/folders.h"
#include "tests/support/printers.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_host.h"
#include "ui/main/fonts.h"

using namespace qv;

namespace {

struct HitCase {
  QPoint point;
  int button;
};

TEST(PanelHitTest, StrictlyInsideThirteenPixels) {
  const HitCase cases[] = {
      {{275 + 12, 343}, 1},     {{275 + 13, 343}, 0}, {{275, 343 - 12}, 1}, {{320, 343}, 2},
      {{365 + 9, 343 + 9}, 3},  // 81 + 81 < 169
      {{365 + 10, 343 + 9}, 0}, {{410, 343}, 4},      {{410, 356}, 0},      {{0, 0}, 0},
      {{799, 479}, 0},
  };
  for (const HitCase& c : cases)
    EXPECT_EQ(HitTest(c.point.x(), c.point.y()), c.button) << c.point;
}

TEST(PanelHitTest, ReleasePositionChoosesTheCommand) {
  EXPECT_EQ(ButtonCommand(0), U_GiveMeScr);
  EXPECT_EQ(ButtonCommand(1), U_CANCEL);
  EXPECT_EQ(ButtonCommand(2), U_DOWN);
  EXPECT_EQ(ButtonCommand(3), U_UP);
  EXPECT_EQ(ButtonCommand(4), U_OK);
  EXPECT_EQ(ButtonCommand(5), U_GiveMeScr);
}

TEST(PanelMouseMapping, ScalesFromTheControlToThePicture) {
  EXPECT_EQ(MapToPicture({640, 686}, {1600, 960}), QPoint(320, 343));
  EXPECT_EQ(HitTest(320, 343), 2);
  EXPECT_EQ(MapToPicture({287, 343}, {800, 480}), QPoint(287, 343));
  // Truncated, not rounded: 799 * 800 / 801 is 798.0...
  EXPECT_EQ(MapToPicture({799, 1}, {801, 481}), QPoint(798, 0));
  // A control without area maps nowhere near a button.
  EXPECT_EQ(HitTest(MapToPicture({5, 5}, {0, 0}).x(), MapToPicture({5, 5}, {0, 0}).y()), 0);
}

class PanelState : public ::testing::Test {
 protected:
  PanelState() {
    InstallFontSubstitutions();
    InitSharedState();
    QLocale::setDefault(QLocale::c());
  }
  void setRow(int row, const char* text) {
    std::memcpy(ScreenImage.Chars + 20 * row, text, std::strlen(text));
  }
  QList<int> blankCells() {
    QList<int> cells;
    const auto blank = BlankCells();
    for (int i = 0; i < kScreenCells; ++i) {
      if (blank[i])
        cells << i;
    }
    return cells;
  }
};

struct BlankCase {
  const char* name;
  const char* row0;
  const char* row1;
  int cursor;
  bool blink;
  QList<int> blank;
};

TEST_F(PanelState, BlankFlagRunsFromTheCursorToTheNextSpace) {
  const BlankCase cases[] = {
      {"word", "AB CDEF GH          ", "                    ", 5, true, {5, 6}},
      {"cursor on a space", "AB CDEF GH          ", "                    ", 2, true, {}},
      {"blink phase off", "AB CDEF GH          ", "                    ", 5, false, {}},
      {"no cursor", "AB CDEF GH          ", "                    ", 80, true, {}},
      {"start value", "AB CDEF GH          ", "                    ", 255, true, {}},
      {"runs onto the next row",
       "ABCDEFGHIJKLMNOPQRST",
       "UV WX               ",
       18,
       true,
       {18, 19, 20, 21}},
      {"last cell", "                    ", "                   Z", 39, true, {39}},
  };
  for (const BlankCase& c : cases) {
    InitSharedState();
    std::memset(ScreenImage.Chars, ' ', kScreenCells);
    setRow(0, c.row0);
    setRow(1, c.row1);
    ScreenImage.CursorPos = uint8_t(c.cursor);
    ScreenImage.Blink = c.blink;
    EXPECT_EQ(blankCells(), c.blank) << c.name;
  }
}

struct FillCase {
  int percent;
  BatteryLayout layout;
};

TEST(BatteryIndicator, FillOffsets) {
  const FillCase cases[] = {
      {0, {6, 69, 6, -1}},                              // no fill, no tip
      {5, {6, 69, 6, 6}},                               // 3.65 covers no column: only the tip
      {10, {10, 69, 10, 10}},  {60, {10, 69, 44, 44}},  // fill 10 to 43, tip at 44
      {80, {10, 73, 59, 59}},  {93, {10, 73, 68, -1}},  // the fill reaches 67: no room for the tip
      {100, {10, 73, 73, -1}},                          // stops after offset 72
  };
  for (const FillCase& c : cases) {
    const BatteryLayout l = BatteryFill(c.percent);
    EXPECT_EQ(l.start, c.layout.start) << c.percent;
    EXPECT_EQ(l.bodyEnd, c.layout.bodyEnd) << c.percent;
    EXPECT_EQ(l.fillEnd, c.layout.fillEnd) << c.percent;
    EXPECT_EQ(l.tip, c.layout.tip) << c.percent;
  }
}

bool isYellow(QRgb p) {
  return qRed(p) > 200 && qGreen(p) > 200 && qBlue(p) < 90;
}
bool isGreen(QRgb p) {
  return qGreen(p) > qRed(p) + 60 && qGreen(p) > qBlue(p) + 60;
}
bool isRed(QRgb p) {
  return qRed(p) > qGreen(p) + 60 && qRed(p) > qBlue(p) + 60;
}
bool isOrange(QRgb p) {
  return qRed(p) == 255 && qGreen(p) == 128 && qBlue(p) == 64;
}

int yellowPixelsInCell(int cell) {
  const QRect rect(224 + 12 * (cell % 20), 216 + 20 * (cell / 20), 12, 20);
  int n = 0;
  for (int y = rect.top(); y <= rect.bottom(); ++y) {
    for (int x = rect.left(); x <= rect.right(); ++x)
      n += isYellow(PanelBitmap.pixel(x, y));
  }
  return n;
}

// Drawing over the real picture, from a program folder that holds it.
class PanelDrawing : public PanelState {
 protected:
  PanelDrawing() {
    QFile::copy(QStringLiteral(QV_PICTURE_PATH), folder.file(kPanelPictureFile));
    savedCurrent = QDir::currentPath();
    QDir::setCurrent(QDir::tempPath());
  }
  ~PanelDrawing() override { QDir::setCurrent(savedCurrent); }

  TempProgramFolder folder;
  QString savedCurrent;
};

TEST_F(PanelDrawing, DisplayBlinksTheRunFromTheCursor) {
  std::memset(ScreenImage.Chars, ' ', kScreenCells);
  setRow(0, "AB CDEF GH");
  ScreenImage.CursorPos = 5;
  ASSERT_TRUE(DrawWholePanel());
  for (int cell : {0, 1, 3, 4, 5, 6, 8, 9})
    EXPECT_GT(yellowPixelsInCell(cell), 5) << cell;
  for (int cell : {2, 7, 10, 79})
    EXPECT_EQ(yellowPixelsInCell(cell), 0) << cell;

  // The next tick's drawing takes away what the last one drew.
  ScreenImage.Blink = true;
  DrawDisplay();
  for (int cell : {0, 1, 3, 4, 8, 9})
    EXPECT_GT(yellowPixelsInCell(cell), 5) << cell;
  for (int cell : {5, 6})
    EXPECT_EQ(yellowPixelsInCell(cell), 0) << cell;

  ScreenImage.Blink = false;
  std::memset(ScreenImage.Chars, ' ', kScreenCells);
  DrawDisplay();
  for (int cell = 0; cell < kScreenCells; ++cell)
    EXPECT_EQ(yellowPixelsInCell(cell), 0) << cell;
}

TEST_F(PanelDrawing, CyrillicCellsAreDrawn) {
  std::memset(ScreenImage.Chars, ' ', kScreenCells);
  ScreenImage.Chars[0] = 0xC7;  // З
  ScreenImage.Chars[1] = 0xF3;  // у
  PanelBitmap.fill(Qt::black);
  DrawDisplay();
  EXPECT_GT(yellowPixelsInCell(0), 5);
  EXPECT_GT(yellowPixelsInCell(1), 5);
}

TEST_F(PanelDrawing, PressedAndReleasedButtonImages) {
  ASSERT_TRUE(DrawWholePanel());
  ASSERT_EQ(PanelBitmap.size(), QSize(800, 480));
  EXPECT_EQ(ButtonCentre[0], QPoint(275, 343));
  EXPECT_EQ(ButtonCentre[1], QPoint(320, 343));
  EXPECT_EQ(ButtonCentre[2], QPoint(365, 343));
  EXPECT_EQ(ButtonCentre[3], QPoint(410, 343));
  // The centre of each symbol: light blue when released.
  for (const QPoint& c : ButtonCentre) {
    const QRgb p = PanelBitmap.pixel(c);
    EXPECT_GT(qBlue(p), 200) << c;
    EXPECT_GT(qGreen(p), 150) << c;
  }
  // Black around the symbol is transparent: the grey well shows.
  const QRgb well = PanelBitmap.pixel(275 + 11, 343 - 3);
  EXPECT_EQ(qRed(well), qGreen(well));
  EXPECT_GT(qRed(well), 70);

  DrawButtons(1);
  const QRgb pressed = PanelBitmap.pixel(ButtonCentre[0]);
  EXPECT_LT(qGreen(pressed), 40);
  EXPECT_GT(qBlue(pressed), 120);
  EXPECT_GT(qGreen(PanelBitmap.pixel(ButtonCentre[3])), 150) << "others keep their drawing";
}

TEST_F(PanelDrawing, BatteriesFillByIndexAndHideTheirCorners) {
  ASSERT_TRUE(DrawWholePanel());
  // Battery i of each side is filled to 10 i percent; battery 6 (top, y 97)
  // to 60: fill up to offset 43. Row 4 lies above the battery's text.
  const int top = 97 + 4;
  EXPECT_TRUE(isGreen(PanelBitmap.pixel(35 + 20, top)));
  EXPECT_FALSE(isGreen(PanelBitmap.pixel(35 + 60, top)));
  EXPECT_TRUE(isRed(PanelBitmap.pixel(764 - 20, top)));
  EXPECT_FALSE(isRed(PanelBitmap.pixel(764 - 60, top)));
  // Battery 0 (bottom, y 397) has no fill at all.
  EXPECT_FALSE(isGreen(PanelBitmap.pixel(35 + 20, 397 + 4)));
  EXPECT_FALSE(isRed(PanelBitmap.pixel(764 - 20, 397 + 4)));
  // The caps' orange corners never show.
  for (int y = 0; y < 480; ++y) {
    for (int x : {35, 36, 35 + 79, 764 - 1, 764 - 80}) {
      ASSERT_FALSE(isOrange(PanelBitmap.pixel(x, y))) << x << "," << y;
    }
  }
}

TEST_F(PanelDrawing, PictureFromTheWorkingFolderComesFirst) {
  EXPECT_EQ(FindPanelPicture(), QFileInfo(folder.file(kPanelPictureFile)).absoluteFilePath());
  TempProgramFolder working;
  QImage(800, 480, QImage::Format_RGB32).save(working.file(kPanelPictureFile), "BMP");
  QDir::setCurrent(working.path());
  EXPECT_EQ(FindPanelPicture(), QFileInfo(working.file(kPanelPictureFile)).absoluteFilePath());
}

// Installed, the executable lies in PREFIX/bin and the picture in
// PREFIX/share/qv20, away from the program folder (--home, the user's folder).
TEST_F(PanelDrawing, PictureBesideTheExecutableOrInItsInstalledDataFolder) {
  QFile::remove(folder.file(kPanelPictureFile));
  const QString prefix = folder.file("prefix/");
  TestHost().executableFolder = prefix + "bin";
  for (const char* where : {"bin/", "share/qv20/"}) {
    const QString picture = prefix + where + kPanelPictureFile;
    QDir().mkpath(prefix + where);
    ASSERT_TRUE(QFile::copy(QStringLiteral(QV_PICTURE_PATH), picture));
    EXPECT_EQ(FindPanelPicture(), picture);
    EXPECT_TRUE(DrawWholePanel()) << where;
    QFile::remove(picture);
  }
  EXPECT_EQ(FindPanelPicture(), QString());
}

TEST_F(PanelDrawing, MissingOrBrokenPictureLeavesAnEmptyPanel) {
  QFile::remove(folder.file(kPanelPictureFile));
  EXPECT_EQ(FindPanelPicture(), QString());
  EXPECT_FALSE(DrawWholePanel());
  EXPECT_EQ(PanelBitmap.size(), QSize(800, 480));
  EXPECT_EQ(PanelBitmap.pixel(400, 100), qRgb(255, 255, 255));

  for (const QByteArray& junk :
       {QByteArray(), QByteArray("BM\x10\x00", 4), QByteArray(5000, 'x')}) {
    WriteAll(folder.file(kPanelPictureFile), junk);
    EXPECT_FALSE(DrawWholePanel()) << junk.size();
    EXPECT_EQ(PanelBitmap.size(), QSize(800, 480));
  }
}

TEST_F(PanelDrawing, PictureOfAnotherSizeIsFitted) {
  QImage small(400, 240, QImage::Format_RGB32);
  small.fill(Qt::darkGray);
  small.save(folder.file(kPanelPictureFile), "BMP");
  ASSERT_TRUE(DrawWholePanel());
  EXPECT_EQ(PanelBitmap.size(), QSize(800, 480));
  EXPECT_EQ(HitTest(275, 343), 1);
}

}  // namespace
