// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// The kinds of source file the converter is meant to read.
enum class MediaKind { Avi, Mpg, Dat, Vob, Wmv, Asf, Rm, Mov, Qt, Mp4, Mkv, Swf, ThreeGp };

struct MediaStreams {
  bool video = true;
  bool audio = true;
};

// Picture and sound of a made file; the defaults suit every kind.
struct MediaShape {
  int width = 320;
  int height = 240;
  int frameRate = 25;
  int sampleRate = 44100;  // SWF allows 44100, 22050, 11025 only
  int channels = 2;
};

// Every kind, in a fixed order, and its file extension with the dot (".avi").
std::vector<MediaKind> AllMediaKinds();
std::string MediaExtension(MediaKind kind);

// Makes a real file of that kind with Debian's ffmpeg program: a moving test
// picture and a tone. Throws std::runtime_error with ffmpeg's text on failure.
void MakeMedia(const std::filesystem::path& path, MediaKind kind, double seconds,
               MediaStreams streams = {}, const MediaShape& shape = {});
// The same with a free choice of codecs and container, for sources such as
// the benchmark's H.264 file: the arguments follow the inputs on ffmpeg's line.
void MakeMediaWith(const std::filesystem::path& path, double seconds, MediaStreams streams,
                   const MediaShape& shape, const std::vector<std::string>& outputArgs);

// What libavformat sees in a file. Fields of a missing stream stay empty / 0.
struct MediaInfo {
  std::string formatName;  // the demuxer's name list, e.g. "mov,mp4,m4a,3gp,3g2,mj2"
  double durationSeconds = 0;
  int64_t bitRate = 0;  // container bit rate, bit/s
  std::string videoCodec;
  int width = 0;
  int height = 0;
  double frameRate = 0;  // the stream's average frame rate
  int64_t videoBitRate = 0;
  int64_t videoFrames = 0;  // frames counted by reading every packet
  int64_t videoBytes = 0;   // payload bytes of every video packet
  std::string audioCodec;
  std::string audioProfile;  // e.g. "LC"
  int sampleRate = 0;
  int channels = 0;
  int64_t audioBitRate = 0;
  int64_t audioPackets = 0;
};

// Opens the file with libavformat and reads all of its packets; empty when it
// cannot be opened or read (the reason goes into *error when given).
std::optional<MediaInfo> ProbeMedia(const std::filesystem::path& path,
                                    std::string* error = nullptr);
