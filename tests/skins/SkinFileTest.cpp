// SPDX-License-Identifier: GPL-3.0-or-later
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "tests/skins/SkinFixtures.h"
#include "tests/support/TempDir.h"
#include "ui/SkinFile.h"

namespace {

std::string ErrorOf(const std::string& text) {
  try {
    ParseSkin(text, "/skins/Broken.ssk");
  } catch (const SkinError& error) {
    return error.what();
  }
  return std::string();
}

TEST(SkinFile, ReadsColoursShapesAndOptionalKeysWithoutRegardToCase) {
  const Skin skin = ParseSkin("\xEF\xBB\xBF# made by hand\r\n[other]\r\nanything=goes\r\n" +
                                  SkinText({{"Window", "#abc"},
                                            {"ButtonStyle", "Glass"},
                                            {"radius", "0"},
                                            {"BorderWidth", "3"},
                                            {"ScrollBarWidth", "  20 "},
                                            {"TitleText", "#123456"},
                                            {"Font", "DejaVu Sans , 10"}}),
                              "x.ssk");
  EXPECT_EQ(skin.name, "Test");
  EXPECT_EQ(skin.window, QColor(0xaa, 0xbb, 0xcc));
  EXPECT_EQ(skin.highlight, QColor(0x20, 0x40, 0x80));
  EXPECT_EQ(skin.buttonStyle, ButtonStyle::Glass);
  EXPECT_EQ(skin.radius, 0);
  EXPECT_EQ(skin.borderWidth, 3);
  EXPECT_EQ(skin.scrollBarWidth, 20);
  ASSERT_TRUE(skin.titleText.has_value());
  EXPECT_EQ(*skin.titleText, QColor(0x12, 0x34, 0x56));
  EXPECT_FALSE(skin.disabledText.has_value());
  EXPECT_EQ(skin.fontFamily, "DejaVu Sans");
  EXPECT_EQ(skin.fontPoints, 10);
}

struct BadSkin {
  const char* what;
  std::string text;
  const char* expected;  // part of the message
};

TEST(SkinFile, RejectsEverythingThatIsNotAValidSkinAndNamesTheFile) {
  const BadSkin cases[] = {
      {"empty file", "", "no [Skin] section"},
      {"plain prose", "Just some notes\nabout nothing\n",
       "line 1: expected [Section] or Key=Value"},
      {"other ini file", "[setting]\noutputFolder=/tmp\n", "no [Skin] section"},
      {"binary", std::string("\x89PNG\r\n\x1a\n\0\0\0", 11), "not a text file"},
      {"key before section", "Name=x\n" + SkinText(), "before the [Skin] section"},
      {"missing keys", SkinText({{"Window", ""}, {"Title", ""}}), "lacks the keys Window, Title"},
      {"bad colour", SkinText({{"Base", "white"}}), "line 6: Base: 'white' is not a colour"},
      {"short colour", SkinText({{"Text", "#12345"}}), "Text: '#12345' is not a colour"},
      {"non-hex colour", SkinText({{"Text", "#12345g"}}), "is not a colour"},
      {"bad style", SkinText({{"ButtonStyle", "round"}}), "'round' is not a button style"},
      {"radius out of range", SkinText({{"Radius", "40"}}), "from 0 to 12"},
      {"radius not a number", SkinText({{"Radius", "3px"}}), "'3px' is not a whole number"},
      {"negative width", SkinText({{"BorderWidth", "-1"}}), "from 0 to 3"},
      {"unknown key", SkinText({{"Colour", "#ffffff"}}), "unknown key 'Colour'"},
      {"duplicate key", SkinText() + "window=#000000\n", "the key Window is given twice"},
      {"two skin sections", SkinText() + "[skin]\n", "a second [Skin] section"},
      {"unclosed section", "[Skin\n", "must end with ']'"},
      {"empty name", SkinText({{"Name", " "}}), "empty name"},
      {"font without family", SkinText({{"Font", ",9"}}), "no family name"},
      {"huge file", SkinText() + std::string(70000, ';'), "far too large"},
  };
  for (const BadSkin& c : cases) {
    const std::string message = ErrorOf(c.text);
    EXPECT_NE(message.find("Skin file '/skins/Broken.ssk' is not a valid skin"), std::string::npos)
        << c.what << ": " << message;
    EXPECT_NE(message.find(c.expected), std::string::npos) << c.what << ": " << message;
  }
}

TEST(SkinFile, ReadsRealFilesAndReportsOnesThatCannotBeRead) {
  TempDir dir;
  WriteFileBytes(dir / "good.ssk", SkinText({{"Name", "On disk"}}));
  EXPECT_EQ(ReadSkinFile((dir / "good.ssk").string()).name, "On disk");

  std::filesystem::create_directory(dir / "folder.ssk");
  EXPECT_THROW(
      {
        try {
          ReadSkinFile((dir / "folder.ssk").string());
        } catch (const SkinError& e) {
          EXPECT_NE(std::string(e.what()).find("folder.ssk' cannot be read: it is a folder"),
                    std::string::npos);
          throw;
        }
      },
      SkinError);
  EXPECT_THROW(ReadSkinFile((dir / "absent.ssk").string()), SkinError);

  // Permission bits do not stop the superuser, so only check them when they bite.
  WriteFileBytes(dir / "locked.ssk", SkinText());
  ::chmod((dir / "locked.ssk").c_str(), 0);
  if (::access((dir / "locked.ssk").c_str(), R_OK) != 0) {
    try {
      ReadSkinFile((dir / "locked.ssk").string());
      ADD_FAILURE() << "an unreadable skin was read";
    } catch (const SkinError& e) {
      EXPECT_NE(std::string(e.what()).find("locked.ssk' cannot be read: Permission denied"),
                std::string::npos)
          << e.what();
    }
  }
}

}  // namespace
