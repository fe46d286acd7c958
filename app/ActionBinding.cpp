// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ActionBinding.h"

#include <QAbstractButton>
#include <QAction>

namespace {

// The follower shows the action's caption and state from now on, and its own
// activation (emitted by activated) triggers the action.
template <typename Follower, typename Signal>
void Follow(Follower* follower, QAction* action, Signal activated) {
  auto copy = [follower, action] {
    follower->setText(action->text());
    follower->setEnabled(action->isEnabled());
  };
  copy();
  QObject::connect(action, &QAction::changed, follower, copy);
  QObject::connect(follower, activated, action, &QAction::trigger);
}

}  // namespace

void BindButtonToAction(QAbstractButton* button, QAction* action) {
  Follow(button, action, &QAbstractButton::clicked);
}

void BindEntryToAction(QAction* entry, QAction* action) {
  Follow(entry, action, &QAction::triggered);
}
