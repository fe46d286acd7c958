// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>

#include <QEvent>
#include <QObject>

struct TConsoleNotice;
struct TConsoleSession;

// Handles one worker's notice on the creating thread.
using TConsoleNoticeHandler = std::function<void(TConsoleSession& session, TConsoleNotice& notice)>;

// The creating thread's receiver of the workers' notices: it hands each one
// to the handler its owner gave it.
class TConsoleNotify : public QObject {
 public:
  explicit TConsoleNotify(TConsoleNoticeHandler handler);
  static QEvent::Type NoticeType();

 protected:
  void customEvent(QEvent* event) override;

 private:
  TConsoleNoticeHandler handler_;
};

// A notice on its way to TConsoleNotify.
class TConsoleNoticeEvent : public QEvent {
 public:
  TConsoleNoticeEvent(std::shared_ptr<TConsoleSession> session,
                      std::shared_ptr<TConsoleNotice> notice);
  std::shared_ptr<TConsoleSession> session;
  std::shared_ptr<TConsoleNotice> notice;
};
