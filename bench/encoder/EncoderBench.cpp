// SPDX-License-Identifier: GPL-3.0-or-later
// libm9s against Debian's ffmpeg program with the same options, in one run:
// wall time on a 60 s 640x480 H.264 + AAC source (median ratio), SSIM and
// file size at the default choices, and the video bit rate at each size.
#include "tests/support/ChildProcess.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct Sample {
  double seconds;
  long maxKilobytes;
};

// Runs a command to its end; its standard error (where ffmpeg reports) on success.
std::string RunChecked(const std::vector<std::string>& argv, Sample* sample = nullptr) {
  const auto start = ChildProcess::Clock::now();
  ChildProcess child(argv);
  child.CloseInput();
  auto code = child.Wait(std::chrono::minutes(10));
  if (!code || *code != 0)
    throw std::runtime_error(argv[0] + " failed: " + child.Error().substr(0, 400));
  const std::chrono::duration<double> took = child.EndedAt() - start;
  if (sample) *sample = {took.count(), child.Usage().ru_maxrss};
  return child.Output() + child.Error();
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// The default choices; size and video rate replaceable.
std::vector<std::string> Options(const std::string& acodec, const std::string& size = "176x144",
                                 const std::string& rate = "120k") {
  return {"-vcodec", "mpeg4", "-acodec", acodec,  "-f",  "3gp",   "-b",  rate, "-r", "14.98",
          "-s",      size,    "-ar",     "16000", "-ab", "12.2k", "-ac", "2",  "-y"};
}

// The same line for both programs; ffmpeg also gets libm9s's rate-control
// tolerance (one second of the rate), so both aim alike.
struct Programs {
  std::vector<std::string> Ours(const std::string& source, const std::string& out,
                                const std::string& size = "176x144",
                                const std::string& rate = "120k") const {
    std::vector<std::string> argv = {std::string(VELBRIN_PROGRAM_DIR) + "libm9s", "-i", source};
    for (const auto& o : Options("libfaac", size, rate)) argv.push_back(o);
    argv.push_back(out);
    return argv;
  }
  std::vector<std::string> Theirs(const std::string& source, const std::string& out,
                                  const std::string& size = "176x144",
                                  const std::string& rate = "120k") const {
    std::vector<std::string> argv = {"ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error",
                                     "-i",     source,     "-bt",          rate};
    for (const auto& o : Options("aac", size, rate)) argv.push_back(o);
    argv.push_back(out);
    return argv;
  }
};

void MakeSource(const std::string& path, const std::string& rate, int seconds) {
  RunChecked({"ffmpeg",
              "-nostdin",
              "-hide_banner",
              "-loglevel",
              "error",
              "-y",
              "-f",
              "lavfi",
              "-i",
              "testsrc2=size=640x480:rate=" + rate,
              "-f",
              "lavfi",
              "-i",
              "sine=frequency=440:beep_factor=4:sample_rate=48000",
              "-ac",
              "2",
              "-t",
              std::to_string(seconds),
              "-c:v",
              "libx264",
              "-c:a",
              "aac",
              path});
}

// SSIM of an output against the source scaled to the output size, frame by frame.
double Ssim(const std::string& output, const std::string& source, const std::string& size) {
  const std::string text =
      RunChecked({"ffmpeg", "-nostdin", "-hide_banner", "-i", output, "-i", source, "-lavfi",
                  "[1]scale=" + size.substr(0, size.find('x')) + ":" +
                      size.substr(size.find('x') + 1) + "[r];[0][r]ssim",
                  "-f", "null", "-"});
  const size_t at = text.rfind("All:");
  return at == std::string::npos ? 0 : std::stod(text.substr(at + 4));
}

// Video payload bit rate in kbit/s, from ffprobe's packet sizes.
double VideoKbps(const std::string& file) {
  const std::string sizes = RunChecked({"ffprobe", "-v", "error", "-select_streams", "v",
                                        "-show_entries", "packet=size", "-of", "csv=p=0", file});
  const std::string length = RunChecked(
      {"ffprobe", "-v", "error", "-show_entries", "format=duration", "-of", "csv=p=0", file});
  std::istringstream in(sizes);
  double bytes = 0;
  for (double v; in >> v;) bytes += v;
  return bytes * 8 / std::stod(length) / 1000;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const auto dir =
      std::filesystem::temp_directory_path() / ("velbrin-bench-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const auto at = [&](const std::string& name) { return (dir / name).string(); };
  const Programs p;
  try {
    std::puts("making the 60 s 640x480 25 fps H.264 + AAC source ...");
    MakeSource(at("source.mp4"), "25", 60);
    std::vector<double> wallOurs, wallTheirs, memOurs, memTheirs;
    for (int i = 0; i < runs; ++i) {
      Sample a{}, b{};
      RunChecked(p.Ours(at("source.mp4"), at("libm9s.3gp")), &a);
      RunChecked(p.Theirs(at("source.mp4"), at("ffmpeg.3gp")), &b);
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

    // At the output rate each output frame is one source frame for both
    // programs, so SSIM measures the coding and not how frames were dropped.
    std::puts("quality at the default choices (20 s source at 14.98 fps):");
    MakeSource(at("quality.mp4"), "749/50", 20);
    RunChecked(p.Ours(at("quality.mp4"), at("q-libm9s.3gp")));
    RunChecked(p.Theirs(at("quality.mp4"), at("q-ffmpeg.3gp")));
    const double ssimOurs = Ssim(at("q-libm9s.3gp"), at("quality.mp4"), "176x144");
    const double ssimTheirs = Ssim(at("q-ffmpeg.3gp"), at("quality.mp4"), "176x144");
    const auto sizeOurs = std::filesystem::file_size(at("q-libm9s.3gp"));
    const auto sizeTheirs = std::filesystem::file_size(at("q-ffmpeg.3gp"));
    std::printf("  SSIM libm9s %.5f, ffmpeg %.5f; file libm9s %ju B, ffmpeg %ju B, ratio %.3f\n",
                ssimOurs, ssimTheirs, static_cast<uintmax_t>(sizeOurs),
                static_cast<uintmax_t>(sizeTheirs),
                static_cast<double>(sizeOurs) / static_cast<double>(sizeTheirs));

    std::puts("video bit rate per size (10 s of the 25 fps source, 14.98 fps), kbit/s:");
    RunChecked({"ffmpeg", "-nostdin", "-loglevel", "error", "-y", "-i", at("source.mp4"), "-t",
                "10", "-c", "copy", at("ten.mp4")});
    for (const char* size :
         {"128x96", "128x160", "176x144", "320x240", "352x288", "704x576", "1408x1152"}) {
      for (const char* rate : {"40k", "120k", "512k"}) {
        RunChecked(p.Ours(at("ten.mp4"), at("s-libm9s.3gp"), size, rate));
        RunChecked(p.Theirs(at("ten.mp4"), at("s-ffmpeg.3gp"), size, rate));
        const double wanted = std::stod(rate);
        const double ours = VideoKbps(at("s-libm9s.3gp"));
        const double theirs = VideoKbps(at("s-ffmpeg.3gp"));
        std::printf("  %-9s -b %-4s libm9s %7.1f (%.2f)   ffmpeg %7.1f (%.2f)\n", size, rate, ours,
                    ours / wanted, theirs, theirs / wanted);
      }
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench_encoder: %s\n", e.what());
    std::filesystem::remove_all(dir);
    return 1;
  }
  std::filesystem::remove_all(dir);
  return 0;
}
