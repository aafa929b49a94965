#pragma once

#include <cstdint>

namespace qv {

// The program's colours, each named once; the windows turn them into their
// toolkit's colour (ui/main/colours.h).
struct Rgb {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// File-local constants (not inline): an inline variable of the same name
// elsewhere would be merged with these at link time.
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kDarkRed{208, 0, 0};
constexpr Rgb kLightRed{255, 160, 160};
constexpr Rgb kGreen{0, 128, 0};
constexpr Rgb kLightGreen{160, 255, 160};
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kSkyBlue{166, 202, 240};  // the main window's face
constexpr Rgb kLavender{214, 202, 240};
constexpr Rgb kPurple{128, 0, 128};
constexpr Rgb kYellow{255, 255, 0};
constexpr Rgb DialFaceColour{160, 240, 240};  // a dial without a set point

// The lines of a channel's graphs, one a quantity.
constexpr Rgb kMagenta{255, 0, 255};
constexpr Rgb kOrange{255, 128, 0};
constexpr Rgb kViolet{128, 0, 255};
constexpr Rgb kPink{255, 128, 128};
constexpr Rgb kPaleCyan{128, 255, 255};
constexpr Rgb kLime{0, 255, 0};

// The lines of overlaid runs: far apart on the screen and on paper, and none
// of them pale.
constexpr Rgb kRunRed{220, 0, 0};
constexpr Rgb kRunGreen{0, 140, 0};
constexpr Rgb kRunViolet{128, 0, 200};
constexpr Rgb kTeal{0, 160, 160};
constexpr Rgb kBrown{140, 80, 20};

}  // namespace qv
