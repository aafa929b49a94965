#pragma once

#include <QImage>
#include <QString>

class QWidget;

// Saves the widget as build/screenshots/<name>.png for a person to look at;
// returns the file's path, empty when it could not be written.
QString SaveScreenshot(QWidget& widget, const QString& name);
// The same, read back from the file, so that a test looks at what a person
// will; a null image when it could not be written.
QImage SavedScreenshot(QWidget& widget, const QString& name);
