// SPDX-License-Identifier: GPL-3.0-or-later
// Reads 256 MiB of 80-byte lines from a child through TConsoleIO (cut at
// '\n') and through QProcess (readLine), alternating, three runs each, and
// prints the median MiB/s of both; then the creating thread's processor time
// while a child prints the encoder's time marker ten times a second for 10 s.
// An optional argument sets the number of lines (default: 256 MiB worth).
// The program is its own child: `--write LINES` and `--markers COUNT`.
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include <QApplication>
#include <QEventLoop>
#include <QProcess>

#include "console/ConsoleIO.h"

using Clock = std::chrono::steady_clock;

namespace {

constexpr long kLines = 3355443;  // whole 80-byte lines in 256 MiB
constexpr int kLineBytes = 80;
constexpr int kMarkers = 100;
constexpr std::string_view kMarker = "ffmpeg_release_time=12.34=ffmpeg_release_time\n";

bool WriteAll(const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t done = ::write(STDOUT_FILENO, data, size);
    if (done <= 0) return false;
    data += done;
    size -= static_cast<std::size_t>(done);
  }
  return true;
}

// Whole lines in 64 KiB-sized blocks, so the writer costs little next to the reader.
int WriteLines(long lines) {
  const std::string line = std::string(kLineBytes - 1, 'x') + '\n';
  std::string block;
  for (int i = 0; i < 819; ++i) block += line;
  for (long left = lines; left > 0; left -= 819) {
    const long now = std::min<long>(left, 819);
    if (!WriteAll(block.data(), static_cast<std::size_t>(now) * kLineBytes)) return 1;
  }
  return 0;
}

int WriteMarkers(int count) {
  for (int i = 0; i < count; ++i) {
    if (!WriteAll(kMarker.data(), kMarker.size())) return 1;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return 0;
}

double ThreadCpu() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec + t.tv_nsec / 1e9;
}

struct Result {
  double seconds = 0;
  double cpu = 0;  // of this thread
  long lines = 0;
  long bytes = 0;  // line text without terminators
};

// One child through TConsoleIO, until it is reported as ended.
Result ThroughRunner(const QString& self, const char* mode, long count) {
  Result r;
  TConsoleIO runner;
  runner.SetSplitMode(smSplitchar);
  runner.SetSplitChar('\n');
  runner.OnReceiveOutput = [&](TConsoleIO*, const std::string& piece) {
    if (piece.empty()) return;  // the empty rest after the last terminator
    ++r.lines;
    r.bytes += static_cast<long>(piece.size());
  };
  QEventLoop loop;
  runner.OnProcessStatusChange = [&](TConsoleIO*, bool running) {
    if (!running) loop.quit();
  };
  const double cpu0 = ThreadCpu();
  const auto start = Clock::now();
  std::string command(1, '\'');  // the runner splits words by shell rules
  command += self.toStdString() + "' " + mode + ' ' + std::to_string(count);
  runner.Run(command, "", false);
  loop.exec();
  r.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  r.cpu = ThreadCpu() - cpu0;
  return r;
}

Result ThroughQProcess(const QString& self, long count) {
  Result r;
  QProcess process;
  QEventLoop loop;
  auto drain = [&] {
    while (process.canReadLine()) {
      const QByteArray line = process.readLine();
      ++r.lines;
      r.bytes += line.size() - 1;
    }
  };
  QObject::connect(&process, &QProcess::readyReadStandardOutput, drain);
  QObject::connect(&process, &QProcess::finished, [&] {
    drain();
    loop.quit();
  });
  const auto start = Clock::now();
  process.start(self, {"--write", QString::number(count)});
  loop.exec();
  r.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  return r;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

bool Check(const char* name, const Result& r, long lines, std::size_t lineBytes) {
  if (r.lines == lines && r.bytes == lines * static_cast<long>(lineBytes - 1)) return true;
  std::printf("%s: %ld lines, %ld bytes; expected %ld lines\n", name, r.lines, r.bytes, lines);
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--write") == 0) return WriteLines(std::atol(argv[2]));
  if (argc == 3 && std::strcmp(argv[1], "--markers") == 0) return WriteMarkers(std::atoi(argv[2]));
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const QString self = QCoreApplication::applicationFilePath();
  const long lines = argc > 1 ? std::atol(argv[1]) : kLines;
  const double mib = lines * double(kLineBytes) / (1024 * 1024);

  bool ok = true;
  std::vector<double> runner, qprocess;
  for (int round = 1; round <= 3; ++round) {
    const Result a = ThroughRunner(self, "--write", lines);
    const Result b = ThroughQProcess(self, lines);
    ok &= Check("TConsoleIO", a, lines, kLineBytes);
    ok &= Check("QProcess", b, lines, kLineBytes);
    runner.push_back(mib / a.seconds);
    qprocess.push_back(mib / b.seconds);
    std::printf("round %d: TConsoleIO %.1f MiB/s, QProcess %.1f MiB/s\n", round, runner.back(),
                qprocess.back());
  }
  std::printf("median: TConsoleIO %.1f MiB/s (goal >= 100), QProcess %.1f MiB/s, ratio %.2f\n",
              Median(runner), Median(qprocess), Median(runner) / Median(qprocess));

  const Result m = ThroughRunner(self, "--markers", kMarkers);
  ok &= Check("markers", m, kMarkers, kMarker.size());
  std::printf(
      "markers: %ld lines in %.2f s, creating thread %.4f s = %.3f%% of one core (goal < 1%%)\n",
      m.lines, m.seconds, m.cpu, 100 * m.cpu / m.seconds);
  return ok ? 0 : 1;
}
