#include "common/settings_record.h"

SettingsRecord Settings;
MacroNameListRecord MacroNameList;
QString CurrentMacroName;
