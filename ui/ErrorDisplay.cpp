// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ErrorDisplay.h"

#include <QMessageBox>

namespace {

ErrorSink& Sink() {
  static ErrorSink sink;
  return sink;
}

QString& Caption() {
  static QString caption;
  return caption;
}

}  // namespace

VelbrinApplication::VelbrinApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool VelbrinApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    ShowException(error);
  } catch (...) {
    ShowExceptionText(QStringLiteral("Unknown error"));
  }
  return false;
}

void ShowException(const std::exception& error) { ShowErrorText(error.what()); }

void ShowErrorText(const std::string& text) {
  ShowExceptionText(QString::fromLocal8Bit(text.c_str()));
}

void ShowExceptionText(const QString& text) {
  if (Sink()) {
    Sink()(text);
    return;
  }
  QMessageBox box(QMessageBox::Critical, ErrorCaption(), text, QMessageBox::Ok,
                  QApplication::activeWindow());
  box.exec();
}

ErrorSink SetErrorSink(ErrorSink sink) {
  ErrorSink previous = std::move(Sink());
  Sink() = std::move(sink);
  return previous;
}

void SetErrorCaption(const QString& caption) { Caption() = caption; }

QString ErrorCaption() { return Caption(); }
