// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ActionBinding.h"

#include <QAbstractButton>
#include <QAction>

void BindButtonToAction(QAbstractButton* button, QAction* action) {
  auto follow = [button, action] {
    button->setText(action->text());
    button->setEnabled(action->isEnabled());
  };
  follow();
  QObject::connect(action, &QAction::changed, button, follow);
  QObject::connect(button, &QAbstractButton::clicked, action, &QAction::trigger);
}

void BindEntryToAction(QAction* entry, QAction* action) {
  auto follow = [entry, action] {
    entry->setText(action->text());
    entry->setEnabled(action->isEnabled());
  };
  follow();
  QObject::connect(action, &QAction::changed, entry, follow);
  QObject::connect(entry, &QAction::triggered, action, &QAction::trigger);
}
