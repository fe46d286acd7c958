// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SystemError.h"

#include <cerrno>
#include <cstring>

std::string SystemErrorText(int code) {
  if (code == 0) return "A call to an OS function failed";
  return "System Error.  Code: " + std::to_string(code) + ".\n" + std::strerror(code);
}

SystemError::SystemError(int code)
    : std::system_error(code, std::system_category()), text_(SystemErrorText(code)) {}

const char* SystemError::what() const noexcept { return text_.what(); }

ConvertError::ConvertError(const std::string& text)
    : std::runtime_error("'" + text + "' is not a valid integer value") {}

WriteError::WriteError(const std::string& path)
    : std::runtime_error("Unable to write to " + path) {}

void RaiseLastOSError() { throw SystemError(errno); }

void RaiseOSError(int code) { throw SystemError(code); }
