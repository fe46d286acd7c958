// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/SkinColour.h"

#include <algorithm>
#include <cmath>

namespace skincolour {

QColor Mix(const QColor& a, const QColor& b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  auto channel = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
  return QColor(channel(a.red(), b.red()), channel(a.green(), b.green()),
                channel(a.blue(), b.blue()));
}

QColor Lighten(const QColor& c, double t) { return Mix(c, Qt::white, t); }

QColor Darken(const QColor& c, double t) { return Mix(c, Qt::black, t); }

double Luminance(const QColor& c) {
  auto linear = [](int v) {
    const double s = v / 255.0;
    return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(c.red()) + 0.7152 * linear(c.green()) + 0.0722 * linear(c.blue());
}

double Contrast(const QColor& a, const QColor& b) {
  const double la = Luminance(a);
  const double lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor BestText(const QColor& background) {
  return Contrast(Qt::black, background) >= Contrast(Qt::white, background) ? QColor(Qt::black)
                                                                            : QColor(Qt::white);
}

QColor Dimmed(const QColor& text, const QColor& background, double targetContrast) {
  if (Contrast(text, background) <= targetContrast) return text;
  // Contrast falls steadily as the text approaches the background, so bisect.
  double low = 0.0;
  double high = 1.0;
  for (int step = 0; step < 20; ++step) {
    const double mid = (low + high) / 2;
    if (Contrast(Mix(text, background, mid), background) >= targetContrast)
      low = mid;
    else
      high = mid;
  }
  return Mix(text, background, low);
}

}  // namespace skincolour
