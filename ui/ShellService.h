// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QUrl>

// The desktop shell's "open": a file or folder path, a web address or a
// mailto: address. False when the desktop has no program to open it with.
class IShellService {
 public:
  virtual ~IShellService() = default;
  virtual bool Open(const QString& target) = 0;
};

// Opens ShellUrl(target) through QDesktopServices.
class DesktopShellService : public IShellService {
 public:
  bool Open(const QString& target) override;
};

// The address for a target: text with a URL scheme is taken as it is, any
// other text is a local path (in PathText's form, so every byte of the name
// is known) and becomes a file URL that percent-encodes those bytes; a
// relative path is taken from the current folder.
QUrl ShellUrl(const QString& target);
