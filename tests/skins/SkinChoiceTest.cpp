// SPDX-License-Identifier: GPL-3.0-or-later
#include <filesystem>
#include <string>

#include <QApplication>

#include <gtest/gtest.h>

#include "common/Unit_common.h"
#include "tests/skins/SkinFixtures.h"
#include "tests/support/TempDir.h"
#include "ui/SkinEngine.h"
#include "ui/SkinFile.h"

namespace {

// A program folder of its own with a copy of the real skins, so tests may
// change and break them.
class SkinChoiceTest : public ::testing::Test {
 protected:
  SkinChoiceTest() {
    std::filesystem::copy(RealSkinFolder(), program / "skins");
    common.SetSkinEngine(&engine);
  }
  void TearDown() override { engine.SetSkinFile(std::string()); }

  // What a skin menu entry does.
  void Choose(TfrmCommon& on, int entry) {
    on.ApplySkin(entry);
    on.SaveSkinIndex(entry);
  }
  // What the main window's first showing does.
  void Start(TfrmCommon& on) { on.ApplySkin(on.ReadSkinIndex()); }

  std::string Skins() const { return program.folder() + "skins/"; }
  QColor WindowOf(const std::string& name) const { return ReadSkinFile(Skins() + name).window; }
  std::string Config() const { return ReadFileBytes(program / "config.ini"); }

  TempDir program;
  TempDir dataHome;
  ScopedDataHome scopedHome{dataHome.path().string()};
  TsuiSkinEngine engine{program.folder()};
  TfrmCommon common{program.folder()};
};

TEST_F(SkinChoiceTest, FirstStartAppliesSilverAndAChosenSkinComesBackAtTheNextStart) {
  Start(common);
  EXPECT_EQ(engine.SkinFile(), Skins() + "Silver.ssk");
  EXPECT_EQ(ApplicationWindowColour(), WindowOf("Silver.ssk"));
  EXPECT_FALSE(std::filesystem::exists(program / "config.ini"));

  Choose(common, 5);
  EXPECT_EQ(engine.SkinFile(), Skins() + "Longhorn.ssk");
  EXPECT_EQ(ApplicationWindowColour(), WindowOf("Longhorn.ssk"));
  EXPECT_NE(Config().find("skin=5"), std::string::npos) << Config();

  engine.SetSkinFile(std::string());
  TsuiSkinEngine nextEngine(program.folder());
  TfrmCommon next(program.folder());
  next.SetSkinEngine(&nextEngine);
  Start(next);
  EXPECT_EQ(nextEngine.SkinFile(), Skins() + "Longhorn.ssk");
  EXPECT_EQ(ApplicationWindowColour(), WindowOf("Longhorn.ssk"));

  // Choosing the active skin again reads its file again and stores it again.
  WriteSkin(program / "skins/Longhorn.ssk", "#0a0b0c");
  WriteFileBytes(program / "config.ini", "[skin]\nskin=7\n");
  Choose(next, 5);
  EXPECT_EQ(ApplicationWindowColour(), QColor("#0a0b0c"));
  EXPECT_NE(Config().find("skin=5"), std::string::npos) << Config();
  nextEngine.SetSkinFile(std::string());
}

TEST_F(SkinChoiceTest, StoredValuesOutsideTheTableGiveSilver) {
  for (const char* stored : {"0", "19", "abc", "-3", ""}) {
    WriteFileBytes(program / "config.ini", std::string("[skin]\nskin=") + stored + "\n");
    engine.SetSkinFile(Skins() + "MP10.ssk");
    Start(common);
    EXPECT_EQ(engine.SkinFile(), Skins() + "Silver.ssk") << "stored " << stored;
  }
  WriteFileBytes(program / "config.ini", "[skin]\nskin=18\n");
  Start(common);
  EXPECT_EQ(engine.SkinFile(), Skins() + "XPSilver.ssk");
}

TEST_F(SkinChoiceTest, MissingSkinFileLeavesTheLookAndStillStoresTheChoice) {
  Start(common);
  const QString sheet = qApp->styleSheet();
  std::filesystem::remove_all(program / "skins");

  EXPECT_NO_THROW(Choose(common, 5));
  EXPECT_EQ(engine.SkinFile(), Skins() + "Silver.ssk");
  EXPECT_EQ(qApp->styleSheet(), sheet);
  EXPECT_NE(Config().find("skin=5"), std::string::npos) << Config();
}

TEST_F(SkinChoiceTest, InvalidSkinFileRaisesTheEngineErrorAndStoresNothing) {
  WriteFileBytes(program / "config.ini", "[skin]\nskin=2\n");
  Start(common);
  const QColor shown = ApplicationWindowColour();
  WriteFileBytes(program / "skins/Longhorn.ssk", "This is not a skin.\n");

  try {
    Choose(common, 5);
    ADD_FAILURE() << "an invalid skin was accepted";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find(Skins() + "Longhorn.ssk"), std::string::npos) << e.what();
  }
  EXPECT_EQ(engine.SkinFile(), "");
  EXPECT_EQ(ApplicationWindowColour(), shown);
  EXPECT_EQ(Config(), "[skin]\nskin=2\n");
}

TEST_F(SkinChoiceTest, WithoutARegisteredEngineLoadingDoesNothing) {
  TfrmCommon alone(program.folder());
  WriteFileBytes(program / "skins/Silver.ssk", "broken");
  EXPECT_NO_THROW(alone.ApplySkin(10));
  EXPECT_EQ(engine.SkinFile(), "");
}

}  // namespace
