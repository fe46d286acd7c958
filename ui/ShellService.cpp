// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ShellService.h"

#include <QDesktopServices>
#include <QRegularExpression>
#include <QUrl>

void DesktopShellService::Open(const QString& target) {
  static const QRegularExpression scheme("^[A-Za-z][A-Za-z0-9+.-]+:");
  const QUrl url = scheme.match(target).hasMatch() ? QUrl(target) : QUrl::fromLocalFile(target);
  QDesktopServices::openUrl(url);  // the result is not reported to the user
}
