// SPDX-License-Identifier: GPL-3.0-or-later
#include "console/ConsoleNotify.h"

TConsoleNotify::TConsoleNotify(TConsoleNoticeHandler handler) : handler_(std::move(handler)) {}

QEvent::Type TConsoleNotify::NoticeType() {
  static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

void TConsoleNotify::customEvent(QEvent* event) {
  if (event->type() != NoticeType()) return;
  auto* notice = static_cast<TConsoleNoticeEvent*>(event);
  handler_(*notice->session, *notice->notice);
}

TConsoleNoticeEvent::TConsoleNoticeEvent(std::shared_ptr<TConsoleSession> session,
                                         std::shared_ptr<TConsoleNotice> notice)
    : QEvent(TConsoleNotify::NoticeType()),
      session(std::move(session)),
      notice(std::move(notice)) {}
