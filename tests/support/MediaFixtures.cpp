// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/MediaFixtures.h"

#include "tests/support/ChildProcess.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/error.h>
}

#include <memory>
#include <stdexcept>

namespace {

struct KindRecipe {
  MediaKind kind;
  const char* extension;
  const char* muxer;
  std::vector<std::string> video;
  std::vector<std::string> audio;
};

const std::vector<KindRecipe>& Recipes() {
  static const std::vector<KindRecipe> recipes = {
      {MediaKind::Avi, ".avi", "avi", {"-c:v", "mpeg4"}, {"-c:a", "libmp3lame"}},
      {MediaKind::Mpg, ".mpg", "mpeg", {"-c:v", "mpeg1video"}, {"-c:a", "mp2"}},
      {MediaKind::Dat, ".dat", "mpeg", {"-c:v", "mpeg1video"}, {"-c:a", "mp2"}},
      {MediaKind::Vob, ".vob", "vob", {"-c:v", "mpeg2video"}, {"-c:a", "ac3"}},
      {MediaKind::Wmv, ".wmv", "asf", {"-c:v", "wmv2"}, {"-c:a", "wmav2"}},
      {MediaKind::Asf, ".asf", "asf", {"-c:v", "msmpeg4"}, {"-c:a", "wmav1"}},
      {MediaKind::Rm, ".rm", "rm", {"-c:v", "rv20"}, {"-c:a", "ac3"}},
      {MediaKind::Mov, ".mov", "mov", {"-c:v", "libx264", "-preset", "ultrafast"}, {"-c:a", "aac"}},
      {MediaKind::Qt, ".qt", "mov", {"-c:v", "mpeg4"}, {"-c:a", "pcm_s16le"}},
      {MediaKind::Mp4, ".mp4", "mp4", {"-c:v", "libx264", "-preset", "ultrafast"}, {"-c:a", "aac"}},
      {MediaKind::Mkv, ".mkv", "matroska", {"-c:v", "mpeg4"}, {"-c:a", "libvorbis"}},
      {MediaKind::Swf, ".swf", "swf", {"-c:v", "flv"}, {"-c:a", "libmp3lame"}},
      {MediaKind::ThreeGp, ".3gp", "3gp", {"-c:v", "h263", "-s", "176x144"}, {"-c:a", "aac"}},
  };
  return recipes;
}

const KindRecipe& RecipeOf(MediaKind kind) {
  for (const auto& r : Recipes())
    if (r.kind == kind) return r;
  throw std::invalid_argument("unknown media kind");
}

std::string Seconds(double s) { return std::to_string(s); }

struct InputCloser {
  void operator()(AVFormatContext* c) const { avformat_close_input(&c); }
};
struct PacketFree {
  void operator()(AVPacket* p) const { av_packet_free(&p); }
};

std::string ErrorText(int code) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(code, text, sizeof text);
  return text;
}

}  // namespace

std::vector<MediaKind> AllMediaKinds() {
  std::vector<MediaKind> kinds;
  for (const auto& r : Recipes()) kinds.push_back(r.kind);
  return kinds;
}

std::string MediaExtension(MediaKind kind) { return RecipeOf(kind).extension; }

void MakeMediaWith(const std::filesystem::path& path, double seconds, MediaStreams streams,
                   const MediaShape& shape, const std::vector<std::string>& outputArgs) {
  std::vector<std::string> args = {"ffmpeg",    "-nostdin", "-hide_banner",
                                   "-loglevel", "error",    "-y"};
  if (streams.video) {
    args.insert(args.end(),
                {"-f", "lavfi", "-i",
                 "testsrc2=size=" + std::to_string(shape.width) + "x" +
                     std::to_string(shape.height) + ":rate=" + std::to_string(shape.frameRate)});
  }
  if (streams.audio) {
    args.insert(args.end(), {"-f", "lavfi", "-i",
                             "sine=frequency=440:beep_factor=4:sample_rate=" +
                                 std::to_string(shape.sampleRate)});
    args.insert(args.end(), {"-ac", std::to_string(shape.channels)});
  }
  if (!streams.video && !streams.audio) throw std::invalid_argument("a file needs a stream");
  args.insert(args.end(), {"-t", Seconds(seconds)});
  args.insert(args.end(), outputArgs.begin(), outputArgs.end());
  args.push_back(path.string());
  std::string output;
  int code = RunCommand(args, std::chrono::minutes(5), &output);
  if (code != 0) throw std::runtime_error("ffmpeg could not make " + path.string() + ": " + output);
}

void MakeMedia(const std::filesystem::path& path, MediaKind kind, double seconds,
               MediaStreams streams, const MediaShape& shape) {
  const KindRecipe& recipe = RecipeOf(kind);
  std::vector<std::string> args;
  if (streams.video) args.insert(args.end(), recipe.video.begin(), recipe.video.end());
  if (streams.audio) args.insert(args.end(), recipe.audio.begin(), recipe.audio.end());
  args.insert(args.end(), {"-f", recipe.muxer});
  MakeMediaWith(path, seconds, streams, shape, args);
}

std::optional<MediaInfo> ProbeMedia(const std::filesystem::path& path, std::string* error) {
  auto fail = [&](const std::string& why) -> std::optional<MediaInfo> {
    if (error) *error = why;
    return std::nullopt;
  };
  AVFormatContext* raw = nullptr;
  int rc = avformat_open_input(&raw, path.c_str(), nullptr, nullptr);
  if (rc < 0) return fail("cannot open: " + ErrorText(rc));
  std::unique_ptr<AVFormatContext, InputCloser> input(raw);
  rc = avformat_find_stream_info(input.get(), nullptr);
  if (rc < 0) return fail("no stream info: " + ErrorText(rc));

  MediaInfo info;
  info.formatName = input->iformat->name;
  if (input->duration != AV_NOPTS_VALUE)
    info.durationSeconds = static_cast<double>(input->duration) / AV_TIME_BASE;
  info.bitRate = input->bit_rate;
  int video = av_find_best_stream(input.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
  int audio = av_find_best_stream(input.get(), AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
  if (video >= 0) {
    const AVStream* s = input->streams[video];
    info.videoCodec = avcodec_get_name(s->codecpar->codec_id);
    info.width = s->codecpar->width;
    info.height = s->codecpar->height;
    if (s->avg_frame_rate.den != 0) info.frameRate = av_q2d(s->avg_frame_rate);
    info.videoBitRate = s->codecpar->bit_rate;
  }
  if (audio >= 0) {
    const AVStream* s = input->streams[audio];
    info.audioCodec = avcodec_get_name(s->codecpar->codec_id);
    const char* profile = avcodec_profile_name(s->codecpar->codec_id, s->codecpar->profile);
    info.audioProfile = profile ? profile : "";
    info.sampleRate = s->codecpar->sample_rate;
    info.channels = s->codecpar->ch_layout.nb_channels;
    info.audioBitRate = s->codecpar->bit_rate;
  }
  std::unique_ptr<AVPacket, PacketFree> packet(av_packet_alloc());
  if (!packet) return fail("out of memory");
  while ((rc = av_read_frame(input.get(), packet.get())) >= 0) {
    if (packet->stream_index == video) {
      ++info.videoFrames;
      info.videoBytes += packet->size;
    } else if (packet->stream_index == audio) {
      ++info.audioPackets;
    }
    av_packet_unref(packet.get());
  }
  if (rc != AVERROR_EOF) return fail("read error: " + ErrorText(rc));
  return info;
}
