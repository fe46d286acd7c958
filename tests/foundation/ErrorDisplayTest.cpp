// SPDX-License-Identifier: GPL-3.0-or-later
// The application object itself, so this executable makes its own instead of
// the plain QApplication the other widget tests share.
#include <chrono>
#include <stdexcept>

#include <QPushButton>
#include <QStringList>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "ui/ErrorDisplay.h"

namespace {

TEST(ErrorDisplay, ExceptionsLeavingHandlersAreShownAndTheProgramGoesOn) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int argc = 1;
  char name[] = "error_display_tests";
  char* argv[] = {name, nullptr};
  VelbrinApplication app(argc, argv);
  QStringList shown;
  const ErrorSink previous = SetErrorSink([&](const QString& text) {
    shown << text;
    if (text == "thrown in the loop") app.quit();
  });

  int clicks = 0;
  QPushButton button("Save");
  QObject::connect(&button, &QPushButton::clicked, [&] {
    switch (++clicks) {
      case 1:
        throw std::runtime_error("Unable to write to /v/config.ini");
      case 2:
        throw 42;  // not a std::exception
    }
  });
  button.show();
  for (int click = 0; click < 3; ++click) QTest::mouseClick(&button, Qt::LeftButton);
  EXPECT_EQ(clicks, 3);  // the third click found the button working
  EXPECT_EQ(shown, QStringList({"Unable to write to /v/config.ini", "Unknown error"}));

  // An exception in the event loop ends only its own event; the loop runs on.
  QTimer::singleShot(0, [] { throw std::runtime_error("thrown in the loop"); });
  QTimer::singleShot(std::chrono::minutes(1), &app, [&] { app.exit(1); });  // never hang
  EXPECT_EQ(app.exec(), 0);
  EXPECT_EQ(shown.size(), 3);
  EXPECT_EQ(shown.value(2), "thrown in the loop");
  SetErrorSink(previous);
}

}  // namespace
