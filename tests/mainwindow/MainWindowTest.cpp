// SPDX-License-Identifier: GPL-3.0-or-later
#include <filesystem>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDropEvent>
#include <QFileDialog>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QUrl>
#include <QWidget>

#include "common/Unit_common.h"
#include "console/ConsoleIO.h"
#include "engine/ConversionSettings.h"
#include "queue/QueueModel.h"
#include "queue/Unit_common_directory.h"
#include "tests/mainwindow/MainWindowFixture.h"
#include "tests/support/qt/FindControl.h"
#include "ui/SkinEngine.h"

namespace {

TEST_F(MainWindowTest, clientAreaHasItsFixedSizeBelowTheMenuBarAndHoldsEveryControl) {
  Start(nullptr);
  const QSize client(414, 402);
  EXPECT_EQ(window->centralWidget()->size(), client);
  EXPECT_EQ(window->size(), client + QSize(0, window->menuBar()->height()));
  const QSize needed = window->centralWidget()->layout()->minimumSize();
  EXPECT_EQ(needed.boundedTo(client), needed) << needed.width() << "x" << needed.height();
}

TEST_F(MainWindowTest, busyStateLocksQueueChoicesAndFolderOnly) {
  Start(nullptr);
  const char* locked[] = {"listViewFiles",        "buttonAdd",          "buttonDelete",
                          "buttonClearAll",       "buttonMoveUp",       "buttonMoveDown",
                          "comboBoxVideoBitrate", "comboBoxFrameRate",  "comboBoxVideoSize",
                          "comboBoxAudioBitrate", "comboBoxSampleRate", "comboBoxChannel",
                          "editOutputFolder",     "BitBtnOutput"};
  const char* lockedActions[] = {"ActionFileAdd",
                                 "ActionFileDelete",
                                 "ActionFileClearAll",
                                 "ActionFileMoveUp",
                                 "ActionFileMoveDown",
                                 "ActionSetDirectory",
                                 "ActionFileBatchAdd",
                                 "N1_1",
                                 "N1_11",
                                 "N1_2",
                                 "N1_3",
                                 "N1_5",
                                 "N1_6",
                                 "popMenu1",
                                 "popMenu2",
                                 "popMenu3",
                                 "popMenu4",
                                 "popMenu6",
                                 "popMenu7"};
  const char* usable[] = {"buttonConvert", "groupBoxStatus", "labelCurrentInfo",
                          "progressBarCurrent", "groupBoxSettings"};
  const char* usableActions[] = {"ActionConvertNow", "ActionExit", "N1_8",     "N1_10",
                                 "N_Setting",        "N_Skin1",    "N_Skin18", "N_LocalHelp",
                                 "N_Product1"};
  for (bool busy : {true, false}) {
    window->ConsoleIOProcessStatusChange(busy);
    for (const char* name : locked)
      EXPECT_EQ(Find<QWidget>(window.get(), name)->isEnabled(), !busy) << name;
    for (const char* name : lockedActions)
      EXPECT_EQ(Find<QAction>(window.get(), name)->isEnabled(), !busy) << name;
    for (const char* name : usable)
      EXPECT_TRUE(Find<QWidget>(window.get(), name)->isEnabled()) << name;
    for (const char* name : usableActions)
      EXPECT_TRUE(Find<QAction>(window.get(), name)->isEnabled()) << name;
    for (const char* menu : {"N_1", "N_Options", "N_Skin", "N_Tools", "N_Help"})
      EXPECT_TRUE(Find<QMenu>(window.get(), menu)->menuAction()->isEnabled()) << menu;
  }
}

TEST_F(MainWindowTest, convertCaptionFollowsTheRealEncoderState) {
  Start(nullptr);
  auto* button = Find<QPushButton>(window.get(), "buttonConvert");
  EXPECT_EQ(button->text(), "Convert");
  EXPECT_EQ(Find<QAction>(window.get(), "N1_8")->text(), "Convert");
  bool sawStop = false;
  Host().ConsoleIO().Run("/bin/sleep 0.3", "", false);
  sawStop = button->text() == "Stop" && !Find<QPushButton>(window.get(), "buttonAdd")->isEnabled();
  EXPECT_TRUE(sawStop);
  QTRY_VERIFY_WITH_TIMEOUT(!Host().ConsoleIO().IsRunning(), 10000);
  QTRY_COMPARE_WITH_TIMEOUT(button->text(), QString("Start"), 10000);
  EXPECT_TRUE(Find<QTableView>(window.get(), "listViewFiles")->isEnabled());
  EXPECT_EQ(Find<QAction>(window.get(), "N1_8")->text(), "Start");
}

TEST_F(MainWindowTest, everyStartShowsTheSixDefaults) {
  Start(nullptr);
  const std::pair<const char*, ConversionChoice> lists[] = {
      {"comboBoxVideoSize", ConversionChoice::VideoSize},
      {"comboBoxVideoBitrate", ConversionChoice::VideoBitrate},
      {"comboBoxFrameRate", ConversionChoice::FrameRate},
      {"comboBoxAudioBitrate", ConversionChoice::AudioBitrate},
      {"comboBoxSampleRate", ConversionChoice::SampleRate},
      {"comboBoxChannel", ConversionChoice::Channels}};
  for (int start = 0; start < 2; ++start) {
    for (const auto& [name, choice] : lists) {
      auto* list = Find<QComboBox>(window.get(), name);
      ASSERT_EQ(list->count(), static_cast<int>(ChoiceItemTexts(choice).size())) << name;
      EXPECT_EQ(list->currentIndex(), ChoiceDefaultIndex(choice)) << name;
      EXPECT_EQ(list->currentText().toStdString(),
                ChoiceItemTexts(choice)[ChoiceDefaultIndex(choice)]);
      list->setCurrentIndex(list->count() - 1 == list->currentIndex() ? 0 : list->count() - 1);
    }
    Restart();
  }
}

TEST_F(MainWindowTest, theStoredSkinIsAppliedWhenTheWindowShows) {
  std::filesystem::create_directories(folder / "skins");
  for (const char* name : {"Longhorn.ssk", "Silver.ssk"})
    std::filesystem::copy_file(std::string(VELBRIN_PROGRAM_DIR "skins/") + name,
                               folder / "skins" / name);
  Start("[skin]\nskin=5\n");
  ASSERT_NE(common->SkinEngine(), nullptr);
  EXPECT_EQ(common->SkinEngine()->SkinFile(), folder.folder() + "skins/Longhorn.ssk");
  WriteFileBytes(folder / "config.ini", "[skin]\nskin=19\n");  // outside the table
  Restart();
  EXPECT_EQ(common->SkinEngine()->SkinFile(), folder.folder() + "skins/Silver.ssk");
  EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

TEST_F(MainWindowTest, moveRemoveAndClearKeepTheSelectionRules) {
  Start(nullptr);
  for (const char* name : {"/v/1.avi", "/v/2.avi", "/v/3.avi", "/v/skip.txt"})
    window->AddFileToList(name);
  EXPECT_EQ(Entries(), (QStringList{"/v/1.avi", "/v/2.avi", "/v/3.avi"}));
  window->ActionFileMoveUpExecute();  // nothing selected
  EXPECT_EQ(Selected(), -1);
  Host().SelectEntry(2);
  for (int k = 0; k < 3; ++k)
    Find<QAction>(window.get(), "ActionFileMoveUp")->trigger();  // never past the top
  EXPECT_EQ(Entries(), (QStringList{"/v/3.avi", "/v/1.avi", "/v/2.avi"}));
  EXPECT_EQ(Selected(), 0);
  EXPECT_EQ(Find<QTableView>(window.get(), "listViewFiles")->currentIndex().row(), 0);
  Find<QPushButton>(window.get(), "buttonMoveDown")->click();
  EXPECT_EQ(Entries(), (QStringList{"/v/1.avi", "/v/3.avi", "/v/2.avi"}));
  EXPECT_EQ(Selected(), 1);
  Host().SelectEntry(2);
  window->ActionFileMoveDownExecute();  // the last stays last
  EXPECT_EQ(Selected(), 2);
  Find<QPushButton>(window.get(), "buttonDelete")->click();
  EXPECT_EQ(Entries(), (QStringList{"/v/1.avi", "/v/3.avi"}));

  prompts.answer = false;
  Find<QPushButton>(window.get(), "buttonClearAll")->click();
  EXPECT_EQ(Entries().size(), 2);
  EXPECT_EQ(prompts.lastCaption, "Velbrin Test");
  EXPECT_EQ(prompts.lastText, "Clear the list?");
  prompts.answer = true;
  window->ActionFileClearAllExecute();
  window->ActionFileClearAllExecute();  // asks on an empty queue too
  EXPECT_TRUE(Entries().isEmpty());
  EXPECT_EQ(prompts.questions, 3);
}

TEST_F(MainWindowTest, additionsReachTheListViewPromptly) {
  Start(nullptr);
  window->AddFileToList("/v/a.avi");
  EXPECT_EQ(Queue().Count(), 1);
  QTRY_COMPARE_WITH_TIMEOUT(Find<QTableView>(window.get(), "listViewFiles")->model()->rowCount(), 1,
                            1000);
  EXPECT_EQ(Find<QTableView>(window.get(), "listViewFiles")->model()->index(0, 0).data().toString(),
            "/v/a.avi");
  // An edit in place is the entry's path from then on.
  Find<QTableView>(window.get(), "listViewFiles")
      ->model()
      ->setData(Queue().index(0, 0), "/w/b.mkv");
  EXPECT_EQ(Host().EntryPath(0), "/w/b.mkv");
}

void Drop(QWidget* target, const QList<QUrl>& urls) {
  QMimeData data;
  data.setUrls(urls);
  const QPointF at(target->width() / 2.0, target->height() / 2.0);
  QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDragMoveEvent move(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &move);
  EXPECT_TRUE(move.isAccepted());
  QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &drop);
}

TEST_F(MainWindowTest, dropsAppendInOrderEvenWhileBusy) {
  Start(nullptr);
  std::filesystem::create_directories(folder / "films.mkv");
  std::filesystem::create_directories(folder / "plain");
  const std::string longName = std::string(300, 'n') + ".avi";
  const QString base = QString::fromStdString(folder.folder());
  Drop(window.get(), {QUrl::fromLocalFile(base + "b.avi"), QUrl::fromLocalFile(base + "notes.txt"),
                      QUrl::fromLocalFile(base + "plain"), QUrl::fromLocalFile(base + "a b%.MP4"),
                      QUrl::fromLocalFile(base + "films.mkv"), QUrl("https://example.org/x.avi")});
  window->ConsoleIOProcessStatusChange(true);
  // Anywhere on the window, also over the disabled list.
  Drop(Find<QTableView>(window.get(), "listViewFiles")->viewport(),
       {QUrl::fromLocalFile(base + QString::fromStdString(longName))});
  window->ConsoleIOProcessStatusChange(false);
  EXPECT_EQ(Entries(), (QStringList{base + "b.avi", base + "a b%.MP4", base + "films.mkv",
                                    base + QString::fromStdString(longName)}));

  // A drag without any local file is refused before it is dropped.
  QMimeData web;
  web.setUrls({QUrl("https://example.org/x.avi")});
  web.setText("/v/a.avi");
  QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &web, Qt::LeftButton, Qt::NoModifier);
  enter.ignore();
  QApplication::sendEvent(window.get(), &enter);
  EXPECT_FALSE(enter.isAccepted());
}

