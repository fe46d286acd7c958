// SPDX-License-Identifier: GPL-3.0-or-later
#include <filesystem>
#include <optional>

#include <QCheckBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

#include "queue/Unit_batch.h"
#include "queue/Unit_common_directory.h"
#include "tests/support/TempDir.h"
#include "tests/support/qt/FindControl.h"

namespace {

struct ScanCall {
  std::string folder;
  bool subDirs;
  std::string ext;
};

QString Text(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

// The names below a tree node once the folder has been read (it is read in the background).
QStringList ChildNames(QTreeView* view, const QPersistentModelIndex& node, int expected) {
  QAbstractItemModel* model = view->model();
  view->expand(node);
  QDeadlineTimer limit(10000);
  while (model->rowCount(node) < expected && !limit.hasExpired()) {
    if (model->canFetchMore(node)) model->fetchMore(node);
    QTest::qWait(20);
  }
  QTest::qWait(50);  // a stray extra row would show up within this
  QStringList names;
  for (int row = 0; row < model->rowCount(node); ++row)
    names << model->index(row, 0, node).data().toString();
  return names;
}

TEST(BatchAddDialog, treeStartsAtTheComputerNodeAndShowsFoldersOnly) {
  TempDir dir;
  std::filesystem::create_directory(dir / "sub");
  WriteFileBytes(dir / "movie.avi", "x");
  TFrmBatchAdd dialog(nullptr);
  QTreeView* tree = Find<QTreeView>(&dialog, "ShellTreeView");
  QAbstractItemModel* model = tree->model();
  ASSERT_EQ(model->rowCount(tree->rootIndex()), 1);
  const QModelIndex top = model->index(0, 0, tree->rootIndex());
  EXPECT_EQ(top.data().toString(), "Computer");
  EXPECT_EQ(tree->currentIndex(), top);
  EXPECT_EQ(dialog.SelectedFolder(), "Computer");

  ASSERT_TRUE(dialog.SelectFolder(Text(dir.path())));
  EXPECT_EQ(dialog.SelectedFolder(), Text(dir.path()));
  EXPECT_EQ(ChildNames(tree, tree->currentIndex(), 1), QStringList{"sub"});
  EXPECT_FALSE(dialog.SelectFolder(Text(dir / "movie.avi")));
  EXPECT_FALSE(dialog.SelectFolder(Text(dir / "missing")));
  EXPECT_EQ(dialog.SelectedFolder(), Text(dir.path()));
}

TEST(BatchAddDialog, okHandsOverFolderBoxAndTrimmedExtensionAndKeepsState) {
  TempDir dir;
  std::filesystem::create_directory(dir / "videos");
  std::vector<ScanCall> calls;
  TFrmBatchAdd dialog([&](const std::string& folder, bool subDirs, const std::string& ext) {
    // The dialog is out of the way before the scan runs.
    EXPECT_FALSE(dialog.isVisible());
    calls.push_back({folder, subDirs, ext});
  });
  EXPECT_EQ(Find<QLineEdit>(&dialog, "editExt")->text(), "*");

  // OK at once: the computer node is selected, and it is no folder.
  dialog.show();
  QTest::mouseClick(Find<QPushButton>(&dialog, "buttonOK"), Qt::LeftButton);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_TRUE(calls.empty());

  dialog.show();
  ASSERT_TRUE(dialog.SelectFolder(Text(dir / "videos")));
  Find<QLineEdit>(&dialog, "editExt")->setText(" \tavi ");
  QCheckBox* box = Find<QCheckBox>(&dialog, "checkBoxIsSubDirectorie");
  QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
  QTest::mouseClick(Find<QPushButton>(&dialog, "buttonOK"), Qt::LeftButton);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].folder, (dir / "videos").string());
  EXPECT_TRUE(calls[0].subDirs);
  EXPECT_EQ(calls[0].ext, "avi");

  dialog.show();
  EXPECT_EQ(dialog.SelectedFolder(), Text(dir / "videos"));
  EXPECT_EQ(Find<QLineEdit>(&dialog, "editExt")->text(), " \tavi ");
  EXPECT_TRUE(Find<QCheckBox>(&dialog, "checkBoxIsSubDirectorie")->isChecked());

  // An emptied box goes to the scan empty; the scan reads it as "*".
  Find<QLineEdit>(&dialog, "editExt")->setText("   ");
  Find<QCheckBox>(&dialog, "checkBoxIsSubDirectorie")->setChecked(false);
  QTest::keyClick(Find<QLineEdit>(&dialog, "editExt"), Qt::Key_Return);
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[1].ext, "");
  EXPECT_FALSE(calls[1].subDirs);
}

TEST(BatchAddDialog, cancelEscapeAndCloseBoxAddNothing) {
  TempDir dir;
  int scans = 0;
  TFrmBatchAdd dialog([&](const std::string&, bool, const std::string&) { ++scans; });
  ASSERT_TRUE(dialog.SelectFolder(Text(dir.path())));
  dialog.show();
  QTest::mouseClick(Find<QPushButton>(&dialog, "buttonCancel"), Qt::LeftButton);
  EXPECT_FALSE(dialog.isVisible());
  dialog.show();
  QTest::keyClick(&dialog, Qt::Key_Escape);
  EXPECT_FALSE(dialog.isVisible());
  dialog.show();
  dialog.close();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(scans, 0);
  EXPECT_EQ(dialog.SelectedFolder(), Text(dir.path()));
}

