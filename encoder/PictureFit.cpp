// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoder/PictureFit.h"

extern "C" {
#include <libavutil/display.h>
}

#include <cmath>

namespace {

// Turns as FFmpeg's own program applies them, so a clip shows as it does there.
std::string UprightFilters(const int32_t* matrix) {
  if (!matrix) return {};
  const double angle = av_display_rotation_get(matrix);
  if (std::isnan(angle)) return {};
  double theta = -std::round(angle);
  theta -= 360 * std::floor(theta / 360 + 0.9 / 360);
  if (std::fabs(theta - 90) < 1)
    return matrix[3] > 0 ? "transpose=cclock_flip," : "transpose=clock,";
  if (std::fabs(theta - 270) < 1)
    return matrix[3] < 0 ? "transpose=clock_flip," : "transpose=cclock,";
  if (std::fabs(theta - 180) < 1) {
    std::string flips;
    if (matrix[0] < 0) flips += "hflip,";
    if (matrix[4] < 0) flips += "vflip,";
    return flips;
  }
  return {};  // other angles are left as they are
}

bool QuarterTurn(const int32_t* matrix) { return UprightFilters(matrix).starts_with("transpose"); }

int Even(double v) { return std::max(2, static_cast<int>(std::lround(v / 2)) * 2); }

}  // namespace

FittedSize FitInside(const PictureFit& fit) {
  const FittedSize whole{fit.outputWidth, fit.outputHeight};
  if (fit.sourceWidth <= 0 || fit.sourceHeight <= 0 || fit.aspectNum <= 0 || fit.aspectDen <= 0)
    return whole;
  double shape = static_cast<double>(fit.sourceWidth) * fit.aspectNum /
                 (static_cast<double>(fit.sourceHeight) * fit.aspectDen);
  if (QuarterTurn(fit.displayMatrix)) shape = 1 / shape;
  const double target = static_cast<double>(fit.outputWidth) / fit.outputHeight;
  // A shape within a tenth of the output's fills it: the CIF family's sizes
  // (176x144, 352x288, 704x576) are meant to show 4:3 pictures, and bars a
  // few lines high would only waste the small picture.
  if (std::fabs(shape / target - 1) <= 0.1) return whole;
  if (shape > target)
    return {fit.outputWidth, std::min(fit.outputHeight, Even(fit.outputWidth / shape))};
  return {std::min(fit.outputWidth, Even(fit.outputHeight * shape)), fit.outputHeight};
}

std::string FiltersBeforeRate(const PictureFit& fit) {
  // Fields are joined before frames are dropped, while each frame still has
  // its neighbours; frames marked progressive pass untouched. The filter
  // needs three lines and columns at least.
  if (fit.sourceWidth < 3 || fit.sourceHeight < 3) return {};
  return std::string("yadif=mode=send_frame:parity=auto:deint=") +
         (fit.interlacedStream ? "all," : "interlaced,");
}

std::string FiltersAfterRate(const PictureFit& fit) {
  const FittedSize inner = FitInside(fit);
  std::string chain = UprightFilters(fit.displayMatrix);
  chain +=
      "scale=" + std::to_string(inner.width) + ":" + std::to_string(inner.height) + ",setsar=1,";
  if (inner.width != fit.outputWidth || inner.height != fit.outputHeight)
    chain += "pad=" + std::to_string(fit.outputWidth) + ":" + std::to_string(fit.outputHeight) +
             ":" + std::to_string((fit.outputWidth - inner.width) / 4 * 2) + ":" +
             std::to_string((fit.outputHeight - inner.height) / 4 * 2) + ":black,";
  return chain;
}
