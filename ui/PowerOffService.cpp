// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/PowerOffService.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>

void LogindPowerOffService::PowerOff() {
  QDBusMessage call = QDBusMessage::createMethodCall(
      QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
      QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PowerOff"));
  // interactive = true: polkit may ask for a password instead of refusing outright.
  call << true;
  // The reply is of no interest; a missing bus or a refusal changes nothing here.
  QDBusConnection::systemBus().asyncCall(call);
}
