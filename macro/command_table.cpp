#include "macro/command_table.h"

#include "common/text.h"

namespace qv {

namespace {

MacroCommand commandFromText(const char* text) {
  const QString line = QString::fromLatin1(text);
  return {TextToInt(TextField(line, 0, u'|')), line.section(u'|', 1)};
}

}  // namespace

const MacroCommand MacroCommandTable[kMacroCommandCount] = {
    commandFromText("1|MACRO(#S)"),
    commandFromText("2|END_MACRO"),
    commandFromText("3|DISCHARGE_SECTION"),
    commandFromText("4|CHARGE_SECTION"),
    commandFromText("5|END_SECTION"),
    commandFromText("6|CYCLE(#I)"),
    commandFromText("7|END_CYCLE"),
    commandFromText("8|FAZE"),
    commandFromText("9|END_FAZE"),
    commandFromText("20|START_SHABLON=#I"),
    commandFromText("21|AKK_TYPE=#I"),
    commandFromText("22|SERIES=#I"),
    commandFromText("23|CAPACITY=#L"),
    commandFromText("40|STOP_MACRO"),
    commandFromText("41|PAUSE_MACRO(#L)"),
    commandFromText("42|STOP_FAZE"),
    commandFromText("43|PAUSE_FAZE(#L)"),
    commandFromText("44|CONTINUE_FAZE"),
    commandFromText("60|CONSTANT_I=#F"),
    commandFromText("61|CONSTANT_V=#F"),
    commandFromText("62|STATIC_V(#I, #F, #I, #F)"),
    commandFromText("63|TRICKLE(#F, #F, #F)"),
    commandFromText("64|DESULF(#I, #F, #I, #F)"),
    commandFromText("80|IF(T<#I)"),
    commandFromText("81|IF(T>#I)"),
    commandFromText("82|IF(V<#F)"),
    commandFromText("83|IF(V>#F)"),
    commandFromText("84|IF(I<#F)"),
    commandFromText("85|IF(Tc>#I)"),
    commandFromText("86|IF(Tc<#I)"),
    commandFromText("87|IF(t<#L)"),
    commandFromText("88|IF(t>#L)"),
    commandFromText("89|IF(DELTA_PEAK>#F)"),
    commandFromText("100|MUSIC(#I)"),
    commandFromText("101|LIGHT(#I)"),
};

int MacroOperandCount(int entry) {
  return CountChar(MacroCommandTable[entry].pattern, u'#');
}

OperandKind MacroOperandKind(int entry, int k) {
  const QString& pattern = MacroCommandTable[entry].pattern;
  qsizetype at = -1;
  for (int i = 0; i <= k; ++i) {
    at = pattern.indexOf(u'#', at + 1);
    if (at < 0)
      return OperandKind::I;
  }
  const QChar letter = at + 1 < pattern.size() ? pattern[at + 1] : QChar(u'I');
  return static_cast<OperandKind>(letter.toLatin1());
}

}  // namespace qv