// HOME (and the XDG user folders) pointed at a temporary folder for one test.
class DirectoryDialog : public ::testing::Test {
 protected:
  DirectoryDialog() : home_(qgetenv("HOME")), config_(qgetenv("XDG_CONFIG_HOME")) {
    qputenv("HOME", QByteArray::fromStdString(dir_.path().string()));
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString((dir_ / ".config").string()));
  }
  ~DirectoryDialog() override {
    qputenv("HOME", home_);
    if (config_.isEmpty())
      qunsetenv("XDG_CONFIG_HOME");
    else
      qputenv("XDG_CONFIG_HOME", config_);
  }
  TempDir dir_;

 private:
  QByteArray home_, config_;
};

TEST_F(DirectoryDialog, treeIsRootedAtTheDesktopOrElseTheHomeFolder) {
  {
    TFrmDirectory noDesktop(nullptr, {});
    EXPECT_EQ(QDir(TFrmDirectory::DesktopFolder()), QDir(Text(dir_.path())));
    EXPECT_EQ(QDir(noDesktop.SelectedFolder()), QDir(Text(dir_.path())));
  }
  std::filesystem::create_directories(dir_ / "Desktop" / "out");
  TFrmDirectory dialog(nullptr, {});
  const QString desktop = Text(dir_ / "Desktop");
  EXPECT_EQ(dialog.SelectedFolder(), desktop);
  QTreeView* tree = Find<QTreeView>(&dialog, "ShellTreeView1");
  ASSERT_EQ(tree->model()->rowCount(tree->rootIndex()), 1);
  // The home folder and the computer come before the desktop's own folders.
  const QString home = QString::fromStdString(dir_.path().filename().string());
  EXPECT_EQ(ChildNames(tree, tree->currentIndex(), 3), QStringList({home, "Computer", "out"}));
  EXPECT_TRUE(dialog.SelectFolder(Text(dir_.path())));
  EXPECT_EQ(dialog.SelectedFolder(), Text(dir_.path()));
}

TEST_F(DirectoryDialog, desktopHoldsEveryPlaceAndVolumeAndShowsWhatCameMeanwhile) {
  const std::filesystem::path media = dir_ / "media";
  const std::filesystem::path camera = media / "ann" / "PHONE" / "DCIM" / "Camera";
  std::filesystem::create_directories(camera);
  std::filesystem::create_directories(dir_ / "Desktop" / "out");
  std::filesystem::create_directories(dir_ / "Videos");
  for (int i = 0; i < 40; ++i)  // enough folders on the phone to need scrolling
    std::filesystem::create_directories(media / "ann" / "PHONE" / ("Album " + std::to_string(i)));
  TFrmDirectory dialog(nullptr, {Text(media / "ann"), Text(dir_ / "no-such-root")});
  QTreeView* tree = Find<QTreeView>(&dialog, "ShellTreeView1");
  const QPersistentModelIndex root = tree->model()->index(0, 0, tree->rootIndex());
  const QString home = QString::fromStdString(dir_.path().filename().string());
  EXPECT_EQ(ChildNames(tree, root, 5), QStringList({home, "Videos", "Computer", "PHONE", "out"}));

  // The current output folder is selected and in view when the dialog opens.
  ASSERT_TRUE(dialog.SelectFolder(Text(camera)));
  dialog.show();
  EXPECT_EQ(dialog.SelectedFolder(), Text(camera));
  EXPECT_TRUE(tree->viewport()->rect().contains(tree->visualRect(tree->currentIndex())));

  // A folder made and a volume mounted while the dialog was hidden are there at its next showing.
  dialog.hide();
  std::filesystem::create_directories(dir_ / "Desktop" / "later");
  std::filesystem::create_directories(media / "ann" / "SDCARD");
  dialog.show();
  EXPECT_EQ(ChildNames(tree, root, 7),
            QStringList({home, "Videos", "Computer", "PHONE", "SDCARD", "later", "out"}));
  EXPECT_EQ(dialog.SelectedFolder(), Text(camera));
  dialog.hide();
}

TEST_F(DirectoryDialog, okCancelEscapeAndCloseBoxSetTheChosenFolderByTheirRules) {
  std::filesystem::create_directories(dir_ / "Desktop" / "out");
  TFrmDirectory dialog;
  const QString out = Text(dir_ / "Desktop" / "out");
  auto run = [&](std::function<void()> act) {
    QTimer::singleShot(0, &dialog, std::move(act));
    return dialog.exec();
  };

  EXPECT_EQ(run([&] {
              ASSERT_TRUE(dialog.SelectFolder(out));
              QTest::mouseClick(Find<QPushButton>(&dialog, "ButtonOK"), Qt::LeftButton);
            }),
            QDialog::Accepted);
  EXPECT_EQ(dialog.ChosenFolder(), out);

  EXPECT_EQ(run([&] { dialog.close(); }), QDialog::Rejected);
  EXPECT_EQ(dialog.ChosenFolder(), out);

  EXPECT_EQ(
      run([&] { QTest::mouseClick(Find<QPushButton>(&dialog, "ButtonCancel"), Qt::LeftButton); }),
      QDialog::Rejected);
  EXPECT_EQ(dialog.ChosenFolder(), "");

  EXPECT_EQ(run([&] { QTest::mouseClick(Find<QPushButton>(&dialog, "ButtonOK"), Qt::LeftButton); }),
            QDialog::Accepted);
  EXPECT_EQ(run([&] { QTest::keyClick(&dialog, Qt::Key_Escape); }), QDialog::Rejected);
  EXPECT_EQ(dialog.ChosenFolder(), "");

  // Enter takes the selection, which stayed where it was.
  EXPECT_EQ(
      run([&] { QTest::keyClick(Find<QTreeView>(&dialog, "ShellTreeView1"), Qt::Key_Return); }),
      QDialog::Accepted);
  EXPECT_EQ(dialog.ChosenFolder(), out);
}

}  // namespace
