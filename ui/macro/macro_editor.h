#pragma once

// Makes the main window's "Редактор QVML" item open the macro editor.
void RegisterMacroEditorWindow();
