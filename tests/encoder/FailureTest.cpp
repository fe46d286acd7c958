// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/encoder/EncoderRun.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <random>

using namespace std::chrono_literals;

namespace {

// Exactly one message of our own, as the last line, naming the cause.
void ExpectOneLineFailure(const EncoderResult& r, const std::string& cause) {
  EXPECT_NE(0, r.exitCode);
  auto own = OwnMessages(r.err);
  ASSERT_EQ(1u, own.size()) << r.err;
  EXPECT_NE(std::string::npos, own[0].find(cause)) << own[0];
  EXPECT_TRUE(r.err.ends_with(own[0] + "\n")) << r.err;
}

// The AVI with every video chunk's data zeroed: well-formed, nothing decodes.
std::string WithoutPictures(std::string avi) {
  for (size_t at = avi.find("movi"); (at = avi.find("00dc", at)) != std::string::npos;) {
    const auto* size = reinterpret_cast<const unsigned char*>(avi.data() + at + 4);
    const size_t bytes = size[0] | size[1] << 8 | size[2] << 16 | size_t{size[3]} << 24;
    std::fill_n(avi.begin() + static_cast<long>(std::min(at + 8, avi.size())),
                std::min(bytes, avi.size() - std::min(at + 8, avi.size())), '\0');
    at += 8 + bytes;
  }
  return avi;
}

}  // namespace

TEST(EncoderFailure, badSourcesAndOutputsEndWithOneLineAndNoHang) {
  TempDir dir;
  MakeMedia(dir / "good.mp4", MediaKind::Mp4, 2.0);
  const std::string whole = ReadFileBytes(dir / "good.mp4");
  WriteFileBytes(dir / "half.mp4", whole.substr(0, whole.size() / 2));
  // Streams described, but cut before the first packet: nothing to convert.
  MakeMedia(dir / "good.rm", MediaKind::Rm, 1.0);
  const std::string rm = ReadFileBytes(dir / "good.rm");
  ASSERT_NE(std::string::npos, rm.find("DATA"));
  WriteFileBytes(dir / "headers.rm", rm.substr(0, rm.find("DATA") + 18));
  WriteFileBytes(dir / "empty.avi", "");
  std::mt19937 random(7);
  std::string noise(64 * 1024, '\0');
  for (char& c : noise) c = static_cast<char>(random());
  WriteFileBytes(dir / "noise.avi", noise);
  WriteFileBytes(dir / "file", "x");
  MakeMedia(dir / "pictures.avi", MediaKind::Avi, 0.5, {.audio = false});
  WriteFileBytes(dir / "blank.avi", WithoutPictures(ReadFileBytes(dir / "pictures.avi")));
  const std::string good = (dir / "good.mp4").string();
  const std::string out = (dir / "out.3gp").string();

  const std::pair<EncoderArgs, const char*> cases[] = {
      {EncoderArgs((dir / "missing.avi").string(), out), "missing.avi"},
      {EncoderArgs((dir / "empty.avi").string(), out), "empty.avi"},
      {EncoderArgs((dir / "noise.avi").string(), out), "noise.avi"},
      {EncoderArgs((dir / "half.mp4").string(), out), "half.mp4"},
      {EncoderArgs((dir / "blank.avi").string(), out), "decoded"},
      {EncoderArgs((dir / "headers.rm").string(), out), "decoded from"},
      {EncoderArgs(good, (dir / "no" / "such" / "out.3gp").string()), "out.3gp"},
      {EncoderArgs(good, (dir / "file" / "out.3gp").string()), "out.3gp"},
      {EncoderArgs(good, out).Set("-s", "0x0"), "-s"},
      {EncoderArgs(good, out).Set("-r", "abc"), "-r"},
      {EncoderArgs(good, out).Set("-q", "1"), "unknown option '-q'"},
      {EncoderArgs(good, out).Set("-ab", ""), "-ab"},
  };
  for (const auto& [args, cause] : cases) {
    SCOPED_TRACE(cause);
    ExpectOneLineFailure(RunEncoder(args, 5s), cause);
    // Nothing that would pass for a video is left behind.
    const auto left = ProbeMedia(out);
    EXPECT_FALSE(left && left->videoFrames + left->audioPackets > 0);
  }

  // An empty source path leaves "-i" right before the next option.
  EncoderArgs empty(good, out);
  empty.args.erase(empty.args.begin() + 2);
  ExpectOneLineFailure(RunEncoder(empty, 5s), "empty source path");
  // A name with a line feed still gives one line.
  WriteFileBytes(dir / "two\nlines.avi", "");
  ExpectOneLineFailure(RunEncoder(EncoderArgs((dir / "two\nlines.avi").string(), out), 5s),
                       "two?lines.avi");
}

TEST(EncoderFailure, helpPrintsTheUsage) {
  ChildProcess child({EncoderProgram(), "-h"});
  auto code = child.Wait(10s);
  ASSERT_TRUE(code);
  EXPECT_EQ(0, *code);
  EXPECT_TRUE(child.Output().starts_with("usage: libm9s -i SRC")) << child.Output();
}

TEST(EncoderFailure, aPacketWithADamagedHeaderIsSkippedNotFatal) {
  // H.263 answers a broken picture start code with -1, not "invalid data".
  TempDir dir;
  MakeMedia(dir / "good.3gp", MediaKind::ThreeGp, 2.0);
  std::string bytes = ReadFileBytes(dir / "good.3gp");
  std::vector<size_t> starts;  // 00 00 8x: where a picture starts
  for (size_t at = 0; at + 2 < bytes.size(); ++at)
    if (bytes[at] == 0 && bytes[at + 1] == 0 &&
        (static_cast<unsigned char>(bytes[at + 2]) & 0xFC) == 0x80)
      starts.push_back(at);
  ASSERT_GT(starts.size(), 40u);
  bytes[starts[starts.size() / 2] + 2] = '\0';
  WriteFileBytes(dir / "damaged.3gp", bytes);

  const auto out = dir / "out.3gp";
  const EncoderResult r = RunEncoder(EncoderArgs((dir / "damaged.3gp").string(), out.string()));
  EXPECT_EQ(0, r.exitCode) << r.err;
  const auto info = ProbeMedia(out);
  ASSERT_TRUE(info);
  EXPECT_GT(info->videoFrames, 24);  // about 30 at 14.98 frames a second
}
