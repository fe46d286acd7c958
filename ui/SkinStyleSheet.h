// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPalette>
#include <QString>

#include "ui/SkinFile.h"
#include "ui/SkinShades.h"

// The palette of a skin, for every colour group (disabled included).
QPalette SkinPalette(const SkinShades& shades);
// The application-wide style sheet of a skin, drawn on the Fusion style.
QString SkinStyleSheet(const Skin& skin, const SkinShades& shades);
