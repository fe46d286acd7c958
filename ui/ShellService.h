// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The desktop shell's "open": a file or folder path, a web address or a mailto: address.
class IShellService {
 public:
  virtual ~IShellService() = default;
  virtual void Open(const QString& target) = 0;
};

// Opens through QDesktopServices; a target without a URL scheme is a local path.
class DesktopShellService : public IShellService {
 public:
  void Open(const QString& target) override;
};
