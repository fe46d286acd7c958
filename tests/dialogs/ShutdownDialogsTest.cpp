// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "platform/SystemError.h"
#include "shutdown/UnitCloseWindows.h"
#include "shutdown/UnitSetting.h"
#include "tests/dialogs/DialogFixture.h"
#include "tests/support/qt/FindControl.h"
#include "ui/ErrorDisplay.h"

namespace {

using SettingsDialog = DialogTest;
using CountDown = DialogTest;

TEST_F(SettingsDialog, missingKeysShowOffAndThirtyThenOkWritesBothKeys) {
  TfrmSetting dialog;
  dialog.show();
  EXPECT_FALSE(Find<QCheckBox>(&dialog, "checkBoxAutoPowerOff")->isChecked());
  EXPECT_FALSE(Find<QLineEdit>(&dialog, "editWaitTime")->isEnabled());
  EXPECT_EQ(Find<QLineEdit>(&dialog, "editWaitTime")->text(), "30");
  EXPECT_FALSE(common_->ReadAutoPowerOff());

  QTest::mouseClick(Find<QCheckBox>(&dialog, "checkBoxAutoPowerOff"), Qt::LeftButton);
  EXPECT_TRUE(Find<QLineEdit>(&dialog, "editWaitTime")->isEnabled());
  Find<QLineEdit>(&dialog, "editWaitTime")->setText(" 45 ");
  QTest::mouseClick(Find<QPushButton>(&dialog, "ButtonOK"), Qt::LeftButton);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_TRUE(common_->ReadAutoPowerOff());
  EXPECT_EQ(common_->ReadAutoPowerOffWaitTime(), 45);

  // The next showing reads the file again, so a change made meanwhile shows.
  common_->Config().WriteInteger("setting", "autoPowerOff_WaitTime", 7);
  dialog.show();
  EXPECT_TRUE(Find<QCheckBox>(&dialog, "checkBoxAutoPowerOff")->isChecked());
  EXPECT_TRUE(Find<QLineEdit>(&dialog, "editWaitTime")->isEnabled());
  EXPECT_EQ(Find<QLineEdit>(&dialog, "editWaitTime")->text(), "7");
  QTest::mouseClick(Find<QCheckBox>(&dialog, "checkBoxAutoPowerOff"), Qt::LeftButton);
  EXPECT_FALSE(Find<QLineEdit>(&dialog, "editWaitTime")->isEnabled());
  // Coming back from being minimized is no new showing: the edits stay.
  Find<QLineEdit>(&dialog, "editWaitTime")->setText("12");
  dialog.setWindowState(Qt::WindowMinimized);
  dialog.setWindowState(Qt::WindowNoState);
  EXPECT_FALSE(Find<QCheckBox>(&dialog, "checkBoxAutoPowerOff")->isChecked());
  EXPECT_EQ(Find<QLineEdit>(&dialog, "editWaitTime")->text(), "12");
}

TEST_F(SettingsDialog, okUntickedStoresWaitTimeWithoutRangeCheck) {
  TfrmSetting dialog;
  for (const char* text : {"-7", "0", "+12", "2147483647", "-2147483648"}) {
    dialog.show();
    Find<QLineEdit>(&dialog, "editWaitTime")->setText(text);
    dialog.ButtonOKClick();
    EXPECT_EQ(common_->Config().ReadInteger("setting", "autoPowerOff", -1), 0) << text;
    EXPECT_EQ(common_->ReadAutoPowerOffWaitTime(), StrToInt(text)) << text;
    EXPECT_FALSE(dialog.isVisible());
  }
  EXPECT_EQ(common_->ReadAutoPowerOffWaitTime(), -2147483647 - 1);
}

TEST_F(SettingsDialog, textThatIsNoIntegerRaisesAndWritesNothing) {
  WriteConfig("[setting]\r\nautoPowerOff=1\r\nautoPowerOff_WaitTime=20\r\n");
  const std::string before = ConfigText();
  TfrmSetting dialog;
  for (const char* text :
       {"", "  ", "abc", "12x", "1.5", "1 2", "+-3", "0x10", "2147483648", "-2147483649"}) {
    dialog.show();
    Find<QCheckBox>(&dialog, "checkBoxAutoPowerOff")->setChecked(false);
    Find<QLineEdit>(&dialog, "editWaitTime")->setText(text);
    try {
      dialog.ButtonOKClick();
      ADD_FAILURE() << "accepted '" << text << "'";
    } catch (const ConvertError& error) {
      EXPECT_EQ(std::string(error.what()),
                "'" + std::string(text) + "' is not a valid integer value");
    }
    EXPECT_TRUE(dialog.isVisible()) << text;
    EXPECT_EQ(ConfigText(), before) << text;
  }
  // Clicked, the error is shown and the dialog stays open.
  QStringList shown;
  const ErrorSink previous = SetErrorSink([&](const QString& text) { shown << text; });
  QTest::mouseClick(Find<QPushButton>(&dialog, "ButtonOK"), Qt::LeftButton);
  SetErrorSink(previous);
  EXPECT_EQ(shown, QStringList{"'-2147483649' is not a valid integer value"});
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(ConfigText(), before);
}

TEST_F(SettingsDialog, cancelEscapeAndCloseBoxWriteNothing) {
  TfrmSetting dialog;
  auto edit = [&] {
    dialog.show();
    Find<QCheckBox>(&dialog, "checkBoxAutoPowerOff")->setChecked(true);
    Find<QLineEdit>(&dialog, "editWaitTime")->setText("99");
  };
  edit();
  QTest::mouseClick(Find<QPushButton>(&dialog, "ButtonCancel"), Qt::LeftButton);
  EXPECT_FALSE(dialog.isVisible());
  edit();
  QTest::keyClick(&dialog, Qt::Key_Escape);
  EXPECT_FALSE(dialog.isVisible());
  edit();
  dialog.close();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(ConfigText(), "");
}

TEST_F(SettingsDialog, onlyTheValueOneSwitchesPowerOffOn) {
  const std::pair<const char*, bool> cases[] = {{"1", true},  {" 1 ", true}, {"0", false},
                                                {"2", false}, {"-1", false}, {"yes", false}};
  TfrmSetting dialog;
  for (const auto& [value, on] : cases) {
    WriteConfig(std::string("[Setting]\nAUTOPOWEROFF=") + value + "\n");
    EXPECT_EQ(common_->ReadAutoPowerOff(), on) << value;
    dialog.show();
    EXPECT_EQ(Find<QCheckBox>(&dialog, "checkBoxAutoPowerOff")->isChecked(), on) << value;
    EXPECT_EQ(Find<QLineEdit>(&dialog, "editWaitTime")->isEnabled(), on) << value;
    dialog.hide();
  }
  WriteConfig("[setting]\nautoPowerOff_WaitTime=soon\n");
  EXPECT_EQ(common_->ReadAutoPowerOffWaitTime(), 30);
}

// Runs `ticks` ticks of the fake clock and returns the Yes caption after each.
QStringList Tick(TfrmPowerOffWindows& dialog, int ticks) {
  QStringList captions;
  for (int i = 0; i < ticks; ++i) {
    dialog.TimerTimer();
    captions << Find<QPushButton>(&dialog, "buttonYes")->text();
  }
  return captions;
}

TEST_F(CountDown, countsDownAndRequestsPowerOffOnceWhenTheCountRunsOut) {
  TfrmPowerOffWindows dialog;
  dialog.show();
  EXPECT_TRUE(dialog.Timer().isActive());
  EXPECT_EQ(dialog.Timer().interval(), 1000);
  EXPECT_EQ(dialog.WaitSeconds(), 30);
  EXPECT_EQ(Find<QPushButton>(&dialog, "buttonYes")->text(), "Yes");

  const QStringList first = Tick(dialog, 29);
  EXPECT_EQ(first.front(), "Yes(29)");
  EXPECT_EQ(first.back(), "Yes(1)");
  EXPECT_EQ(powerOff_.requests, 0);
  EXPECT_TRUE(dialog.isVisible());

  EXPECT_EQ(Tick(dialog, 1).front(), "Yes(0)");
  EXPECT_EQ(powerOff_.requests, 1);
  EXPECT_FALSE(dialog.Timer().isActive());
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Accepted);

