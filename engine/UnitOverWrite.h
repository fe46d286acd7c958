// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include <QDialog>

#include "engine/OverwritePolicy.h"

namespace Ui {
class TfrmOverWrite;
}

// The modal existing-output prompt. AnswerCode holds the code of this
// showing's answer; closing with the close box (or Escape) answers 0, "ignore
// this entry and ask again", never an earlier showing's code.
class TfrmOverWrite : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmOverWrite(QWidget* parent = nullptr);
  ~TfrmOverWrite() override;

  void buttonOverWriteClick();
  void buttonIgnoreClick();
  void buttonAutoNameClick();
  void reject() override;

  // The code of this showing's answer.
  int AnswerCode() const { return answerCode_; }

 private:
  std::unique_ptr<Ui::TfrmOverWrite> ui;
  void Answer(OverwriteChoice choice, int result);

  int answerCode_ = kOverwriteAsk;
};
