// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

// Sets an environment variable for a scope (a null value removes it) and restores it,
// or its absence, on leaving.
class EnvOverride {
 public:
  EnvOverride(const char* name, const char* value);
  EnvOverride(const char* name, const std::string& value) : EnvOverride(name, value.c_str()) {}
  ~EnvOverride();
  EnvOverride(const EnvOverride&) = delete;
  EnvOverride& operator=(const EnvOverride&) = delete;

 private:
  std::string name_;
  std::optional<std::string> old_;
};