  // A tick already queued when the timer stopped asks nothing more.
  Tick(dialog, 3);
  EXPECT_EQ(powerOff_.requests, 1);
}

TEST_F(CountDown, waitOfZeroOrLessShowsNegativeNumberAndRequestsAtFirstTick) {
  const std::pair<int, const char*> cases[] = {{0, "Yes(-1)"}, {-5, "Yes(-6)"}, {1, "Yes(0)"}};
  TfrmPowerOffWindows dialog;
  for (const auto& [wait, caption] : cases) {
    common_->Config().WriteInteger("setting", "autoPowerOff_WaitTime", wait);
    powerOff_.requests = 0;
    dialog.show();
    EXPECT_EQ(Tick(dialog, 1).front(), caption) << wait;
    EXPECT_EQ(powerOff_.requests, 1) << wait;
    EXPECT_FALSE(dialog.isVisible()) << wait;
  }
}

TEST_F(CountDown, noEnterEscapeAndCloseBoxCancelTheCountDown) {
  const std::function<void(TfrmPowerOffWindows&)> cancels[] = {
      [](TfrmPowerOffWindows& d) {
        QTest::mouseClick(Find<QPushButton>(&d, "buttonNo"), Qt::LeftButton);
      },
      [](TfrmPowerOffWindows& d) { QTest::keyClick(&d, Qt::Key_Return); },
      [](TfrmPowerOffWindows& d) { QTest::keyClick(&d, Qt::Key_Escape); },
      [](TfrmPowerOffWindows& d) { d.close(); },
  };
  common_->Config().WriteInteger("setting", "autoPowerOff_WaitTime", 3);
  TfrmPowerOffWindows dialog;
  int n = 0;
  for (const auto& cancel : cancels) {
    dialog.show();
    Tick(dialog, 2);
    cancel(dialog);
    EXPECT_FALSE(dialog.isVisible()) << n;
    EXPECT_FALSE(dialog.Timer().isActive()) << n;
    EXPECT_EQ(dialog.TicksElapsed(), 0) << n;
    EXPECT_EQ(dialog.result(), QDialog::Rejected) << n;
    ++n;
  }
  EXPECT_EQ(powerOff_.requests, 0);
}

