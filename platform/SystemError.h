// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>
#include <string>
#include <system_error>

// An operating-system call that failed, with its errno value in the system
// category as code(). Its text is "System Error.  Code: %d." and the
// system's message, or "A call to an OS function failed" when no code is set.
class SystemError : public std::system_error {
 public:
  explicit SystemError(int code);
  const char* what() const noexcept override;

 private:
  std::runtime_error text_;  // copies share the text, so copying never throws
};

// A text that is not an integer: "'%s' is not a valid integer value".
class ConvertError : public std::runtime_error {
 public:
  explicit ConvertError(const std::string& text);
};

// A configuration write the system refused: "Unable to write to %s".
class WriteError : public std::runtime_error {
 public:
  explicit WriteError(const std::string& path);
};

// The text a SystemError carries for an errno value.
std::string SystemErrorText(int code);

// Throws SystemError for the current errno.
[[noreturn]] void RaiseLastOSError();
[[noreturn]] void RaiseOSError(int code);
