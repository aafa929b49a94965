#pragma once

#include <QString>

class QAction;

// Why an item is greyed: the charger's protocol has no frames for what it
// would do, or the program holds no such document.
inline const QString kUnavailableHint =
    QStringLiteral("Недоступно: протокол ЗУ не определяет эту команду");
inline const QString kNoDocumentHint =
    QStringLiteral("Недоступно: такого документа в программе нет");

// Greys an item that is already in its menu or tool bar and shows why in its
// tooltip, also in a menu; it keeps its caption and shortcut.
void MarkUnavailable(QAction* action, const QString& why = kUnavailableHint);
