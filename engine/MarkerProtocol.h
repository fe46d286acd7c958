// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

// The lines libm9s writes to standard output and the engine reads back: each value
// stands between its open and close text, "ffmpeg_release_time=12.34=ffmpeg_release_time".
inline constexpr std::string_view kDurationMarkerOpen = "ffmpeg_release_duration=";
inline constexpr std::string_view kDurationMarkerClose = "=ffmpeg_release_duration";
inline constexpr std::string_view kTimeMarkerOpen = "ffmpeg_release_time=";
inline constexpr std::string_view kTimeMarkerClose = "=ffmpeg_release_time";
