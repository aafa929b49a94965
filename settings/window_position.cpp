#include "settings/window_position.h"

#include "common/text.h"

namespace qv {

WindowPosition ParseWindowPosition(const QString& text) {
  auto field = [&text](int n) { return TextToInt(TextField(text, n, u',')); };
  return {field(0), field(1), field(2), field(3)};
}

QString WindowPositionText(const WindowPosition& p) {
  return QStringLiteral("%1,%2,%3,%4").arg(p.left).arg(p.top).arg(p.width).arg(p.height);
}

}  // namespace qv
