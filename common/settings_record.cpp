#include "common/settings_record.h"

namespace qv {

SettingsRecord Settings;
MacroNameListRecord MacroNameList;
QString CurrentMacroName;

}  // namespace qv
