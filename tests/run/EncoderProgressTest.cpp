// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/EncoderProgress.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/MarkerProtocol.h"
#include "platform/SystemError.h"

namespace {

std::string Time(const std::string& value) {
  return std::string(kTimeMarkerOpen) + value + std::string(kTimeMarkerClose);
}
std::string Duration(const std::string& value) {
  return std::string(kDurationMarkerOpen) + value + std::string(kDurationMarkerClose);
}

struct ExtractCase {
  const char* text;
  const char* expected;
};

TEST(MarkedValue, LastCompletePairWinsAndBrokenPairsGiveNothing) {
  const std::vector<ExtractCase> cases = {
      {"", ""},
      {"noise only", ""},
      {"<a>", ""},
      {"<a>1</a>", "1"},
      {"x <a>1</a> y <a>2</a> z", "2"},
      {"<a>1</a> <a>2", "1"},  // the second value is cut off: the earlier one counts
      {"2</a>", ""},           // its opening marker was in the previous piece
      {"<a></a>", ""},         // empty value
      {"<a>1<a>2</a>", "2"},   // nearest opening marker before the close
      {"</a><a>", ""},         // markers in the wrong order
  };
  for (const auto& c : cases)
    EXPECT_EQ(ExtractMarkedValue(c.text, "<a>", "</a>"), c.expected) << c.text;
  // Opening and closing markers that share bytes may not overlap.
  EXPECT_EQ(ExtractMarkedValue("=x=", "=x", "x="), "");
  EXPECT_EQ(ExtractMarkedValue("=xx=", "=x", "x="), "");
  EXPECT_EQ(ExtractMarkedValue("=x5x=", "=x", "x="), "5");
}

struct ClockCase {
  const char* text;
  int64_t seconds;
};

TEST(ClockText, ShapesAndValues) {
  const std::vector<ClockCase> cases = {
      {"", 0},
      {"01:02:03.50", 3723},
      {"00:03:25.45", 205},
      {"100:00:00.00", 360000},
      {"1:2:3.4", 3723},
      {"205", 0},  // no fraction: another shape
      {"00:03:25", 0},
      {"03:25.45", 0},             // two clock pieces
      {"00:00:03:25.45", 0},       // four clock pieces
      {"1.2.3", 0},                // three dot pieces
      {"..01:02:03..50..", 3723},  // empty pieces are dropped
      {"01::02:03.50", 3723},
      {"596524:00:00.00", 596524LL * 3600 - 4294967296LL},  // 32-bit arithmetic wraps
  };
  for (const auto& c : cases) EXPECT_EQ(ParseClockText(c.text), c.seconds) << c.text;
}

TEST(ClockText, PieceThatIsNoIntegerRaisesConvertError) {
  for (const char* text : {"aa:02:03.50", "01:0x:03.50", "01:02:03.5z", "01:02: 3.50",
                           "01:02:99999999999.50", "01:+:03.50"}) {
    EXPECT_THROW(ParseClockText(text), ConvertError) << text;
  }
  try {
    ParseClockText("01:zz:03.50");
    FAIL();
  } catch (const ConvertError& e) {
    EXPECT_STREQ(e.what(), "'zz' is not a valid integer value");
  }
}

TEST(ClockText, FormatPadsToTwoDigitsAndLetsHoursGrow) {
  const std::vector<ClockCase> cases = {
      {"00:00:00", 0},    {"00:00:01", 1},       {"00:03:25", 205},
      {"01:02:03", 3723}, {"100:00:00", 360000}, {"-00:00:05", -5},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatClock(c.seconds), c.text) << c.seconds;
}

struct ProgressCase {
  const char* name;
  EncoderProgress before;
  std::string text;
  int position;
  int64_t span;
  EncoderProgress after;
};

TEST(Progress, UpdateTable) {
  const std::vector<ProgressCase> cases = {
      {"half goes to even 12", {100, 0}, "frame= 3 " + Time("12.5") + " q=2", 12, 100, {100, 12}},
      {"13.5 goes to even 14", {100, 0}, Time("13.5"), 14, 100, {100, 14}},
      {"above half rounds up", {100, 0}, Time("12.51"), 13, 100, {100, 13}},
      {"1 of 8 is 12.5 and gives 12", {8, 0}, Time("1"), 12, 8, {8, 1}},
      {"3 of 8 is 37.5 and gives 38", {8, 0}, Time("3"), 38, 8, {8, 3}},
      {"last complete value wins",
       {100, 0},
       Time("10") + "\r" + Time("11") + "\r",
       11,
       100,
       {100, 11}},
      {"value cut after its open marker", {100, 40}, "ffmpeg_release_time=45.", 40, 100, {100, 40}},
      {"rest of a cut value", {100, 40}, "3=ffmpeg_release_time\n", 40, 100, {100, 40}},
      {"duration and time in one piece",
       {0, 0},
       Duration("01:02:03.50") + "\n" + Time("372.3"),
       10,
       3723,
       {3723, 372}},
      {"no duration yet: span 1, bar 99", {0, 0}, Time("1"), 99, 1, {0, 1}},
      {"no duration, position 0", {0, 0}, Time("0.4"), 0, 1, {0, 0}},
      {"at the end: 99 never 100", {60, 0}, Time("60"), 99, 60, {60, 60}},
      {"beyond the end: 99", {60, 0}, Time("75"), 99, 60, {60, 75}},
      {"no marker recomputes from stored", {200, 50}, "size=  10kB", 25, 200, {200, 50}},
      {"smaller time shows, latest kept", {100, 50}, Time("20"), 20, 100, {100, 50}},
      {"blanks and controls trimmed", {100, 0}, Time(" \t30\r "), 30, 100, {100, 30}},
      {"duration of another shape gives 0", {300, 5}, Duration("205"), 99, 1, {0, 5}},
      {"duration kept from earlier entry", {300, 0}, Time("150"), 50, 300, {300, 150}},
      {"huge time saturates",
       {100, 0},
       Time("99999999999999999999999"),
       99,
       100,
       {100, 9223372036854775807LL}},
  };
  for (const auto& c : cases) {
    EncoderProgress progress = c.before;
    const ProgressView view = UpdateProgress(progress, c.text);
    EXPECT_EQ(view.Position, c.position) << c.name;
    EXPECT_EQ(view.Span, c.span) << c.name;
    EXPECT_EQ(progress.DurationSeconds, c.after.DurationSeconds) << c.name;
    EXPECT_EQ(progress.LatestTimeSeconds, c.after.LatestTimeSeconds) << c.name;
  }
}

TEST(Progress, BadNumberRaisesAndKeepsStoredValues) {
  const std::vector<std::string> texts = {
      Time("12,5"),
      Time("abc"),
      Time("1e3"),
      Time("-"),
      Time("."),
      Time("1.2.3"),
      Duration("00:xx:40.00") + Time("5"),
  };
  for (const auto& text : texts) {
    EncoderProgress progress{77, 7};
    EXPECT_THROW(UpdateProgress(progress, text), ConvertError) << text;
    EXPECT_EQ(progress.DurationSeconds, 77) << text;
    EXPECT_EQ(progress.LatestTimeSeconds, 7) << text;
  }
  // The duration is read and stored before the time of the same piece fails.
  EncoderProgress progress{77, 7};
  EXPECT_THROW(UpdateProgress(progress, Duration("00:01:40.00") + Time("x")), ConvertError);
  EXPECT_EQ(progress.DurationSeconds, 100);
  EXPECT_EQ(progress.LatestTimeSeconds, 7);
}

TEST(Progress, PiecesFollowOneAnotherLikeAnEncoderRun) {
  EncoderProgress progress;
  EXPECT_EQ(UpdateProgress(progress, "Input #0, avi\n").Position, 0);
  EXPECT_EQ(UpdateProgress(progress, Duration("00:00:20.00") + "\n").Span, 20);
  EXPECT_EQ(UpdateProgress(progress, Time("5.00") + "\n").Position, 25);
  EXPECT_EQ(UpdateProgress(progress, "ffmpeg_release_ti").Position, 25);
  EXPECT_EQ(UpdateProgress(progress, "me=10.00=ffmpeg_release_time\n").Position, 25);
  EXPECT_EQ(UpdateProgress(progress, Time("19.99") + "\n").Position, 99);
  EXPECT_EQ(progress.LatestTimeSeconds, 20);
}

struct LineCase {
  const char* pattern;
  int index1;
  int count;
  int64_t span;
  const char* caption;
  const char* line;
};

TEST(StatusLine, PatternTable) {
  const std::vector<LineCase> cases = {
      {"Converting %s", 2, 3, 205, "/video/clip.avi", "Converting 2/3 [-00:03:25] /video/clip.avi"},
      {"Converting %s", 1, 1, 3723, "/a", "Converting 1/1 [-01:02:03] /a"},
      {"Converting %s", 1, 1, 1, "/a", "Converting 1/1 [-00:00:01] /a"},
      {"Converting", 1, 2, 1, "/a", "Converting [-00:00:01] /a"},  // no %s: no position
      {"", 1, 2, 1, "/a", " [-00:00:01] /a"},
      {"%s %s", 1, 2, 1, "/a", "1/2 %s [-00:00:01] /a"},  // only one %s is filled
      {"100%% %d %n %s", 3, 4, 1, "/a", "100% %d %n 3/4 [-00:00:01] /a"},
      {"end %", 1, 2, 1, "/a", "end % [-00:00:01] /a"},
      {"\xd5\xfd\xd4\xda\xd7\xaa\xbb\xbb %s", 1, 2, 60, "/v/\xff.avi",
       "\xd5\xfd\xd4\xda\xd7\xaa\xbb\xbb 1/2 [-00:01:00] /v/\xff.avi"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FormatStatusLine(c.pattern, c.index1, c.count, c.span, c.caption), c.line)
        << c.pattern;
}

}  // namespace
