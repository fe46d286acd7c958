// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// Sets an environment variable for a scope (unsets it for a null value) and
// restores it, or its absence, on leaving.
class EnvOverride {
 public:
  EnvOverride(const char* name, const char* value);
  EnvOverride(const char* name, const std::string& value) : EnvOverride(name, value.c_str()) {}
  ~EnvOverride();
  EnvOverride(const EnvOverride&) = delete;
  EnvOverride& operator=(const EnvOverride&) = delete;

 private:
  const char* name_;
  std::string old_;
  bool had_ = false;
};
