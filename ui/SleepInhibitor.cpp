// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/SleepInhibitor.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

LogindSleepInhibitor::LogindSleepInhibitor() = default;

LogindSleepInhibitor::~LogindSleepInhibitor() = default;

void LogindSleepInhibitor::Inhibit(const QString& why) {
  if (pending_ || held_.isValid()) return;
  QDBusConnection bus = QDBusConnection::systemBus();
  if (!bus.isConnected()) return;  // conversion goes on without keeping the computer awake
  QDBusMessage call = QDBusMessage::createMethodCall(
      QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
      QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("Inhibit"));
  call << QStringLiteral("sleep:idle") << QStringLiteral("Velbrin") << why
       << QStringLiteral("block");
  pending_ = std::make_unique<QDBusPendingCallWatcher>(bus.asyncCall(call));
  QObject::connect(pending_.get(), &QDBusPendingCallWatcher::finished, pending_.get(),
                   [this](QDBusPendingCallWatcher* watcher) {
                     const QDBusPendingReply<QDBusUnixFileDescriptor> reply = *watcher;
                     if (!reply.isError()) held_ = reply.value();
                     pending_.release()->deleteLater();
                   });
}

void LogindSleepInhibitor::Release() {
  // A reply still on its way is dropped with its watcher, and its descriptor with it.
  pending_.reset();
  held_ = QDBusUnixFileDescriptor();
}
