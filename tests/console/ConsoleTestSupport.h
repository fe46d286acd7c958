// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "console/ConsoleIO.h"

using namespace std::chrono_literals;

// Handles events until done holds or the limit passed; returns whether it held.
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = 30s);

// The test child started in the given mode (mode and arguments as command text).
std::string Child(const std::string& arguments);

int OpenDescriptorCount();
int ThreadCount();

// Everything a runner reports, in arrival order.
struct Recorder {
  explicit Recorder(TConsoleIO& runner);
  std::vector<std::string> events;  // "out:..", "err:..", "fail:..", "run:1", "run:0"
  std::vector<std::string> pieces;  // standard-output pieces only
  std::string output;               // standard output joined
  std::string errors;               // standard error joined
  int started = 0;
  int ended = 0;
  bool Ended() const { return ended > 0; }
};
