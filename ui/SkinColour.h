// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>

// Colour arithmetic for skins, in gamma-encoded sRGB as the style sheets use it.
namespace skincolour {

// a + (b - a) * t for each channel, t in [0, 1].
QColor Mix(const QColor& a, const QColor& b, double t);
QColor Lighten(const QColor& c, double t);
QColor Darken(const QColor& c, double t);
// Relative luminance and contrast ratio (1 ... 21) as WCAG defines them.
double Luminance(const QColor& c);
double Contrast(const QColor& a, const QColor& b);
// Of black and white, the one that reads better on the background.
QColor BestText(const QColor& background);
// The text colour moved towards its background until its contrast has fallen
// to the target (or as far as the pair allows): dimmed, but still readable.
QColor Dimmed(const QColor& text, const QColor& background, double targetContrast);

}  // namespace skincolour
