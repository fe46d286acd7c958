// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include <gtest/gtest.h>

// Tests reach a window's controls as Qt names them: the child of this
// objectName (its .ui name) and type. A missing control fails the test.
template <typename T>
T* Find(const QObject* window, const char* name) {
  T* object = window->findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(object, nullptr) << name;
  return object;
}