TEST_F(MainWindowTest, openFileDialogAddsChosenNamesAndRemembersTheGroup) {
  Start(nullptr);
  WriteFileBytes(folder / "one.avi", "x");
  const QString base = QString::fromStdString(folder.folder());
  QStringList shownFilters;
  QString shownTitle, shownFilter;
  prompts.modal = [&](QDialog* dialog) {
    auto* files = qobject_cast<QFileDialog*>(dialog);
    EXPECT_NE(files, nullptr);
    shownTitle = files->windowTitle();
    shownFilters = files->nameFilters();
    shownFilter = files->selectedNameFilter();
    EXPECT_TRUE(files->testOption(QFileDialog::DontUseNativeDialog));
    EXPECT_EQ(files->fileMode(), QFileDialog::ExistingFiles);
    files->setDirectory(base);
    files->selectNameFilter(shownFilters.value(2));
    // What a user types into the name field.
    auto* name = files->findChild<QLineEdit*>("fileNameEdit");
    EXPECT_NE(name, nullptr);
    if (name) name->setText("\"one.avi\" \"typed.mpg\" \"skip.psp\"");
    dialog->accept();  // through QDialog, where it is public
    return files->result();
  };
  window->ActionFileAddExecute();
  EXPECT_EQ(shownTitle, "Open video files");
  EXPECT_EQ(shownFilters.size(), 9);
  EXPECT_EQ(shownFilter, shownFilters.value(0));
  EXPECT_EQ(Entries().join('|').toStdString(),
            (base + "one.avi|" + base + "typed.mpg").toStdString());

  prompts.modal = [&](QDialog* dialog) {
    shownFilter = qobject_cast<QFileDialog*>(dialog)->selectedNameFilter();
    return int(QDialog::Rejected);
  };
  window->ActionFileAddExecute();
  EXPECT_EQ(shownFilter, shownFilters.value(2));
  EXPECT_EQ(Entries().size(), 2);
}

