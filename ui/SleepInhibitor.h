// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include <QDBusUnixFileDescriptor>
#include <QString>

class QDBusPendingCallWatcher;

// Keeps the computer from sleeping or idling while held. Tests put a recording
// inhibitor in place, so no test ever reaches the system bus.
class ISleepInhibitor {
 public:
  virtual ~ISleepInhibitor() = default;
  // Takes the inhibitor (no effect while it is held); `why` is shown by the desktop.
  virtual void Inhibit(const QString& why) = 0;
  virtual void Release() = 0;
};

// logind's Manager.Inhibit("sleep:idle", "Velbrin", why, "block") on the
// system bus: held as long as the descriptor it returns stays open. The call
// does not wait for the reply; without a system bus nothing happens at all.
class LogindSleepInhibitor : public ISleepInhibitor {
 public:
  LogindSleepInhibitor();
  ~LogindSleepInhibitor() override;
  void Inhibit(const QString& why) override;
  void Release() override;

 private:
  std::unique_ptr<QDBusPendingCallWatcher> pending_;
  QDBusUnixFileDescriptor held_;  // closing the last copy releases the lock
};
