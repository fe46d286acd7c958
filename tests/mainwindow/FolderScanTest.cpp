// SPDX-License-Identifier: GPL-3.0-or-later
#include <sys/stat.h>

#include <filesystem>
#include <set>

#include <QTimer>

#include "queue/FolderScan.h"
#include "queue/QueueModel.h"
#include "tests/mainwindow/MainWindowFixture.h"

namespace fs = std::filesystem;

namespace {

// root/ a.avi b.txt noext clip.avi/(h.avi) sub/(c.mpg deep/(d.mkv) loop->root)
//       2008/(g.avi) .hidden/(e.avi) ro/(f.avi, mode 0555) link->sub
class FolderScanTest : public MainWindowTest {
 protected:
  void SetUp() override {
    Start("[setting]\noutputFolder=/tmp/\n");
    root = folder.path() / "root";
    for (const char* dir : {"clip.avi", "sub/deep", "2008", ".hidden", "ro"})
      fs::create_directories(root / dir);
    for (const char* file : {"a.avi", "b.txt", "noext", "clip.avi/h.avi", "sub/c.mpg",
                             "sub/deep/d.mkv", "2008/g.avi", ".hidden/e.avi", "ro/f.avi"})
      WriteFileBytes(root / file, "x");
    fs::create_directory_symlink(root, root / "sub" / "loop");
    fs::create_directory_symlink(root / "sub", root / "link");
    chmod((root / "ro").c_str(), 0555);
  }
  void TearDown() override { chmod((root / "ro").c_str(), 0755); }

  QStringList Scan(const std::string& start, bool subDirs, const std::string& ext) {
    Queue().Clear();
    window->AddFilesFromFolder(start, subDirs, ext);
    return Entries();
  }
  std::set<QString> Set(const QStringList& list) { return {list.begin(), list.end()}; }
  QString P(const char* relative) { return QString::fromStdString((root / relative).string()); }

  fs::path root;
};

TEST_F(FolderScanTest, subFolderRuleAndExtensionPatterns) {
  const std::set<QString> all = {P("a.avi"), P("clip.avi/h.avi"), P("sub/c.mpg"),
                                 P("sub/deep/d.mkv"), P("2008/g.avi")};
  // Hidden, read-only (owner bit, although root may write) and linked folders
  // are not entered; the link cycle under sub ends nothing.
  EXPECT_EQ(Set(Scan(root.string(), true, "*")), all);
  EXPECT_EQ(Set(Scan(root.string(), true, "")), all);
  // "*.avi" sees a.avi and the folder clip.avi, never the folder 2008.
  EXPECT_EQ(Set(Scan(root.string(), true, "avi")),
            (std::set<QString>{P("a.avi"), P("clip.avi/h.avi")}));
  // Without sub-folders a folder is handed over like a file; clip.avi passes the test.
  EXPECT_EQ(Set(Scan(root.string(), false, "*")), (std::set<QString>{P("a.avi"), P("clip.avi")}));
  EXPECT_TRUE(Scan((root / "missing").string(), true, "*").isEmpty());
}

TEST_F(FolderScanTest, depthFirstInDirectoryOrder) {
  // The order readdir gives, with every entered folder's files in its place.
  QStringList expected;
  std::function<void(const fs::path&)> walk = [&](const fs::path& dir) {
    for (const fs::directory_entry& entry : fs::directory_iterator(dir)) {
      const std::string name = entry.path().filename().string();
      if (entry.is_symlink() || name.front() == '.' || name == "ro") continue;
      if (entry.is_directory())
        walk(entry.path());
      else if (name.ends_with(".avi") || name.ends_with(".mpg") || name.ends_with(".mkv"))
        expected << QString::fromStdString(entry.path().string());
    }
  };
  walk(root);
  EXPECT_EQ(Scan(root.string(), true, "*"), expected);
}

TEST_F(FolderScanTest, separatorIsInsertedAfterATrailingOne) {
  const QStringList entries = Scan(root.string() + "/", true, "avi");
  ASSERT_EQ(entries.size(), 2);
  for (const QString& entry : entries)
    EXPECT_TRUE(entry.startsWith(QString::fromStdString(root.string()) + "//"))
        << entry.toStdString();
}

TEST_F(FolderScanTest, windowHandlesEventsDuringTheScan) {
  int countWhenFired = -1;
  QTimer::singleShot(0, window.get(), [&] { countWhenFired = Queue().Count(); });
  const QStringList entries = Scan(root.string(), true, "*");
  // The event ran between two entries of the scan, not after it.
  EXPECT_GE(countWhenFired, 0);
  EXPECT_LT(countWhenFired, entries.size());
}

}  // namespace
