// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/EnvOverride.h"

#include <cstdlib>

EnvOverride::EnvOverride(const char* name, const char* value) : name_(name) {
  if (const char* old = std::getenv(name)) old_ = old;
  if (value)
    ::setenv(name, value, 1);
  else
    ::unsetenv(name);
}

EnvOverride::~EnvOverride() {
  if (old_)
    ::setenv(name_.c_str(), old_->c_str(), 1);
  else
    ::unsetenv(name_.c_str());
}
