#pragma once

#include <gtest/gtest.h>
#include <QObject>
#include <QString>

// A part of a window by its object name (the name the window's description
// gives it); the test fails when there is none.
template <typename Part>
Part* Child(const QObject* window, const QString& name) {
  Part* part = window ? window->findChild<Part*>(name) : nullptr;
  EXPECT_NE(part, nullptr) << "no part " << name.toStdString();
  return part;
}

template <typename Part>
Part* Child(const QObject* window, const char* name) {
  return Child<Part>(window, QString::fromLatin1(name));
}
