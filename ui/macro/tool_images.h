#pragma once

#include <QList>
#include <QPixmap>

// The pictures of the editor's tool buttons, drawn in code, 24 × 24 on a
// transparent ground.
enum class ToolImage : int {
  Save,
  Print,
  Up,
  Down,
  Add,
  Delete,
  ReadDevice,
  WriteDevice,
  Help,
};
inline constexpr int kToolImageCount = 9;
inline constexpr int kToolImageSize = 24;

QPixmap DrawToolImage(ToolImage image);
// All of them, in the order of ToolImage.
QList<QPixmap> ToolImageList();
