// SPDX-License-Identifier: GPL-3.0-or-later
// What the desktop shows in each language: the product pages behind the Tools
// menu, the message of an "open" that found no program, and Qt's own texts.
#include <filesystem>
#include <string>
#include <vector>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include "common/QtTranslation.h"
#include "common/Unit_common.h"
#include "queue/FolderTree.h"
#include "tests/support/TempDir.h"
#include "tests/support/qt/RecordingServices.h"
#include "ui/PathText.h"

namespace {

// Shared services on a program folder with the real language files.
struct Program {
  explicit Program(int language) {
    std::filesystem::create_directory_symlink(VELBRIN_SOURCE_DIR "language", dir / "language");
    WriteFileBytes(dir / "config.ini", "[common]\nlanguage=" + std::to_string(language) + "\n");
    common = std::make_unique<TfrmCommon>(dir.folder());
    common->SetShellService(&shell);
  }
  TempDir dir;
  RecordingShell shell;
  std::unique_ptr<TfrmCommon> common;
};

TEST(DesktopTexts, everyProductEntryOpensThePageItsCaptionNames) {
  struct Product {
    const char* page;  // language 1 opens its home page for every product
    const char *english, *japanese, *chinese;
  };
  const Product products[] = {
      {"dvd-ripper", "DVD Ripper", "DVD リッパー", "DVD 转换器"},
      {"mp4-converter", "MP4 Converter", "MP4 コンバーター", "MP4 转换器"},
      {"avi-converter", "AVI Converter", "AVI コンバーター", "AVI 转换器"},
      {"audio-converter", "Audio Converter", "オーディオコンバーター", "音频转换器"},
      {"video-joiner", "Video Joiner", "動画結合", "视频合并器"},
      {"video-splitter", "Video Splitter", "動画分割", "视频分割器"},
      {"screen-recorder", "Screen Recorder", "画面録画", "屏幕录像机"},
  };
  for (int language : {1, 2, 3}) {
    Program program(language);
    for (int n = 1; n <= 7; ++n) {
      const Product& product = products[n - 1];
      const char* caption = language == 1   ? product.chinese
                            : language == 3 ? product.japanese
                                            : product.english;
      const std::string key = "N_Product" + std::to_string(n);
      EXPECT_EQ(program.common->Text("frmMain", key.c_str()),
                "Velbrin " + QString::fromUtf8(caption));
      program.common->OpenProductPage(n);
      EXPECT_EQ(TextToPath(program.shell.opened.back()),
                language == 1
                    ? program.common->HomePageAddress()
                    : std::string("https://velbrin.example.org/en/products/") + product.page);
    }
  }
}

TEST(DesktopTexts, anOpenThatFindsNoProgramSaysWhatToInstall) {
  for (int language : {1, 2, 3}) {
    Program program(language);
    program.shell.opens = false;
    const std::pair<std::string, const char*> targets[] = {
        {program.common->HelpFileName(), "xchm"},
        {program.common->HomePageAddress(), "firefox-esr"},
        {program.common->SupportAddress(), "thunderbird"},
        {program.dir.folder(), "pcmanfm"},  // the output folder
    };
    for (const auto& [target, package] : targets) {
      QString caption, text;
      QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        caption = box->windowTitle();
        text = box->text();
        box->accept();
      });
      program.common->OpenDocument(target);
      EXPECT_EQ(caption, program.common->Text("App", "Title"));
      for (const QString& part : {PathToText(target), QString(package), QString("xdg-utils")})
        EXPECT_TRUE(text.contains(part)) << text.toStdString() << " lacks " << part.toStdString();
    }
    EXPECT_FALSE(program.common->Text("frmCommon", "msgInhibitReason").isEmpty());
  }
}

TEST(DesktopTexts, qtsOwnTextsFollowTheLanguage) {
  for (int language : {1, 2, 3}) {
    SCOPED_TRACE("language " + std::to_string(language));
    const QtTranslation translation(language);
    const bool english = language == 2;
    EXPECT_EQ(translation.Loaded(), !english);
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    QFileDialog files;
    files.setOption(QFileDialog::DontUseNativeDialog);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text() == "&Yes", english);
    EXPECT_EQ(box.button(QMessageBox::No)->text() == "&No", english);
    EXPECT_EQ(
        files.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->text() == "Cancel",
        english);
    EXPECT_EQ(ComputerNodeName() == "Computer", english);
  }
}

}  // namespace
