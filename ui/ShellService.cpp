// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ShellService.h"

#include <filesystem>
#include <string>
#include <system_error>

#include <QDesktopServices>
#include <QRegularExpression>

#include "ui/PathText.h"

bool DesktopShellService::Open(const QString& target) {
  return QDesktopServices::openUrl(ShellUrl(target));
}

QUrl ShellUrl(const QString& target) {
  static const QRegularExpression scheme("^[A-Za-z][A-Za-z0-9+.-]+:");
  if (scheme.match(target).hasMatch()) return QUrl(target);
  std::string path = TextToPath(target);
  if (!path.starts_with('/')) {
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (!error) path = absolute.string();
  }
  return PathToFileUrl(path);
}
