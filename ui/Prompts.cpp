// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Prompts.h"

#include <QDialog>
#include <QMessageBox>

namespace {

QMessageBox::StandardButton Ask(QWidget* owner, const QString& caption, const QString& text,
                                QMessageBox::StandardButtons buttons) {
  QMessageBox box(QMessageBox::Question, caption, text, buttons, owner);
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace

bool QtPrompts::AskOkCancel(QWidget* owner, const QString& caption, const QString& text) {
  return Ask(owner, caption, text, QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

bool QtPrompts::AskYesNo(QWidget* owner, const QString& caption, const QString& text) {
  return Ask(owner, caption, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

int QtPrompts::ExecModal(QDialog* dialog) { return dialog->exec(); }
