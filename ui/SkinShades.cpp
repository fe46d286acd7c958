// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/SkinShades.h"

#include <algorithm>

#include "ui/SkinColour.h"

using namespace skincolour;

namespace {

// Disabled text aims at this contrast: clearly dimmer than normal text
// (at least 4.5) yet still readable.
constexpr double kDisabledContrast = 2.9;

bool IsDark(const QColor& c) { return Luminance(c) < 0.18; }

FaceShades Face(ButtonStyle style, const QColor& c) {
  // Light text on a dark face loses contrast quickly, so dark faces shine less.
  const double shine = IsDark(c) ? 0.55 : 1.0;
  switch (style) {
    case ButtonStyle::Flat:
      return {{{0.0, c}}};
    case ButtonStyle::Gradient:
      return {{{0.0, Lighten(c, 0.22 * shine)}, {1.0, Darken(c, 0.10)}}};
    case ButtonStyle::Glass:
      // A bright upper half with a hard edge at the middle reads as glass.
      return {{{0.0, Lighten(c, 0.40 * shine)},
               {0.49, Lighten(c, 0.16 * shine)},
               {0.5, c},
               {1.0, Lighten(c, 0.08 * shine)}}};
  }
  return {{{0.0, c}}};
}

FaceShades Reversed(FaceShades face) {
  for (auto& stop : face.stops) stop.first = 1.0 - stop.first;
  std::reverse(face.stops.begin(), face.stops.end());
  return face;
}

}  // namespace

SkinShades MakeShades(const Skin& skin) {
  SkinShades s;
  s.window = skin.window;
  s.windowText = skin.windowText;
  s.base = skin.base;
  s.alternateBase = skin.alternateBase.value_or(Mix(skin.base, skin.window, 0.35));
  s.text = skin.text;
  s.highlight = skin.highlight;
  s.highlightedText = skin.highlightedText;
  s.accent = skin.accent;
  s.border = skin.border;
  s.title = skin.title;
  s.titleText = skin.titleText.value_or(BestText(skin.title));
  s.buttonText = skin.buttonText;

  s.buttonNormal = Face(skin.buttonStyle, skin.button);
  s.buttonHover = Face(skin.buttonStyle, Mix(skin.button, skin.accent, 0.18));
  s.buttonPressed = Reversed(Face(skin.buttonStyle, Darken(skin.button, 0.15)));
  const QColor disabledButton = Mix(skin.button, skin.window, 0.5);
  s.buttonDisabled = {{{0.0, disabledButton}}};

  auto dim = [&skin](const QColor& text, const QColor& background) {
    return skin.disabledText.value_or(Dimmed(text, background, kDisabledContrast));
  };
  s.readOnlyBase = Mix(skin.base, skin.window, 0.45);
  s.disabledBase = Mix(skin.base, skin.window, 0.7);
  s.disabledWindowText = dim(skin.windowText, skin.window);
  s.disabledText = dim(skin.text, s.disabledBase);
  // A strong face colour fades towards the window; its light text may then no
  // longer read, so start from whichever text reads better on the faded face.
  const QColor buttonTextBase =
      Contrast(skin.buttonText, disabledButton) >= Contrast(skin.windowText, disabledButton)
          ? skin.buttonText
          : skin.windowText;
  s.disabledButtonText = dim(buttonTextBase, disabledButton);
  s.itemHover = Mix(skin.base, skin.highlight, 0.14);
  s.progressChunk = skin.accent;

  s.scrollGroove = Mix(skin.window, skin.border, 0.18);
  s.scrollHandle = Mix(skin.border, skin.accent, 0.3);
  s.scrollHandleHover = Mix(skin.border, skin.accent, 0.65);
  s.scrollHandlePressed = skin.accent;
  s.gridLine = Mix(skin.border, skin.base, 0.25);
  return s;
}
