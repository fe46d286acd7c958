// SPDX-License-Identifier: GPL-3.0-or-later
// Converts one 60 s 640x480 25 fps H.264+AAC source with the whole program
// (offscreen main window, runner, run, progress) and with libm9s alone,
// alternating, and prints the median wall-time ratio and the program's own
// processor time as a share of the encoder's.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QLineEdit>

#include "app/UnitMain.h"
#include "common/Unit_common.h"
#include "engine/CommandLine.h"
#include "platform/ShellWords.h"
#include "ui/PathText.h"
#include "ui/Prompts.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

class NoPrompts : public IPrompts {
 public:
  bool AskOkCancel(QWidget*, const QString&, const QString&) override { return false; }
  bool AskYesNo(QWidget*, const QString&, const QString&) override { return false; }
  int ExecModal(QDialog*) override { return 0; }
};

double Seconds(const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; }
double Cpu(const rusage& u) { return Seconds(u.ru_utime) + Seconds(u.ru_stime); }

int Spawn(const std::vector<std::string>& words, rusage* usage) {
  std::vector<char*> argv;
  for (const auto& w : words) argv.push_back(const_cast<char*>(w.c_str()));
  argv.push_back(nullptr);
  std::fflush(stdout);  // the child must not write our buffered lines again
  const pid_t pid = fork();
  if (pid == 0) {
    freopen("/dev/null", "w", stdout);
    freopen("/dev/null", "w", stderr);
    freopen("/dev/null", "r", stdin);
    execv(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  wait4(pid, &status, 0, usage);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
}

struct Sample {
  double wall = 0;
  double ownCpu = 0;
  double encoderCpu = 0;
};

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const fs::path work = fs::temp_directory_path() / "velbrin-bench-app";
  fs::create_directories(work / "prog");
  fs::create_directories(work / "out");
  for (const auto& entry : fs::directory_iterator(VELBRIN_PROGRAM_DIR)) {
    if (entry.path().filename() == "config.ini") continue;
    fs::copy(entry.path(), work / "prog" / entry.path().filename(),
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
  }
  const fs::path source = work / "source.mp4";
  if (!fs::exists(source)) {
    rusage unused{};
    const int made = Spawn({"/usr/bin/ffmpeg",
                            "-nostdin",
                            "-y",
                            "-f",
                            "lavfi",
                            "-i",
                            "testsrc2=size=640x480:rate=25",
                            "-f",
                            "lavfi",
                            "-i",
                            "sine=frequency=440:sample_rate=44100",
                            "-ac",
                            "2",
                            "-t",
                            "60",
                            "-c:v",
                            "libx264",
                            "-pix_fmt",
                            "yuv420p",
                            "-c:a",
                            "aac",
                            source.string()},
                           &unused);
    if (made != 0) {
      std::fprintf(stderr, "ffmpeg could not make the source\n");
      return 1;
    }
  }
  const std::string program = (work / "prog").string() + "/";
  const fs::path output = work / "out" / "source.3gp";
  TfrmCommon common(program);
  frmCommon = &common;
  NoPrompts prompts;
  TfrmMain window(MainServices{.prompts = &prompts});
  window.show();
  window.AddFileToList(PathToText(source.string()));
  window.findChild<QLineEdit*>("editOutputFolder")->setText(PathToText((work / "out").string()));
  window.SetOverwritePolicy(4);  // overwrite every earlier result without asking

  const auto words = SplitShellWords(
      BuildCommandLine(program, ConversionSettings{}, source.string(), output.string()));
  std::vector<Sample> whole, alone;
  for (int round = 0; round < 5; ++round) {
    {
      rusage self0{}, child0{}, self1{}, child1{};
      getrusage(RUSAGE_SELF, &self0);
      getrusage(RUSAGE_CHILDREN, &child0);
      const auto start = Clock::now();
      window.findChild<QAction*>("ActionConvertNow")->trigger();
      const auto end = Clock::now();
      getrusage(RUSAGE_SELF, &self1);
      getrusage(RUSAGE_CHILDREN, &child1);
      whole.push_back({std::chrono::duration<double>(end - start).count(), Cpu(self1) - Cpu(self0),
                       Cpu(child1) - Cpu(child0)});
    }
    {
      fs::remove(output);
      rusage usage{};
      const auto start = Clock::now();
      Spawn(*words, &usage);
      const auto end = Clock::now();
      alone.push_back({std::chrono::duration<double>(end - start).count(), 0, Cpu(usage)});
    }
    std::printf("round %d: whole %.3f s (own cpu %.3f s, encoder cpu %.3f s), alone %.3f s\n",
                round + 1, whole.back().wall, whole.back().ownCpu, whole.back().encoderCpu,
                alone.back().wall);
  }
  std::vector<double> wallWhole, wallAlone, share;
  for (const auto& s : whole) {
    wallWhole.push_back(s.wall);
    share.push_back(s.ownCpu / s.encoderCpu);
  }
  for (const auto& s : alone) wallAlone.push_back(s.wall);
  std::printf("median wall: whole %.3f s, alone %.3f s, ratio %.3f (goal <= 1.03)\n",
              Median(wallWhole), Median(wallAlone), Median(wallWhole) / Median(wallAlone));
  std::printf("median own cpu / encoder cpu: %.4f (goal < 0.02)\n", Median(share));
  frmCommon = nullptr;
  return 0;
}
