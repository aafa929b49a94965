#include "ui/main/artwork.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace qv;

namespace {

bool nearColour(QRgb pixel, const QColor& colour, int tolerance) {
  return std::abs(qRed(pixel) - colour.red()) <= tolerance &&
         std::abs(qGreen(pixel) - colour.green()) <= tolerance &&
         std::abs(qBlue(pixel) - colour.blue()) <= tolerance;
}

// The icon is drawn on a 48-unit grid and scaled to each installed size: at
// every size the plate fills the image, sky blue, with rounded corners that
// let the desktop show through.
TEST(ProgramIcon, SkyBluePlateWithClearCornersAtEverySize) {
  for (int size : {16, 48, 256}) {
    SCOPED_TRACE(size);
    const QImage icon = DrawProgramIcon(size);
    ASSERT_EQ(icon.size(), QSize(size, size));
    const auto at = [&](double x, double y) {
      return icon.pixel(int(x * size / 48), int(y * size / 48));
    };
    for (QRgb corner : {at(0, 0), at(47.9, 0), at(0, 47.9), at(47.9, 47.9)})
      EXPECT_EQ(qAlpha(corner), 0);
    EXPECT_EQ(qAlpha(at(24, 3)), 255) << "the plate reaches the top";
    EXPECT_EQ(qAlpha(at(44, 24)), 255) << "and the right edge";
    EXPECT_TRUE(nearColour(at(10, 20), kWindowSkyBlue, 24));
  }
}

}  // namespace
