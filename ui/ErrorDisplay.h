// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <exception>
#include <functional>
#include <string>

#include <QApplication>
#include <QString>

// The application's one error display: an exception that leaves any handler
// is shown in a message box captioned with the application title, and the
// program goes on.
class VelbrinApplication : public QApplication {
 public:
  VelbrinApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};

// Shows the exception the way the application's display does. Tests replace
// the sink to see what would have been shown instead of a modal box.
void ShowException(const std::exception& error);
void ShowExceptionText(const QString& text);
// The same for an exception's text as what() gives it (the local encoding):
// the program sets it as the console runner's error sink.
void ShowErrorText(const std::string& text);
using ErrorSink = std::function<void(const QString& text)>;
// The application title (App/Title of the language file), the display's caption.
void SetErrorCaption(const QString& caption);
QString ErrorCaption();
// Returns the previous sink; an empty sink restores the message box.
ErrorSink SetErrorSink(ErrorSink sink);
