// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

// The six user choices of one encoder command plus the fixed output format.
// Every choice comes from a fixed table and is found by its list index.
struct ConversionSettings {
  std::string VideoSize = "176x144";
  std::string VideoBitrate = "120k";
  double FrameRate = 14.985;
  std::string AudioBitrate = "12.2k";
  int SampleRate = 16000;
  int Channels = 2;
  std::string OutputFormat = "3gp";
};

enum class ConversionChoice {
  VideoSize,
  VideoBitrate,
  FrameRate,
  AudioBitrate,
  SampleRate,
  Channels
};

// The item texts of a choice's list, in index order, and its default index.
const std::vector<std::string>& ChoiceItemTexts(ConversionChoice choice);
int ChoiceDefaultIndex(ConversionChoice choice);

// The settings for the six selected indices; an index outside its table
// (a list without a selection) takes the choice's default.
ConversionSettings MakeConversionSettings(int videoSize, int videoBitrate, int frameRate,
                                          int audioBitrate, int sampleRate, int channels);

// Fixed notation with two decimals, "." always: the stored double's decimal
// expansion to 18 significant digits, rounded half up at the second decimal.
std::string FormatFrameRate(double value);
