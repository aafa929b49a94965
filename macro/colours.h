#pragma once

#include <cstdint>

#include "common/palette.h"

namespace qv {

// The colours of the macro text and the hex view, and the runs in which the
// formatter and the listing hand them to a window.

using MacroColour = Rgb;

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

}  // namespace qv
