#pragma once

#include <cstdint>

// The colours of the macro text and the hex view, and the runs in which the
// formatter and the listing hand them to a window.

struct MacroColour {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  friend bool operator==(const MacroColour&, const MacroColour&) = default;
};

// File-local constants (not inline): an inline variable of the same name in a
// window header would be merged with these at link time, and the formatter
// would read that object's bytes as its colour.
constexpr MacroColour kBlack{0, 0, 0};
constexpr MacroColour kWhite{255, 255, 255};
constexpr MacroColour kLightRed{255, 160, 160};
constexpr MacroColour kLightGreen{160, 255, 160};
constexpr MacroColour kSkyBlue{166, 202, 240};
constexpr MacroColour kLavender{214, 202, 240};
constexpr MacroColour kPurple{128, 0, 128};
constexpr MacroColour kBlue{0, 0, 255};
constexpr MacroColour kGreen{0, 128, 0};
constexpr MacroColour kYellow{255, 255, 0};

// Characters start .. start + length - 1 of a text, every line break counting
// as one character. Runs are applied in order; a later one overrides.
struct MacroColourRun {
  int start = 0;
  int length = 0;
  MacroColour text = kBlack;
  MacroColour background = kWhite;
  bool bold = false;
  friend bool operator==(const MacroColourRun&, const MacroColourRun&) = default;
};
