// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The accepted extensions, searched as one text (not split into items).
inline constexpr std::string_view SupportedExtensions =
    "*.avi;*.mpg;*.mpeg;*.wmv;*.asf;*.mov;*.rm;*.rmvb;*.qt;*.mp4;*.3gp;*.dat;*.vob;*.smk;*.swf;"
    "*.nsv;*.mkv";

// The part of the path from the last '.' after the last '/', ASCII lower-cased;
// empty when the last path component has no '.'.
std::string EntryExtension(std::string_view path);

// The queue's extension test. It is a substring search in SupportedExtensions,
// so a fragment of an accepted extension (".mp", ".3g", ".m") passes too.
bool IsSupportedPath(std::string_view path);

// The open-file dialog's filter as it is built on every use: nine
// "name|patterns|" pieces joined with nothing between them.
std::string OpenDialogFilterText();

// A "name|p1;p2|name|p1|..." filter turned into Qt name filters (UTF-8)
// ("name (p1 p2)"), one per group, in order. A trailing "(...)" in the name that
// repeats the patterns is not shown twice; "*.*" becomes "*", because in Qt it
// would only match names holding a '.'.
std::vector<std::string> FilterTextToNameFilters(std::string_view filter);
