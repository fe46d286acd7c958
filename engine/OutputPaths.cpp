// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/OutputPaths.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/FileDescriptor.h"
#include "platform/SystemError.h"

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kOutputExtension = ".3gp";
constexpr std::string_view kPlaceholder = "temp\r\n";
constexpr std::string_view kTempScriptName = "m9s.avs";

}  // namespace

std::string OutputName(std::string_view source) {
  const size_t slash = source.rfind('/');
  std::string_view name = slash == std::string_view::npos ? source : source.substr(slash + 1);
  const size_t dot = name.rfind('.');
  if (dot != std::string_view::npos) name = name.substr(0, dot);
  std::string result(name);
  result += kOutputExtension;
  return result;
}

std::string WithTrailingSeparator(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

void EnsureOutputFolder(const std::string& folder) {
  std::string path = folder;
  while (!path.empty() && path.back() == '/') path.pop_back();
  if (path.empty()) return;  // the root folder
  std::error_code error;
  if (fs::is_directory(path, error)) return;
  fs::create_directories(path, error);
}

bool WritePlaceholder(const std::string& path) {
  // Not truncated at open: only once it is known to be a regular file. A
  // FIFO without reader fails at once (ENXIO) instead of blocking the window.
  FileDescriptor file(::open(
      path.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0666));
  if (!file.IsOpen()) {
    if (errno == ELOOP || errno == EISDIR || errno == ENXIO || errno == EAGAIN ||
        errno == EWOULDBLOCK)
      return false;
    RaiseLastOSError();
  }
  struct stat info {};
  if (::fstat(file.Get(), &info) != 0) RaiseLastOSError();
  if (!S_ISREG(info.st_mode)) return false;
  if (::ftruncate(file.Get(), 0) != 0) RaiseLastOSError();
  std::string_view rest = kPlaceholder;
  while (!rest.empty()) {
    const ssize_t written = ::write(file.Get(), rest.data(), rest.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      RaiseLastOSError();
    }
    rest.remove_prefix(static_cast<size_t>(written));
  }
  file.Close();
  return true;
}

void RemoveFailedOutput(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) ::unlink(path.c_str());
}

std::string ShortPathForm(const std::string& path) {
  std::error_code error;
  if (path.empty() || !fs::exists(path, error)) return {};
  return path;
}

bool IsSameFile(const std::string& a, const std::string& b) {
  std::error_code error;
  return fs::exists(a, error) && fs::exists(b, error) && fs::equivalent(a, b, error);
}

std::string TempFolder() {
  const char* dir = std::getenv("TMPDIR");
  return WithTrailingSeparator(dir != nullptr && *dir != '\0' ? dir : "/tmp");
}

void DeleteTempScript() {
  const std::string path = TempFolder() + std::string(kTempScriptName);
  struct stat info {};
  // A folder of that name is not the file; it stays.
  if (::lstat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode)) ::unlink(path.c_str());
}
