// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include <QDialog>

namespace Ui {
class TfrmSetting;
}

// The automatic-shutdown settings: modeless, filled from config.ini at every
// showing, written back on OK.
class TfrmSetting : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmSetting(QWidget* parent = nullptr);
  ~TfrmSetting() override;

  // Fills the controls from config.ini; runs whenever the dialog is shown
  // (not when it comes back from being minimized).
  void FormShow();
  void checkBoxAutoPowerOffClick();
  // Throws ConvertError when the wait time is not an integer; then nothing is
  // written and the dialog stays open.
  void ButtonOKClick();
  void ButtonCancelClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  std::unique_ptr<Ui::TfrmSetting> ui;
};

// The whole text, blanks at both ends aside, as a signed 32-bit decimal
// integer with an optional sign; throws ConvertError naming the text otherwise.
int StrToInt(const QString& text);
