#pragma once

#include <QString>

// The program names its fonts as the charger's first program did ("Terminal",
// "Arial", ...); these map them onto installed fonts with Cyrillic glyphs.
struct FontSubstitution {
  const char* family;
  const char* installed;
};
inline constexpr FontSubstitution kFontSubstitutions[] = {
    {"Terminal", "DejaVu Sans Mono"},
    {"Arial", "Liberation Sans"},
    {"Arial Narrow", "Liberation Sans Narrow"},
    {"Courier New", "Liberation Mono"},
    {"Tahoma", "DejaVu Sans"},
};

void InstallFontSubstitutions();
