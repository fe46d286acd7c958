// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include <QColor>

#include "ui/SkinFile.h"

// The colours a skin draws with, derived once from its file: every state of
// every control, so that the palette, the style sheet and the legibility
// checks all see the same values.
struct FaceShades {
  // Top-to-bottom gradient stops (position 0 ... 1); one stop for a flat face.
  std::vector<std::pair<double, QColor>> stops;
};

struct SkinShades {
  QColor window, windowText, base, alternateBase, text;
  QColor highlight, highlightedText, accent, border, title, titleText;
  QColor buttonText;
  FaceShades buttonNormal, buttonHover, buttonPressed, buttonDisabled;
  // Disabled text, each dimmed against the background it is drawn on.
  QColor disabledWindowText, disabledText, disabledButtonText;
  QColor readOnlyBase;  // read-only edits
  QColor disabledBase;  // disabled edits and lists
  QColor itemHover;     // list entry under the mouse
  QColor progressChunk;
  QColor scrollGroove, scrollHandle, scrollHandleHover, scrollHandlePressed;
  QColor gridLine;
};

SkinShades MakeShades(const Skin& skin);