TEST_F(MainWindowTest, openFileDialogTakesANameWithAQuoteClickedOrTyped) {
  Start(nullptr);
  const std::string quoted = "it \"is\" here.avi";
  WriteFileBytes(folder / quoted, "x");
  const QString base = QString::fromStdString(folder.folder());
  const QString texts[] = {QString(), "\"it \"is\" here.avi\"  \"two.avi\""};
  for (const QString& typed : texts) {
    prompts.modal = [&](QDialog* dialog) {
      auto* files = qobject_cast<QFileDialog*>(dialog);
      files->setDirectory(base);
      auto* name = files->findChild<QLineEdit*>("fileNameEdit");
      if (typed.isEmpty())
        files->selectFile(base + QString::fromStdString(quoted));  // as a click does
      else
        name->setText(typed);
      auto* open = files->findChild<QDialogButtonBox*>("buttonBox")->button(QDialogButtonBox::Open);
      EXPECT_TRUE(open->isEnabled()) << name->text().toStdString();
      dialog->accept();
      return files->result();
    };
    window->ActionFileAddExecute();
  }
  EXPECT_EQ(Entries(), (QStringList{base + QString::fromStdString(quoted),
                                    base + QString::fromStdString(quoted), base + "two.avi"}));
}

TEST_F(MainWindowTest, outputFolderIsStoredOnEveryChangeOnly) {
  Start(nullptr);  // no config.ini: the default is shown and written at once
  const QString fallback = QString::fromStdString(TfrmMain::DefaultOutputFolder());
  EXPECT_TRUE(fallback.endsWith('/'));
  EXPECT_EQ(Find<QLineEdit>(window.get(), "editOutputFolder")->text(), fallback);
  EXPECT_NE(ConfigText().find("outputFolder=" + fallback.toStdString()), std::string::npos);

  // The output-folder dialog's OK takes effect and is written before any run.
  std::filesystem::create_directories(folder / "Out");
  const QString out = QString::fromStdString((folder / "Out").string());
  prompts.modal = [&](QDialog* dialog) {
    auto* directory = qobject_cast<TFrmDirectory*>(dialog);
    EXPECT_TRUE(directory->SelectFolder(out));
    directory->ButtonOKClick();
    return directory->result();
  };
  Find<QPushButton>(window.get(), "BitBtnOutput")->click();
  EXPECT_EQ(Find<QLineEdit>(window.get(), "editOutputFolder")->text(), out);
  EXPECT_NE(ConfigText().find("outputFolder=" + out.toStdString()), std::string::npos);

  // The same text again is no change: nothing is written.
  std::filesystem::remove(folder / "config.ini");
  window->ActionSetDirectoryExecute();
  EXPECT_FALSE(std::filesystem::exists(folder / "config.ini"));
  // Cancel changes nothing.
  prompts.modal = [](QDialog*) { return int(QDialog::Rejected); };
  window->ActionSetDirectoryExecute();
  EXPECT_EQ(Find<QLineEdit>(window.get(), "editOutputFolder")->text(), out);
  EXPECT_TRUE(errors.isEmpty());

  // A failed write is shown; the field keeps its text and the program goes on.
  std::filesystem::create_directories(folder / "config.ini");
  Find<QLineEdit>(window.get(), "editOutputFolder")->setText("/srv/other");
  EXPECT_EQ(Find<QLineEdit>(window.get(), "editOutputFolder")->text(), "/srv/other");
  ASSERT_EQ(errors.size(), 1);
  EXPECT_TRUE(errors.front().startsWith("Unable to write to")) << errors.front().toStdString();
}

