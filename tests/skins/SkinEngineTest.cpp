// SPDX-License-Identifier: GPL-3.0-or-later
#include <string>

#include <QApplication>
#include <QPalette>
#include <QStyle>

#include <gtest/gtest.h>

#include "tests/skins/SkinFixtures.h"
#include "tests/support/TempDir.h"
#include "ui/SkinEngine.h"

namespace {

class SkinEngineTest : public ::testing::Test {
 protected:
  void TearDown() override { engine.SetSkinFile(std::string()); }
  TempDir program;
  TempDir dataHome;
  ScopedDataHome scopedHome{dataHome.path().string()};
  TsuiSkinEngine engine{program.folder()};
};

TEST_F(SkinEngineTest, LoadingASkinReskinsTheWholeApplicationAndEmptyRestoresIt) {
  const QPalette plain = QApplication::palette();
  const QString plainSheet = qApp->styleSheet();
  WriteSkin(program / "skins/Blue.ssk", "#2040a0");

  engine.SetSkinFile((program / "skins/Blue.ssk").string());
  EXPECT_EQ(engine.SkinFile(), (program / "skins/Blue.ssk").string());
  EXPECT_EQ(ApplicationWindowColour(), QColor("#2040a0"));
  EXPECT_TRUE(qApp->styleSheet().contains("QScrollBar::handle"));
  EXPECT_TRUE(qApp->styleSheet().contains("#2040a0"));
  EXPECT_TRUE(QCoreApplication::testAttribute(Qt::AA_DontUseNativeDialogs));

  engine.SetSkinFile(std::string());
  EXPECT_EQ(engine.SkinFile(), "");
  EXPECT_EQ(ApplicationWindowColour(), plain.color(QPalette::Window));
  EXPECT_EQ(qApp->styleSheet(), plainSheet);
}

TEST_F(SkinEngineTest, MissingFileIsLookedForByNameInProgramFolderThenUserDataFolder) {
  const std::string wanted = (program / "skins/Calm.ssk").string();  // never exists
  WriteSkin(dataHome / "velbrin/skins/Calm.ssk", "#113355");
  engine.SetSkinFile(wanted);
  EXPECT_EQ(ApplicationWindowColour(), QColor("#113355"));
  EXPECT_EQ(engine.LoadedFile(), (dataHome / "velbrin/skins/Calm.ssk").string());
  EXPECT_EQ(engine.SkinFile(), wanted);

  // The program folder comes before the user's data folder.
  WriteSkin(program / "Calm.ssk", "#553311");
  engine.SetSkinFile(wanted);
  EXPECT_EQ(ApplicationWindowColour(), QColor("#553311"));
  EXPECT_EQ(engine.LoadedFile(), (program / "Calm.ssk").string());

  // And the file at its own path comes before both.
  WriteSkin(program / "skins/Calm.ssk", "#335511");
  engine.SetSkinFile(wanted);
  EXPECT_EQ(ApplicationWindowColour(), QColor("#335511"));
  EXPECT_EQ(engine.LoadedFile(), wanted);
}

TEST_F(SkinEngineTest, SkinFoundNowhereChangesNothingAndReportsNothing) {
  WriteSkin(program / "skins/Shown.ssk", "#224466");
  engine.SetSkinFile((program / "skins/Shown.ssk").string());
  const QString sheet = qApp->styleSheet();

  EXPECT_NO_THROW(engine.SetSkinFile((program / "skins/Nowhere.ssk").string()));
  EXPECT_EQ(ApplicationWindowColour(), QColor("#224466"));
  EXPECT_EQ(qApp->styleSheet(), sheet);
  EXPECT_EQ(engine.SkinFile(), (program / "skins/Shown.ssk").string());
}

TEST_F(SkinEngineTest, InvalidSkinRaisesItsErrorForgetsTheFileAndKeepsTheLook) {
  WriteSkin(program / "skins/Shown.ssk", "#224466");
  engine.SetSkinFile((program / "skins/Shown.ssk").string());
  const QString sheet = qApp->styleSheet();

  WriteFileBytes(program / "skins/Bad.ssk", SkinText({{"Highlight", "blue"}}));
  try {
    engine.SetSkinFile((program / "skins/Bad.ssk").string());
    ADD_FAILURE() << "an invalid skin was accepted";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("Bad.ssk' is not a valid skin"), std::string::npos);
  }
  EXPECT_EQ(engine.SkinFile(), "");
  EXPECT_EQ(engine.LoadedFile(), "");
  EXPECT_EQ(ApplicationWindowColour(), QColor("#224466"));
  EXPECT_EQ(qApp->styleSheet(), sheet);

  // An invalid file found by the look-up is an error as well.
  std::filesystem::create_directories(dataHome / "velbrin/skins");
  WriteFileBytes(dataHome / "velbrin/skins/Junk.ssk", "not a skin");
  EXPECT_THROW(engine.SetSkinFile((program / "skins/Junk.ssk").string()), std::runtime_error);
}

}  // namespace
