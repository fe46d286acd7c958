// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QDialog;
class QWidget;

// Every modal question the program asks goes through here, so a test can
// answer it: message boxes, and modal dialogs shown with their real controls.
class IPrompts {
 public:
  virtual ~IPrompts() = default;
  // OK/Cancel box; true for OK.
  virtual bool AskOkCancel(QWidget* owner, const QString& caption, const QString& text) = 0;
  // Yes/No box; true for Yes.
  virtual bool AskYesNo(QWidget* owner, const QString& caption, const QString& text) = 0;
  // Shows a dialog modally and returns its result (QDialog::exec()).
  virtual int ExecModal(QDialog* dialog) = 0;
};

// The real prompts: non-native message boxes so that the skin draws them.
class QtPrompts : public IPrompts {
 public:
  bool AskOkCancel(QWidget* owner, const QString& caption, const QString& text) override;
  bool AskYesNo(QWidget* owner, const QString& caption, const QString& text) override;
  int ExecModal(QDialog* dialog) override;
};