TEST_F(MainWindowTest, skinEntriesApplyAndStoreTheirIndexWithoutCheckMarks) {
  Start(nullptr);
  window->findChild<QAction*>("N_Skin5")->trigger();
  EXPECT_NE(ConfigText().find("skin=5"), std::string::npos);
  for (int k = 1; k <= 18; ++k)
    EXPECT_FALSE(window->findChild<QAction*>(QString("N_Skin%1").arg(k))->isCheckable()) << k;
  EXPECT_EQ(Find<QMenu>(window.get(), "N_Skin")->actions().size(), 18);
}

TEST_F(MainWindowTest, storedEmptyOutputFolderStartsEmpty) {
  Start("[setting]\noutputFolder=\n");
  EXPECT_EQ(Find<QLineEdit>(window.get(), "editOutputFolder")->text(), "");
  Start("[setting]\noutputFolder=/data/Case\n");
  EXPECT_EQ(Find<QLineEdit>(window.get(), "editOutputFolder")->text(), "/data/Case");
  EXPECT_EQ(Host().OutputFolderText(), "/data/Case");
}

TEST_F(MainWindowTest, encoderTextDrivesBarAndStatusLine) {
  Start(nullptr);
  for (const char* name : {"/v/1.avi", "/v/clip.avi", "/v/3.avi"}) window->AddFileToList(name);
  window->ConsoleIOReceiveOutput("ffmpeg_release_time=9=ffmpeg_release_time");  // nothing selected
  EXPECT_EQ(Find<QProgressBar>(window.get(), "progressBarCurrent")->value(), 0);
  Host().SelectEntry(1);
  window->ConsoleIOReceiveError(
      "x ffmpeg_release_duration=00:03:25.45=ffmpeg_release_duration\r"
      "ffmpeg_release_time=102.5=ffmpeg_release_time\r");
  EXPECT_EQ(Find<QProgressBar>(window.get(), "progressBarCurrent")->value(), 50);
  EXPECT_EQ(Find<QLabel>(window.get(), "labelCurrentInfo")->text(),
            "Converting 2/3 [-00:03:25] /v/clip.avi");
  EXPECT_EQ(Find<QLabel>(window.get(), "labelCurrentInfo")->toolTip(),
            Find<QLabel>(window.get(), "labelCurrentInfo")->text());
  window->ConsoleIOReceiveOutput("ffmpeg_release_time=abc=ffmpeg_release_time");
  EXPECT_EQ(errors.size(), 1);
  EXPECT_EQ(Find<QProgressBar>(window.get(), "progressBarCurrent")->value(), 50);
  Host().ResetStatus();
  EXPECT_EQ(Find<QLabel>(window.get(), "labelCurrentInfo")->text(), "Ready");
  EXPECT_EQ(Find<QProgressBar>(window.get(), "progressBarCurrent")->value(), 0);
}

TEST_F(MainWindowTest, outputFolderDialogOpensOnTheCurrentOutputFolder) {
  Start(nullptr);
  const std::filesystem::path current = folder / "out" / "deep";
  std::filesystem::create_directories(current);
  Find<QLineEdit>(window.get(), "editOutputFolder")
      ->setText(QString::fromStdString(current.string()));
  QString selected;
  prompts.modal = [&](QDialog*) {
    selected = Find<TFrmDirectory>(window.get(), "TFrmDirectory")->SelectedFolder();
    return int(QDialog::Rejected);
  };
  window->ActionSetDirectoryExecute();
  EXPECT_EQ(selected, QString::fromStdString(current.string()));
}

}  // namespace
