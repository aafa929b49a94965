#pragma once

#include <QString>

namespace qv {

// The built-in macro texts: six typical charge programs, one per battery
// kind, and the blank macro that add starts from.
enum class MacroTemplateKind { Pb, NiCd, NiMh, LiPo, LiIon, LiFe, Name0 };

inline constexpr int kMacroTemplateCount = 7;

struct MacroTemplate {
  const char* caption;   // the editor's "Новый" menu item; empty for NAME0
  const char* fileName;  // written by new-from-template
  const char* text;      // one line, no line break
};

extern const MacroTemplate MacroTemplates[kMacroTemplateCount];

const MacroTemplate& MacroTemplateOf(MacroTemplateKind kind);

}  // namespace qv
