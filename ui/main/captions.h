#pragma once

#include <QString>

// The main window's caption, also the title of the program's message boxes.
inline const QString kMainWindowCaption = QStringLiteral("QV v2.0");