TEST_F(CountDown, yesRequestsOnceAndNewShowingStartsAfreshWithLastCaption) {
  TfrmPowerOffWindows dialog;
  dialog.SetYesCaption("Ja");
  dialog.show();
  EXPECT_EQ(Tick(dialog, 4).back(), "Ja(26)");
  QTest::mouseClick(Find<QPushButton>(&dialog, "buttonYes"), Qt::LeftButton);
  EXPECT_EQ(powerOff_.requests, 1);
  EXPECT_FALSE(dialog.Timer().isActive());
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  Tick(dialog, 30);
  EXPECT_EQ(powerOff_.requests, 1);

  common_->Config().WriteInteger("setting", "autoPowerOff_WaitTime", 5);
  const QString last = Find<QPushButton>(&dialog, "buttonYes")->text();
  dialog.show();
  EXPECT_EQ(Find<QPushButton>(&dialog, "buttonYes")->text(), last);
  EXPECT_EQ(dialog.TicksElapsed(), 0);
  EXPECT_EQ(Tick(dialog, 1).front(), "Ja(4)");
  dialog.buttonNoClick();
}

TEST_F(CountDown, modalShowingEndsOnTheRealTimerWithOneRequest) {
  common_->Config().WriteInteger("setting", "autoPowerOff_WaitTime", 1);
  TfrmPowerOffWindows dialog;
  // A bound that only a broken count-down reaches.
  QTimer::singleShot(15000, &dialog, [&] { dialog.done(-1); });
  EXPECT_EQ(dialog.exec(), QDialog::Accepted);
  EXPECT_EQ(powerOff_.requests, 1);
  EXPECT_EQ(Find<QPushButton>(&dialog, "buttonYes")->text(), "Yes(0)");
}

}  // namespace
