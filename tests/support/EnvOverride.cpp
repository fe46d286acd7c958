// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/EnvOverride.h"

#include <cstdlib>

EnvOverride::EnvOverride(const char* name, const char* value) : name_(name) {
  if (const char* old = std::getenv(name)) {
    old_ = old;
    had_ = true;
  }
  if (value)
    setenv(name, value, 1);
  else
    unsetenv(name);
}

EnvOverride::~EnvOverride() {
  if (had_)
    setenv(name_, old_.c_str(), 1);
  else
    unsetenv(name_);
}
