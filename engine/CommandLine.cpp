// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/CommandLine.h"

#include "platform/ShellWords.h"

namespace {

std::string QuotedPath(const std::string& path) {
  return path.empty() ? std::string() : QuoteShellWord(path);
}

}  // namespace

std::string BuildCommandLine(const std::string& programFolder, const ConversionSettings& settings,
                             const std::string& shortSource, const std::string& shortOutput) {
  // "libm9s -i %s %s -vcodec mpeg4 -acodec libfaac -f %s -b %s -r %f %s -ar %d -ab %s -ac %d -y %s"
  std::string command = QuoteShellWord(programFolder + "libm9s");
  command += " -i " + QuotedPath(shortSource);
  command += " ";  // the second place is always empty
  command += " -vcodec mpeg4 -acodec libfaac -f " + settings.OutputFormat;
  command += " -b " + settings.VideoBitrate;
  command += " -r " + FormatFrameRate(settings.FrameRate);
  command += " -s " + settings.VideoSize;
  command += " -ar " + std::to_string(settings.SampleRate);
  command += " -ab " + settings.AudioBitrate;
  command += " -ac " + std::to_string(settings.Channels);
  command += " -y " + QuotedPath(shortOutput);
  return command;
}
