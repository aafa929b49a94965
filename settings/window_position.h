#pragma once

#include <QString>

namespace qv {

// A window position text: left, top, client width, client height, separated
// by commas. Read field by field; a missing or non-numeric field reads as 0.
struct WindowPosition {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

WindowPosition ParseWindowPosition(const QString& text);
// Written without blanks, e.g. "120,80,640,300".
QString WindowPositionText(const WindowPosition& position);

}  // namespace qv
