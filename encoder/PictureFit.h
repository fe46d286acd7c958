// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

// How a source picture reaches the output size: deinterlaced when needed,
// turned upright, fitted inside with its shape kept and black bars around,
// with square output pixels.
struct PictureFit {
  int sourceWidth = 0;
  int sourceHeight = 0;
  int aspectNum = 1;  // the source's pixel aspect
  int aspectDen = 1;
  const int32_t* displayMatrix = nullptr;  // the source's, when it has one
  bool interlacedStream = false;           // the stream says every frame is interlaced
  int outputWidth = 0;
  int outputHeight = 0;
};

// The size the picture takes inside the output, both even.
struct FittedSize {
  int width = 0;
  int height = 0;
};
FittedSize FitInside(const PictureFit& fit);

// The filters before the frame rate step (deinterlacing), and those after it
// (turning, scaling, bars), each ending in a comma when not empty.
std::string FiltersBeforeRate(const PictureFit& fit);
std::string FiltersAfterRate(const PictureFit& fit);
