// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "encoder/Options.h"

#include <cstdint>
#include <string>

// One MPEG-4 Simple Profile level: what the stream header claims and the
// buffer model a decoder of that level offers.
struct SimpleProfileLevel {
  int indication = 0;      // the profile-and-level byte (0x01 ... 0x06)
  int macroblocks = 0;     // largest picture, in 16x16 blocks
  int macroblockRate = 0;  // blocks per second
  int64_t maxBitRate = 0;  // bit/s entering the buffer
  int64_t bufferBits = 0;  // VBV buffer size
};

// The lowest level whose picture size, block rate and bit rate the output
// meets; the highest level when none does.
SimpleProfileLevel ChooseLevel(int width, int height, Rate frameRate, int64_t bitRate);

// Rewrites MPEG-4 global headers (visual object sequence + video object layer)
// so that they claim the level and carry its VBV parameters. Returns the new
// headers; empty when the layer header is not the one this encoder writes.
std::string WithLevelAndBuffer(const std::string& headers, const SimpleProfileLevel& level,
                               int64_t initialOccupancyBits);
