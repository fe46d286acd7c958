// SPDX-License-Identifier: GPL-3.0-or-later
// What the desktop shows in each language: the product pages behind the Tools
// menu, the message of an "open" that found no program, and Qt's own texts.
#include <array>
#include <filesystem>
#include <memory>
#include <string>

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include "common/LanguageTable.h"
#include "common/QtTranslation.h"
#include "common/Unit_common.h"
#include "queue/FolderTree.h"
#include "tests/support/TempDir.h"
#include "ui/PathText.h"
#include "ui/ShellService.h"

namespace {

// A program folder with the real language files and the given language.
std::string ProgramFolder(const TempDir& dir, int language) {
  std::filesystem::create_directory_symlink(VELBRIN_SOURCE_DIR "language", dir / "language");
  WriteFileBytes(dir / "config.ini", "[common]\nlanguage=" + std::to_string(language) + "\n");
  return dir.folder();
}

class Shell : public IShellService {
 public:
  explicit Shell(bool opens) : opens_(opens) {}
  bool Open(const QString& target) override {
    opened.push_back(TextToPath(target));
    return opens_;
  }
  std::vector<std::string> opened;

 private:
  bool opens_;
};

TEST(DesktopTexts, everyProductEntryOpensThePageItsCaptionNames) {
  const std::array<const char*, 7> pages{"dvd-ripper",      "mp4-converter", "avi-converter",
                                         "audio-converter", "video-joiner",  "video-splitter",
                                         "screen-recorder"};
  struct Language {
    int index;
    std::array<const char*, 7> captions;
  };
  const Language languages[] = {
      {2,
       {"Velbrin DVD Ripper", "Velbrin MP4 Converter", "Velbrin AVI Converter",
        "Velbrin Audio Converter", "Velbrin Video Joiner", "Velbrin Video Splitter",
        "Velbrin Screen Recorder"}},
      {3,
       {"Velbrin DVD リッパー", "Velbrin MP4 コンバーター", "Velbrin AVI コンバーター",
        "Velbrin オーディオコンバーター", "Velbrin 動画結合", "Velbrin 動画分割",
        "Velbrin 画面録画"}},
      // Language 1 has one page for every product: its home page.
      {1,
       {"Velbrin DVD 转换器", "Velbrin MP4 转换器", "Velbrin AVI 转换器", "Velbrin 音频转换器",
        "Velbrin 视频合并器", "Velbrin 视频分割器", "Velbrin 屏幕录像机"}},
  };
  for (const Language& language : languages) {
    TempDir dir;
    TfrmCommon common(ProgramFolder(dir, language.index));
    const LanguageTable table(common.LanguageFileName(), language.index);
    Shell shell(true);
    common.SetShellService(&shell);
    for (int n = 1; n <= 7; ++n) {
      SCOPED_TRACE("language " + std::to_string(language.index) + ", N_Product" +
                   std::to_string(n));
      const std::string key = "N_Product" + std::to_string(n);
      EXPECT_EQ(table.Text("frmMain", key), QString::fromUtf8(language.captions[n - 1]));
      common.OpenProductPage(n);
      const std::string page = language.index == 1
                                   ? common.HomePageAddress()
                                   : std::string("https://velbrin.example.org/en/products/") +
                                         pages[static_cast<size_t>(n - 1)];
      EXPECT_EQ(shell.opened.back(), page);
    }
  }
}

// Answers the next message box that comes up (within a minute) and keeps its caption and text.
struct SeenBox {
  QString caption, text;
};
std::shared_ptr<SeenBox> AnswerNextMessageBox() {
  auto seen = std::make_shared<SeenBox>();
  auto* poll = new QTimer;
  const QDeadlineTimer limit(60000);
  QObject::connect(poll, &QTimer::timeout, [poll, seen, limit] {
    if (limit.hasExpired()) poll->deleteLater();
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      auto* box = qobject_cast<QMessageBox*>(widget);
      if (!box || !box->isVisible() || poll->property("done").toBool()) continue;
      *seen = {box->windowTitle(), box->text()};
      box->accept();
      poll->setProperty("done", true);
      poll->deleteLater();
    }
  });
  poll->start(10);
  return seen;
}

TEST(DesktopTexts, anOpenThatFindsNoProgramSaysWhatToInstall) {
  for (int language : {1, 2, 3}) {
    TempDir dir;
    TfrmCommon common(ProgramFolder(dir, language));
    Shell fails(false);
    common.SetShellService(&fails);
    const std::pair<void (TfrmCommon::*)(), const char*> targets[] = {
        {&TfrmCommon::OpenHelpFile, "xchm"},
        {&TfrmCommon::OpenHomePage, "firefox-esr"},
        {&TfrmCommon::OpenSupport, "thunderbird"},
    };
    for (const auto& [open, package] : targets) {
      SCOPED_TRACE("language " + std::to_string(language) + ", " + package);
      const auto seen = AnswerNextMessageBox();
      (common.*open)();
      EXPECT_EQ(seen->caption,
                LanguageTable(common.LanguageFileName(), language).Text("App", "Title"));
      EXPECT_TRUE(seen->text.contains(PathToText(fails.opened.back()))) << seen->text.toStdString();
      EXPECT_TRUE(seen->text.contains(package)) << seen->text.toStdString();
      EXPECT_TRUE(seen->text.contains("xdg-utils")) << seen->text.toStdString();
    }
    const auto seen = AnswerNextMessageBox();
    common.OpenDocument(dir.folder());  // the output folder
    EXPECT_TRUE(seen->text.contains("pcmanfm")) << seen->text.toStdString();
    EXPECT_FALSE(common.Text("frmCommon", "msgInhibitReason").isEmpty());
  }
}

TEST(DesktopTexts, qtsOwnTextsFollowTheLanguage) {
  for (int language : {1, 2, 3}) {
    SCOPED_TRACE("language " + std::to_string(language));
    const QtTranslation translation(language);
    EXPECT_EQ(translation.Loaded(), language != 2);
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    QFileDialog files;
    files.setOption(QFileDialog::DontUseNativeDialog);
    const QString cancel =
        files.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->text();
    const bool english = language == 2;
    EXPECT_EQ(box.button(QMessageBox::Yes)->text() == "&Yes", english);
    EXPECT_EQ(box.button(QMessageBox::No)->text() == "&No", english);
    EXPECT_EQ(cancel == "Cancel", english) << cancel.toStdString();
    EXPECT_EQ(ComputerNodeName() == "Computer", english);
  }
}

}  // namespace
