// SPDX-License-Identifier: GPL-3.0-or-later
// Converts one 60 s 640x480 H.264 + AAC source with the default choices through
// libm9s and through ffmpeg, alternating, and prints the median ratios.
#include "tests/support/ChildProcess.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct Sample {
  double seconds;
  long maxKilobytes;
};

Sample RunOnce(const std::vector<std::string>& argv) {
  const auto start = ChildProcess::Clock::now();
  ChildProcess child(argv);
  child.CloseInput();
  auto code = child.Wait(std::chrono::minutes(10));
  if (!code || *code != 0)
    throw std::runtime_error(argv[0] + " failed: " + child.Error().substr(0, 400));
  const std::chrono::duration<double> took = child.EndedAt() - start;
  return {took.count(), child.Usage().ru_maxrss};
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

std::vector<std::string> Options(const std::string& acodec) {
  return {"-vcodec", "mpeg4",   "-acodec", acodec,  "-f",  "3gp",   "-b",  "120k", "-r", "14.98",
          "-s",      "176x144", "-ar",     "16000", "-ab", "12.2k", "-ac", "2",    "-y"};
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const auto dir =
      std::filesystem::temp_directory_path() / ("velbrin-bench-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string source = (dir / "source.mp4").string();
  try {
    std::puts("making the 60 s 640x480 25 fps H.264 + AAC source ...");
    RunOnce({"ffmpeg",       "-nostdin",
             "-hide_banner", "-loglevel",
             "error",        "-y",
             "-f",           "lavfi",
             "-i",           "testsrc2=size=640x480:rate=25",
             "-f",           "lavfi",
             "-i",           "sine=frequency=440:beep_factor=4:sample_rate=48000",
             "-ac",          "2",
             "-t",           "60",
             "-c:v",         "libx264",
             "-c:a",         "aac",
             source});
    std::vector<std::string> ours = {std::string(VELBRIN_PROGRAM_DIR) + "libm9s", "-i", source};
    for (const auto& o : Options("libfaac")) ours.push_back(o);
    ours.push_back((dir / "libm9s.3gp").string());
    std::vector<std::string> theirs = {"ffmpeg", "-nostdin", "-hide_banner", "-loglevel",
                                       "error",  "-i",       source};
    for (const auto& o : Options("aac")) theirs.push_back(o);
    theirs.push_back((dir / "ffmpeg.3gp").string());

    std::vector<double> wallOurs, wallTheirs, memOurs, memTheirs;
    for (int i = 0; i < runs; ++i) {
      Sample a = RunOnce(ours);
      Sample b = RunOnce(theirs);
      std::printf("run %d: libm9s %.2f s %ld KB   ffmpeg %.2f s %ld KB\n", i + 1, a.seconds,
                  a.maxKilobytes, b.seconds, b.maxKilobytes);
      wallOurs.push_back(a.seconds);
      wallTheirs.push_back(b.seconds);
      memOurs.push_back(static_cast<double>(a.maxKilobytes));
      memTheirs.push_back(static_cast<double>(b.maxKilobytes));
    }
    std::printf("median wall: libm9s %.2f s, ffmpeg %.2f s, ratio libm9s/ffmpeg %.2f\n",
                Median(wallOurs), Median(wallTheirs), Median(wallOurs) / Median(wallTheirs));
    std::printf("median peak memory: libm9s %.0f KB, ffmpeg %.0f KB, ratio %.2f\n", Median(memOurs),
                Median(memTheirs), Median(memOurs) / Median(memTheirs));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench_encoder: %s\n", e.what());
    std::filesystem::remove_all(dir);
    return 1;
  }
  std::filesystem::remove_all(dir);
  return 0;
}
