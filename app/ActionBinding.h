// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QAbstractButton;
class QAction;

// A button that shows the action's caption, follows its enabled state and
// triggers it when clicked.
void BindButtonToAction(QAbstractButton* button, QAction* action);
// A menu or pop-up entry of its own name that does the same for an action.
void BindEntryToAction(QAction* entry, QAction* action);
