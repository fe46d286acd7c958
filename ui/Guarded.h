// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <exception>

#include "ui/ErrorDisplay.h"

// Runs a command; an exception ends it and is shown by the application's error display.
template <typename Command>
void RunGuarded(Command&& command) {
  try {
    command();
  } catch (const std::exception& error) {
    ShowException(error);
  }
}
