// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include <QString>
#include <QUrl>

// Paths are bytes on Linux, shown as QString in the windows. Valid UTF-8 is
// decoded as usual; every byte that is not part of valid UTF-8 becomes the lone
// surrogate U+DC80+byte, so a name with foreign bytes survives the round trip
// through a list entry and back to the file system unchanged.
QString PathToText(std::string_view bytes);
std::string TextToPath(const QString& text);

// A file URL holds the same bytes percent-encoded; QUrl's own local-file
// conversions go through UTF-8 and would lose the others.
QUrl PathToFileUrl(std::string_view absolutePath);
std::string FileUrlToPath(const QUrl& url);
