// SPDX-License-Identifier: GPL-3.0-or-later
// AddFilesFromFolder on the real main window over 100,000 files in 1,000
// folders (20,000 accepted), against `find -type f`; the longest wait of a
// posted event during the scan; the memory of 100,000 queued entries.
#include <malloc.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QTableView>

#include "app/UnitMain.h"
#include "common/Unit_common.h"
#include "queue/QueueModel.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kTopFolders = 10;
constexpr int kFoldersPerTop = 100;
constexpr int kFilesPerFolder = 100;
constexpr int kAcceptedPerFolder = 20;
const char* const kAccepted[] = {".avi", ".mp4", ".mkv", ".MPG", ".wmv"};
const char* const kRefused[] = {".txt", ".jpg", ".srt", ".nfo"};

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

void MakeTree(const fs::path& root) {
  for (int t = 0; t < kTopFolders; ++t) {
    for (int f = 0; f < kFoldersPerTop; ++f) {
      const fs::path dir = root / ("top" + std::to_string(t)) / ("folder" + std::to_string(f));
      fs::create_directories(dir);
      for (int i = 0; i < kFilesPerFolder; ++i) {
        const char* ext = i < kAcceptedPerFolder ? kAccepted[i % 5] : kRefused[i % 4];
        std::ofstream(dir / ("holiday clip " + std::to_string(i) + ext));
      }
    }
  }
}

double TimeFind(const fs::path& root) {
  const std::string command = "find '" + root.string() + "' -type f > /dev/null";
  double best = 1e9;
  for (int i = 0; i < 3; ++i) {
    const auto start = Clock::now();
    if (std::system(command.c_str()) != 0) std::fprintf(stderr, "find failed\n");
    best = std::min(best, Seconds(Clock::now() - start));
  }
  return best;
}

// Re-posts itself as soon as it is handled and keeps the longest wait.
class LatencyProbe : public QObject {
 public:
  void Post() {
    postedAt_ = Clock::now();
    QCoreApplication::postEvent(this, new QEvent(QEvent::User));
  }
  void Stop() { running_ = false; }
  double LongestMs() const { return longest_ * 1000.0; }
  long Handled() const { return handled_; }

 protected:
  void customEvent(QEvent*) override {
    longest_ = std::max(longest_, Seconds(Clock::now() - postedAt_));
    ++handled_;
    if (running_) Post();
  }

 private:
  Clock::time_point postedAt_;
  double longest_ = 0;
  long handled_ = 0;
  bool running_ = true;
};

size_t HeapInUse() { return mallinfo2().uordblks; }

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const fs::path work =
      fs::temp_directory_path() / ("velbrin-queue-bench-" + std::to_string(getpid()));
  const fs::path root = work / "tree";
  fs::create_directories(work / "program");
  std::ofstream(work / "program" / "config.ini") << "[setting]\noutputFolder=/tmp/\n";

  std::printf("generating %d files in %d folders...\n",
              kTopFolders * kFoldersPerTop * kFilesPerFolder, kTopFolders * kFoldersPerTop);
  MakeTree(root);
  const double findSeconds = TimeFind(root);

  TfrmCommon common((work / "program").string() + "/");
  frmCommon = &common;
  double scanSeconds = 0, memoryMiB = 0, longestMs = 0;
  long probes = 0;
  int queued = 0;
  {
    TfrmMain window;
    window.show();
    // The queue behind the window's list.
    auto& queue =
        dynamic_cast<QueueModel&>(*window.findChild<QTableView*>("listViewFiles")->model());
    QCoreApplication::processEvents();

    LatencyProbe probe;
    probe.Post();
    const auto start = Clock::now();
    window.AddFilesFromFolder(root.string(), true, "*");
    scanSeconds = Seconds(Clock::now() - start);
    probe.Stop();
    longestMs = probe.LongestMs();
    probes = probe.Handled();
    queued = queue.Count();
    QCoreApplication::processEvents();

    // 100,000 entries with the tree's path lengths, shown in the list.
    queue.Clear();
    QCoreApplication::processEvents();
    malloc_trim(0);
    const size_t before = HeapInUse();
    const QString base =
        QString::fromStdString((root / "top0" / "folder0" / "holiday clip ").string());
    for (int i = 0; i < 100000; ++i) window.AddFileToList(base + QString::number(i) + ".avi");
    queue.Publish();
    QCoreApplication::processEvents();
    memoryMiB = double(HeapInUse() - before) / (1024.0 * 1024.0);
  }
  frmCommon = nullptr;
  fs::remove_all(work);

  std::printf("queued entries:            %d (expected %d)\n", queued,
              kTopFolders * kFoldersPerTop * kAcceptedPerFolder);
  std::printf("find -type f:              %.3f s\n", findSeconds);
  std::printf("AddFilesFromFolder:        %.3f s  (%.1fx find; goal <= 10x)\n", scanSeconds,
              scanSeconds / findSeconds);
  std::printf("longest posted-event wait: %.2f ms over %ld events (goal <= 50 ms)\n", longestMs,
              probes);
  std::printf("heap for 100,000 entries:  %.1f MiB (goal <= 80 MiB)\n", memoryMiB);
  return 0;
}
