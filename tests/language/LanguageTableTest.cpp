// SPDX-License-Identifier: GPL-3.0-or-later
#include <set>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "common/LanguageKeys.h"
#include "common/LanguageTable.h"
#include "tests/support/TempDir.h"

namespace {

std::string S(std::string_view v) { return std::string(v); }

struct LanguageFile {
  const char* name;
  int languageIndex;
};

class RealLanguageFile : public ::testing::TestWithParam<LanguageFile> {};

TEST_P(RealLanguageFile, setsEveryKeyToCleanTextAndKeepsOneStatusPattern) {
  const std::string file = std::string(VELBRIN_SOURCE_DIR "language/") + GetParam().name;
  const LanguageTable table(file, GetParam().languageIndex);
  for (const LanguageKey& k : LanguageKeys()) {
    const QString text = table.Text(S(k.section), S(k.key));
    EXPECT_FALSE(text.isEmpty()) << k.section << "/" << k.key;
    EXPECT_FALSE(text.contains(QChar(0xFFFD))) << k.section << "/" << k.key;
    EXPECT_FALSE(text.contains(QChar('\r'))) << k.section << "/" << k.key;
  }
  // The status line is formatted with one text argument: exactly one %s and
  // no other directive, or the position would be lost or garbage printed.
  const std::string run = table.Raw("frmMain", "msgStatusRun");
  const size_t first = run.find('%');
  ASSERT_NE(first, std::string::npos);
  EXPECT_EQ(run.compare(first, 2, "%s"), 0) << run;
  EXPECT_EQ(run.find('%', first + 1), std::string::npos) << run;
  // An accelerator marks a letter; a lone trailing & would mark nothing.
  for (const LanguageKey& k : LanguageKeys()) {
    const std::string raw = table.Raw(S(k.section), S(k.key));
    EXPECT_FALSE(!raw.empty() && raw.back() == '&') << k.section << "/" << k.key;
  }
}

INSTANTIATE_TEST_SUITE_P(Languages, RealLanguageFile,
                         ::testing::Values(LanguageFile{"en.ini", 2}, LanguageFile{"gb.ini", 1},
                                           LanguageFile{"jp.ini", 3}),
                         [](const auto& info) {
                           return std::string(info.param.name).substr(0, 2);
                         });

TEST(LanguageTable, englishFileIsPlainAscii) {
  const LanguageTable table(VELBRIN_SOURCE_DIR "language/en.ini", 2);
  for (const LanguageKey& k : LanguageKeys())
    for (unsigned char c : table.Raw(S(k.section), S(k.key)))
      EXPECT_TRUE(c >= 0x20 && c < 0x7f) << k.section << "/" << k.key;
}

TEST(LanguageTable, missingKeysAndFilesGiveEmptyTexts) {
  TempDir dir;
  WriteFileBytes(dir / "only-app.ini", "[App]\r\nTitle=Velbrin Test\r\n");
  const LanguageTable onlyApp((dir / "only-app.ini").string(), 2);
  EXPECT_EQ(onlyApp.Text("App", "Title"), QString("Velbrin Test"));
  const LanguageTable missing((dir / "absent.ini").string(), 1);
  for (const LanguageKey& k : LanguageKeys()) {
    if (k.section != "App") {
      EXPECT_TRUE(onlyApp.Text(S(k.section), S(k.key)).isEmpty()) << k.key;
    }
    EXPECT_TRUE(missing.Text(S(k.section), S(k.key)).isEmpty()) << k.key;
    EXPECT_TRUE(missing.Raw(S(k.section), S(k.key)).empty()) << k.key;
  }
}

TEST(LanguageTable, findsSectionsAndKeysWithoutRegardToCase) {
  TempDir dir;
  WriteFileBytes(dir / "case.ini", "[FRMSETTING]\nBUTTONOK=Fine\n[frmmain]\nmsgstatusready=Idle\n");
  const LanguageTable table((dir / "case.ini").string(), 2);
  EXPECT_EQ(table.Text("frmSetting", "ButtonOK"), QString("Fine"));
  EXPECT_EQ(table.Text("frmMain", "msgStatusReady"), QString("Idle"));
  EXPECT_TRUE(table.Text("frmSetting", "ButtonCancel").isEmpty());
}

TEST(LanguageTable, decodesEachLanguageInItsCodePage) {
  TempDir dir;
  // "转换" in GBK, "変換" and "表示" in Shift_JIS (表 ends in 0x5C, the
  // backslash byte, which must not be taken as an escape or separator).
  WriteFileBytes(dir / "gb.ini", "[frmMain]\nmsgStatusReady=\xD7\xAA\xBB\xBB\n");
  WriteFileBytes(dir / "jp.ini", "[frmMain]\nmsgStatusReady=\x95\xCF\x8A\xB7\x95\x5C\x8E\xA6\n");
  WriteFileBytes(dir / "en.ini", "[frmMain]\nmsgStatusReady=Ready\n");
  EXPECT_EQ(LanguageTable((dir / "gb.ini").string(), 1).Text("frmMain", "msgStatusReady"),
            QString::fromUtf8("转换"));
  EXPECT_EQ(LanguageTable((dir / "jp.ini").string(), 3).Text("frmMain", "msgStatusReady"),
            QString::fromUtf8("変換表示"));
  // Any index but 1 and 3 reads the file as English.
  for (int index : {2, 0, 7})
    EXPECT_EQ(LanguageTable((dir / "en.ini").string(), index).Text("frmMain", "msgStatusReady"),
              QString("Ready"));
  // The Chinese bytes read as English do not pass for text.
  EXPECT_TRUE(LanguageTable((dir / "gb.ini").string(), 2)
                  .Text("frmMain", "msgStatusReady")
                  .contains(QChar(0xFFFD)));
}

TEST(LanguageKeys, listsEachKeyOnceWithSectionsInApplyOrder) {
  const std::vector<std::string_view> order = {"App",         "frmMain",      "frmDirectory",
                                               "frmBatchAdd", "frmOverWrite", "frmPowerOffWindows",
                                               "frmSetting"};
  std::set<std::pair<std::string_view, std::string_view>> seen;
  size_t section = 0;
  for (const LanguageKey& k : LanguageKeys()) {
    EXPECT_TRUE(seen.insert({k.section, k.key}).second) << k.section << "/" << k.key;
    while (section < order.size() && order[section] != k.section) ++section;
    ASSERT_LT(section, order.size()) << "section out of order: " << k.section;
  }
  EXPECT_EQ(LanguageKeys().front().key, "Title");
  EXPECT_EQ(LanguageKeys().back().key, "ButtonCancel");
  int skins = 0, products = 0, kept = 0;
  for (const LanguageKey& k : LanguageKeys()) {
    if (k.key.starts_with("N_Skin") && k.key.size() > 6) ++skins;
    if (k.key.starts_with("N_Product")) ++products;
    if (IsKeptMessageKey(k.key)) ++kept;
  }
  EXPECT_EQ(skins, 18);
  EXPECT_EQ(products, 7);
  EXPECT_EQ(kept, 7);
}

}  // namespace
