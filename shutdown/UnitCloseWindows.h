// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include <QDialog>
#include <QString>
#include <QTimer>

namespace Ui {
class TfrmPowerOffWindows;
}

// The count-down shown modally after a run when automatic power-off is on.
// It requests power-off once, when the count runs out or on Yes, and then
// closes with the result Accepted (Yes). No, Escape and the close box cancel:
// the timer stops and the result is Rejected (No).
class TfrmPowerOffWindows : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmPowerOffWindows(QWidget* parent = nullptr);
  ~TfrmPowerOffWindows() override;

  // Starts a fresh count-down; runs whenever the dialog is shown.
  void FormShow();
  // One tick of Timer; tests call it to drive the count-down without waiting.
  void TimerTimer();
  void buttonYesClick();
  void buttonNoClick();
  // The language text of the Yes button, the base of the count-down caption.
  void SetYesCaption(const QString& caption) { yesCaption_ = caption; }
  const QString& YesCaption() const { return yesCaption_; }
  // The count-down's state: its one-second timer, the seconds it counts and those gone.
  const QTimer& Timer() const { return timer_; }
  int WaitSeconds() const { return waitSeconds_; }
  int TicksElapsed() const { return ticksElapsed_; }

  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  std::unique_ptr<Ui::TfrmPowerOffWindows> ui;
  void PowerOffAndClose();

  QTimer timer_;
  int waitSeconds_ = 0;
  int ticksElapsed_ = 0;
  QString yesCaption_;
};
