// SPDX-License-Identifier: GPL-3.0-or-later
#include "console/ConsoleErrorSink.h"

#include <exception>

#include <QDebug>
#include <QString>

namespace {

TConsoleErrorSink& Sink() {
  static TConsoleErrorSink sink;
  return sink;
}

void Report(const std::string& text) {
  if (Sink())
    Sink()(text);
  else
    qCritical().noquote() << QString::fromLocal8Bit(text.c_str());
}

}  // namespace

TConsoleErrorSink SetConsoleErrorSink(TConsoleErrorSink sink) {
  TConsoleErrorSink previous = std::move(Sink());
  Sink() = std::move(sink);
  return previous;
}

void RunReportingErrors(const std::function<void()>& action) {
  try {
    action();
  } catch (const std::exception& error) {
    Report(error.what());
  } catch (...) {
    Report("Unknown error");
  }
}
