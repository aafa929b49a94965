#pragma once

#include <QColor>

#include "common/palette.h"

inline QColor ToQColor(qv::Rgb colour) {
  return QColor(colour.red, colour.green, colour.blue);
}
