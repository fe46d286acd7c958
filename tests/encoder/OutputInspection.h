// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// What a player reads from an output's headers before the first picture.
struct VideoHeader {
  int profileLevel = -1;  // the stream header's profile-and-level byte
  int aspectNum = 0;      // the pixel aspect libavformat reports
  int aspectDen = 0;
  int64_t bufferBytes = 0;  // the decoder configuration's buffer size
  int64_t maxBitRate = 0;   // and its maximum bit rate
};
VideoHeader ReadVideoHeader(const std::filesystem::path& file);

// The top-level box types of an MP4 family file, in file order.
std::vector<std::string> TopLevelBoxes(const std::filesystem::path& file);

// The luma planes of every frame ffmpeg decodes from the inputs after the
// filters, one after the other.
std::string DecodeLuma(const std::vector<std::string>& inputs, const std::string& filters);
double Psnr(const std::string& a, const std::string& b);
// Mean luma of rows [from, to) of a frame of the given width.
double RowsMean(const std::string& frame, int width, int from, int to);
// Mean absolute vertical second difference: combed fields make it large.
double CombMeasure(const std::string& frames, int width);
