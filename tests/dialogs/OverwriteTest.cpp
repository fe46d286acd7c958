// SPDX-License-Identifier: GPL-3.0-or-later
#include <filesystem>

#include <QCheckBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "engine/OverwritePolicy.h"
#include "engine/UnitOverWrite.h"
#include "tests/support/TempDir.h"
#include "tests/support/qt/FindControl.h"

namespace {

// A scripted prompt: answers in turn and counts how often it was shown.
struct ScriptedAsk {
  std::vector<int> answers;
  int shown = 0;
  std::function<int()> Fn() {
    return [this] { return answers.at(static_cast<std::size_t>(shown++)); };
  }
};

struct Transition {
  int policy;
  int answer;          // -1: the prompt must not be shown
  const char* result;  // "path", "auto" or "" (skip)
  int policyAfter;
};

TEST(OverwritePolicy, everyTransitionOfTheRuleTable) {
  const Transition table[] = {
      {0, 0, "", 0},      {0, 2, "", 2},      {0, 3, "path", 0},  {0, 4, "path", 4},
      {0, 5, "auto", 0},  {0, 6, "auto", 6},  {2, -1, "", 2},     {4, -1, "path", 4},
      {6, -1, "auto", 6}, {3, -1, "path", 0}, {5, -1, "auto", 0},
  };
  TempDir dir;
  const std::string path = (dir / "clip.3gp").string();
  WriteFileBytes(path, "old");
  for (const Transition& row : table) {
    ScriptedAsk ask{row.answer < 0 ? std::vector<int>{} : std::vector<int>{row.answer}};
    int policy = row.policy;
    const std::string got = ResolveExistingOutput(path, policy, ask.Fn());
    const std::string want = std::string(row.result) == "path"   ? path
                             : std::string(row.result) == "auto" ? path + "(1).3gp"
                                                                 : "";
    EXPECT_EQ(got, want) << row.policy << "/" << row.answer;
    EXPECT_EQ(policy, row.policyAfter) << row.policy << "/" << row.answer;
    EXPECT_EQ(ask.shown, row.answer < 0 ? 0 : 1) << row.policy << "/" << row.answer;
  }
  EXPECT_EQ(ReadFileBytes(path), "old");
}

TEST(OverwritePolicy, noFileNeverAsksAndKeepsThePolicy) {
  TempDir dir;
  std::filesystem::create_directory(dir / "folder.3gp");
  for (const std::string name : {"missing.3gp", "folder.3gp"}) {
    for (int start : {0, 2, 4, 6}) {
      ScriptedAsk ask;
      int policy = start;
      EXPECT_EQ(ResolveExistingOutput((dir / name).string(), policy, ask.Fn()),
                (dir / name).string());
      EXPECT_EQ(policy, start);
      EXPECT_EQ(ask.shown, 0);
    }
  }
}

TEST(OverwritePolicy, oneTimeAnswersAskAgainAndPermanentAnswersHold) {
  TempDir dir;
  const std::string a = (dir / "a.3gp").string(), b = (dir / "b.3gp").string();
  WriteFileBytes(a, "a");
  WriteFileBytes(b, "b");
  ScriptedAsk ask{{0, 5, 4}};
  int policy = 0;
  EXPECT_EQ(ResolveExistingOutput(a, policy, ask.Fn()), "");
  EXPECT_EQ(ResolveExistingOutput(a, policy, ask.Fn()), a + "(1).3gp");
  EXPECT_EQ(ResolveExistingOutput(a, policy, ask.Fn()), a);
  EXPECT_EQ(ask.shown, 3);
  // Permanent from here on, for every later clash and run.
  EXPECT_EQ(ResolveExistingOutput(b, policy, ask.Fn()), b);
  EXPECT_EQ(ResolveExistingOutput(a, policy, ask.Fn()), a);
  EXPECT_EQ(ask.shown, 3);
  EXPECT_EQ(policy, kOverwriteAll);
}

TEST(AutoName, appendsToTheWholeNameUntilOneIsFree) {
  TempDir dir;
  const std::string clip = (dir / "clip.3gp").string();
  EXPECT_EQ(AutoName(clip), clip);
  WriteFileBytes(clip, "");
  EXPECT_EQ(AutoName(clip), clip + "(1).3gp");
  WriteFileBytes(clip + "(1).3gp", "");
  EXPECT_EQ(AutoName(clip), clip + "(1).3gp(1).3gp");

  // No extension, and a dot only in a folder name.
  std::filesystem::create_directory(dir / "my.videos");
  const std::string bare = (dir / "my.videos" / "clip").string();
  WriteFileBytes(bare, "");
  EXPECT_EQ(AutoName(bare), bare + "(1)");

  // A link that leads nowhere counts: writing through it would create its target.
  std::filesystem::create_symlink(dir / "nowhere", dir / "link.3gp");
  EXPECT_TRUE(OutputFileExists((dir / "link.3gp").string()));
  EXPECT_EQ(AutoName((dir / "link.3gp").string()), (dir / "link.3gp").string() + "(1).3gp");
}

TEST(AutoName, extensionIsFromTheLastDotAfterTheLastSeparator) {
  const std::pair<const char*, const char*> cases[] = {
      {"/out/clip.3gp", ".3gp"},   {"/out/clip.tar.gz", ".gz"},
      {"/out/clip", ""},           {"/o.ut/clip", ""},
      {"/out/.hidden", ".hidden"}, {"/out/clip.", "."},
      {"clip.3gp(1).3gp", ".3gp"}, {"", ""}};
  for (const auto& [path, ext] : cases) EXPECT_EQ(PathExtension(path), ext) << path;
}

TEST(OverwritePrompt, eachButtonAnswersItsCodeWithAndWithoutTheCheckBox) {
  struct Row {
    const char* button;
    bool ticked;
    int code;
    int result;
  };
  const Row rows[] = {
      {"buttonOverWrite", false, 3, QDialog::Accepted},
      {"buttonOverWrite", true, 4, QDialog::Accepted},
      {"buttonIgnore", false, 0, QDialog::Rejected},
      {"buttonIgnore", true, 2, QDialog::Rejected},
      {"buttonAutoName", false, 5, QDialog::Accepted},
      {"buttonAutoName", true, 6, QDialog::Accepted},
  };
  TfrmOverWrite dialog;
  EXPECT_EQ(dialog.AnswerCode(), 0);
  for (const Row& row : rows) {
    Find<QCheckBox>(&dialog, "checkBoxNotice")->setChecked(row.ticked);
    dialog.show();
    QTest::mouseClick(Find<QPushButton>(&dialog, row.button), Qt::LeftButton);
    EXPECT_EQ(dialog.AnswerCode(), row.code);
    EXPECT_EQ(dialog.result(), row.result);
    EXPECT_FALSE(dialog.isVisible());
    // The box keeps its state for the next showing.
    EXPECT_EQ(Find<QCheckBox>(&dialog, "checkBoxNotice")->isChecked(), row.ticked);
  }
}

TEST(OverwritePrompt, enterChoosesAutoNameWhereverTheFocusIs) {
  TfrmOverWrite dialog;
  for (QWidget* focus : {static_cast<QWidget*>(Find<QPushButton>(&dialog, "buttonOverWrite")),
                         static_cast<QWidget*>(Find<QPushButton>(&dialog, "buttonIgnore")),
                         static_cast<QWidget*>(Find<QCheckBox>(&dialog, "checkBoxNotice"))}) {
    dialog.reject();  // answers 0: each Enter must answer anew
    dialog.show();
    focus->setFocus();
    QTest::keyClick(focus, Qt::Key_Return);
    EXPECT_EQ(dialog.AnswerCode(), kOverwriteAutoNameOnce) << focus->objectName().toStdString();
    EXPECT_FALSE(dialog.isVisible());
  }
}

TEST(OverwritePrompt, closeBoxIgnoresThisEntryEvenAfterAnEarlierPermanentAnswer) {
  TempDir dir;
  const std::string path = (dir / "clip.3gp").string();
  WriteFileBytes(path, "old");
  TfrmOverWrite dialog;
  auto ask = [&] {
    dialog.exec();
    return dialog.AnswerCode();
  };
  auto answerWith = [&](std::function<void()> act) {
    QTimer::singleShot(0, &dialog, std::move(act));
  };

  // An earlier showing answered Overwrite; its code stays in AnswerCode.
  answerWith(
      [&] { QTest::mouseClick(Find<QPushButton>(&dialog, "buttonOverWrite"), Qt::LeftButton); });
  int policy = 0;
  EXPECT_EQ(ResolveExistingOutput(path, policy, ask), path);
  EXPECT_EQ(dialog.AnswerCode(), 3);

  for (auto close : {std::function<void()>([&] { dialog.close(); }),
                     std::function<void()>([&] { QTest::keyClick(&dialog, Qt::Key_Escape); })}) {
    answerWith(close);
    EXPECT_EQ(ResolveExistingOutput(path, policy, ask), "");
    EXPECT_EQ(dialog.AnswerCode(), 0);
    EXPECT_EQ(policy, 0);
  }
  EXPECT_EQ(ReadFileBytes(path), "old");
}

}  // namespace
