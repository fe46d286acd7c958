// SPDX-License-Identifier: GPL-3.0-or-later
// Existing outputs, shared names and sources that are their own output.
#include <filesystem>
#include <string>
#include <vector>

#include <QCheckBox>
#include <QPushButton>

#include "app/UnitMain.h"
#include "engine/UnitOverWrite.h"
#include "tests/run/RunTestBase.h"
#include "tests/support/qt/FindControl.h"

namespace fs = std::filesystem;

namespace {

enum class Button { Overwrite, Ignore, AutoName };

struct PolicyCase {
  const char* name;
  Button button;
  bool remember;
  int prompts;                         // over the two runs
  std::vector<const char*> converted;  // output names that hold a real 3GP afterwards
  bool oldKept;                        // clip.3gp still holds the old bytes
};

void Press(TfrmOverWrite& prompt, Button button, bool remember) {
  Find<QCheckBox>(&prompt, "checkBoxNotice")->setChecked(remember);
  switch (button) {
    case Button::Overwrite:
      Find<QPushButton>(&prompt, "buttonOverWrite")->click();
      break;
    case Button::Ignore:
      Find<QPushButton>(&prompt, "buttonIgnore")->click();
      break;
    case Button::AutoName:
      Find<QPushButton>(&prompt, "buttonAutoName")->click();
      break;
  }
}

TEST_F(RunTest, EachAnswerToAnExistingOutputAcrossTwoRuns) {
  const fs::path source = Source("in/clip.avi", MediaKind::Avi);
  const std::string program = ProgramFolder();
  const std::vector<PolicyCase> cases = {
      {"ignore once", Button::Ignore, false, 2, {}, true},
      {"ignore always", Button::Ignore, true, 1, {}, true},
      {"overwrite once", Button::Overwrite, false, 2, {"clip.3gp"}, false},
      {"overwrite always", Button::Overwrite, true, 1, {"clip.3gp"}, false},
      {"auto name once",
       Button::AutoName,
       false,
       2,
       {"clip.3gp(1).3gp", "clip.3gp(1).3gp(1).3gp"},
       true},
      {"auto name always",
       Button::AutoName,
       true,
       1,
       {"clip.3gp(1).3gp", "clip.3gp(1).3gp(1).3gp"},
       true},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path out = dir / ("out" + std::to_string(n++));
    fs::create_directories(out);
    WriteFileBytes(out / "clip.3gp", "old");
    MainWindowSession session(program);
    session.Queue(source);
    session.SetOutputFolder(out.string());
    session.prompts.answerOverwrite = [&c](TfrmOverWrite& prompt) {
      Press(prompt, c.button, c.remember);
    };
    session.ClickConvert();
    session.ClickConvert();
    EXPECT_EQ(session.prompts.overwritePrompts, c.prompts);
    EXPECT_EQ(session.prompts.finishTexts.size(), 2);  // a skipped entry still finishes
    for (const char* name : c.converted) ExpectValid3gp(out / name, 1);
    EXPECT_EQ(ReadFileBytes(out / "clip.3gp") == "old", c.oldKept);
    int files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(out)) ++files;
    EXPECT_EQ(files, 1 + (c.button == Button::AutoName ? 2 : 0));
  }
}

TEST_F(RunTest, SameNameInTwoFoldersMeetsTheFirstOutput) {
  MainWindowSession session(ProgramFolder());
  session.Queue(Source("one/clip.avi", MediaKind::Avi, 1));
  session.Queue(Source("two/clip.mkv", MediaKind::Mkv, 2));
  const fs::path out = dir / "out";
  session.SetOutputFolder(out.string());
  session.prompts.answerOverwrite = [](TfrmOverWrite& prompt) {
    Press(prompt, Button::AutoName, false);
  };
  session.ClickConvert();
  EXPECT_EQ(session.prompts.overwritePrompts, 1);
  ExpectValid3gp(out / "clip.3gp", 1);
  ExpectValid3gp(out / "clip.3gp(1).3gp", 2);
}

TEST_F(RunTest, SourceThatIsItsOwnOutputIsNeverOverwritten) {
  const fs::path out = dir / "out";
  const fs::path source = Source("out/own.3gp", MediaKind::ThreeGp, 1);
  const std::string before = ReadFileBytes(source);
  MainWindowSession session(ProgramFolder());
  // Even with "overwrite every clash" remembered, and through another spelling
  // of the same folder.
  session.window().SetOverwritePolicy(4);
  session.Queue(source);
  session.SetOutputFolder((dir / "out" / ".." / "out").string() + "/");
  session.ClickConvert();
  EXPECT_EQ(ReadFileBytes(source), before);
  EXPECT_EQ(session.prompts.overwritePrompts, 0);
  ExpectValid3gp(out / "own.3gp(1).3gp", 1);
  EXPECT_TRUE(session.errors.isEmpty()) << session.errors.join("\n").toStdString();
}

}  // namespace
