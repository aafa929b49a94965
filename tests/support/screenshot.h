#pragma once

#include <QString>

class QWidget;

// Saves the widget as build/screenshots/<name>.png for a person to look at;
// returns the file's path, empty when it could not be written.
QString SaveScreenshot(QWidget& widget, const QString& name);
