// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <thread>

#include <QString>
#include <QtGlobal>

#include <gtest/gtest.h>

#include "ConsoleTestSupport.h"
#include "console/ConsoleErrorSink.h"
#include "platform/ShellWords.h"
#include "platform/SystemError.h"

namespace {

// The chunks mode writes each argument as one chunk (\n \r \0 decoded).
std::string Chunks(const std::vector<std::string>& chunks, const char* mode = "chunks") {
  std::string line = mode;
  for (const auto& chunk : chunks) line += " " + QuoteShellWord(chunk);
  return Child(line);
}

void RunToEnd(TConsoleIO& runner, Recorder& record, const std::string& command) {
  int ended = record.ended;
  runner.Run(command, "", false);
  ASSERT_TRUE(WaitUntil([&] { return record.ended > ended; }));
}

std::string Pattern(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i % 251);
  return bytes;
}

}  // namespace

TEST(ConsoleIODelivery, splitModesCutPiecesAcrossChunksAndDeliverTheRestAtTheEnd) {
  struct Case {
    const char* name;
    TSplitMode mode;
    bool splitReceive;
    char splitChar;
    std::vector<std::string> chunks;
    std::vector<std::string> pieces;  // the last one is the held-back rest at the end
  };
  const std::vector<Case> cases = {
      {"split at line feed",
       smSplitchar,
       true,
       '\n',
       {"ab", "c\\nd", "\\n\\ne"},
       {"abc", "d", "", "e"}},
      {"carriage return stays", smSplitchar, true, '\n', {"a\\r\\nb"}, {"a\r", "b"}},
      {"other split char", smSplitchar, true, ';', {"a;b\\n;"}, {"a", "b\n", ""}},
      {"CR LF split over chunks", sm0D0A, true, '\n', {"x\\r", "\\ny\\r\\n", "z"}, {"x", "y", "z"}},
      {"lone line feed is no separator", sm0D0A, true, '\n', {"a\\nb\\r\\n"}, {"a\nb", ""}},
      {"no splitting", smNone, true, '\n', {"a\\n", "b"}, {"a\n", "b", ""}},
      {"split receive off", sm0D0A, false, '\n', {"a\\r\\n", "b"}, {"a\r\n", "b", ""}},
      {"zero bytes pass",
       smSplitchar,
       true,
       '\n',
       {"a\\0b\\n\\0"},
       {std::string("a\0b", 3), std::string(1, '\0')}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TConsoleIO runner;
    runner.SetSplitMode(c.mode);
    runner.SetSplitReceive(c.splitReceive);
    runner.SetSplitChar(c.splitChar);
    Recorder record(runner);
    RunToEnd(runner, record, Chunks(c.chunks));
    std::vector<std::string> expected = {"run:1"};
    for (const auto& piece : c.pieces) expected.push_back("out:" + piece);
    expected.push_back("run:0");
    EXPECT_EQ(record.events, expected);
  }
}

TEST(ConsoleIODelivery, outputWithoutHandlerIsDroppedAndStandardErrorIsNeverSplit) {
  TConsoleIO runner;
  runner.SetSplitMode(smSplitchar);
  int statusChanges = 0;
  runner.OnProcessStatusChange = [&](TConsoleIO*, bool) { ++statusChanges; };
  runner.Run(Chunks({"held\\nback"}), "", false);
  ASSERT_TRUE(WaitUntil([&] { return statusChanges == 2; }));

  Recorder record(runner);
  RunToEnd(runner, record, Chunks({"ab", "c\\nd\\ne"}, "errchunks"));
  EXPECT_EQ(record.events,
            (std::vector<std::string>{"run:1", "err:ab", "err:c\nd\ne", "out:", "run:0"}));

  RunToEnd(runner, record, Chunks({"fresh\\n"}));
  EXPECT_EQ(record.pieces, (std::vector<std::string>{"", "fresh", ""}));
}

TEST(ConsoleIODelivery, allLinesArriveInOrderBeforeTheEnd) {
  TConsoleIO runner;
  runner.SetSplitMode(smSplitchar);
  Recorder record(runner);
  RunToEnd(runner, record, Child("lines 10240"));
  ASSERT_EQ(record.pieces.size(), 10241u);
  for (int i = 0; i < 10240; ++i) ASSERT_EQ(record.pieces[i], "line " + std::to_string(i));
  EXPECT_EQ(record.pieces.back(), "");
  EXPECT_EQ(record.events.back(), "run:0");
}

TEST(ConsoleIODelivery, slowHandlersWhileBothStreamsFloodLoseNothing) {
  TConsoleIO runner;
  runner.SetSplitReceive(false);
  Recorder record(runner);
  auto output = runner.OnReceiveOutput;
  auto error = runner.OnReceiveError;
  std::size_t largest = 0;  // whatever a read takes, pieces stay within 1025 bytes
  runner.OnReceiveOutput = [&](TConsoleIO* sender, const std::string& text) {
    std::this_thread::sleep_for(1ms);
    largest = std::max(largest, text.size());
    output(sender, text);
  };
  runner.OnReceiveError = [&](TConsoleIO* sender, const std::string& text) {
    std::this_thread::sleep_for(1ms);
    largest = std::max(largest, text.size());
    error(sender, text);
  };
  RunToEnd(runner, record, Child("flood 300000"));
  EXPECT_TRUE(record.output == Pattern(300000));
  EXPECT_TRUE(record.errors == Pattern(300000));
  EXPECT_LE(largest, 1025u);
  EXPECT_GE(largest, 1000u);
}

TEST(ConsoleIODelivery, sendAppendsTheTerminatorOfTheSplitMode) {
  struct Case {
    TSplitMode mode;
    bool splitSend;
    std::string written;
  };
  const std::vector<Case> cases = {{smNone, true, "ab"},
                                   {sm0D0A, true, "ab\r\n"},
                                   {smSplitchar, true, "ab;"},
                                   {sm0D0A, false, "ab"},
                                   {smSplitchar, false, "ab"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.written);
    TConsoleIO runner;
    runner.SetSplitMode(c.mode);
    runner.SetSplitSend(c.splitSend);
    runner.SetSplitChar(';');
    runner.SetSplitReceive(false);
    Recorder record(runner);
    runner.Run(Child("echo"), "", false);
    runner.Send("ab");
    ASSERT_TRUE(WaitUntil([&] { return record.output.size() >= c.written.size(); }));
    EXPECT_EQ(record.output, c.written);
    // Without kill, Stop only writes the terminate command, with the same terminator.
    runner.SetTerminateCommand("bye");
    runner.Stop();
    std::string both = c.written + "bye" + c.written.substr(2);
    ASSERT_TRUE(WaitUntil([&] { return record.output.size() >= both.size(); }));
    EXPECT_EQ(record.output, both);
    EXPECT_TRUE(runner.IsRunning());
    runner.SetTerminateCommand("");
    runner.SetEnableKill(true);
    runner.Stop();
    ASSERT_TRUE(WaitUntil([&] { return record.Ended(); }));
  }
}

TEST(ConsoleIODelivery, echoIsByteExactAndRoundTripsKeepStep) {
  TConsoleIO runner;
  runner.SetSplitMode(smNone);
  runner.SetEnableKill(true);
  Recorder record(runner);
  runner.Run(Child("echo"), "", false);
  for (std::size_t size : {1u, 5u, 100u, 1000u, 10000u}) {
    record.output.clear();
    runner.Send(Pattern(size));
    ASSERT_TRUE(WaitUntil([&] { return record.output.size() >= size; })) << size;
    EXPECT_TRUE(record.output == Pattern(size)) << size;
  }
  runner.SetSplitMode(smSplitchar);
  for (int i = 0; i < 100; ++i) {
    std::string message = "message " + std::to_string(i);
    runner.Send(message);
    ASSERT_TRUE(
        WaitUntil([&] { return !record.pieces.empty() && record.pieces.back() == message; }));
  }
  runner.Stop();  // "quit" is echoed, then the child is killed at the timeout
  ASSERT_TRUE(WaitUntil([&] { return record.Ended(); }));
}

TEST(ConsoleIODelivery, anExceptionFromAHandlerIsShownAndDeliveryGoesOn) {
  std::vector<std::string> shown;
  TConsoleErrorSink previous =
      SetConsoleErrorSink([&](const std::string& text) { shown.push_back(text); });
  TConsoleIO runner;
  runner.SetSplitMode(smSplitchar);
  Recorder record(runner);
  runner.OnReceiveOutput = [&](TConsoleIO*, const std::string& text) {
    if (text == "bad") throw ConvertError(text);
    record.pieces.push_back(text);
  };
  RunToEnd(runner, record, Chunks({"ok1\\nbad\\nok2\\n"}));
  SetConsoleErrorSink(previous);
  EXPECT_EQ(record.pieces, (std::vector<std::string>{"ok1", "ok2", ""}));
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0], "'bad' is not a valid integer value");
}

TEST(ConsoleErrorSink, errorsGoToTheSinkTheProgramSetOrElseToStandardError) {
  std::vector<std::string> shown;
  const TConsoleErrorSink previous =
      SetConsoleErrorSink([&](const std::string& text) { shown.push_back(text); });
  RunReportingErrors([] { throw ConvertError("x"); });
  RunReportingErrors([] { throw 42; });  // not a std::exception
  RunReportingErrors([] {});
  EXPECT_EQ(shown, (std::vector<std::string>{"'x' is not a valid integer value", "Unknown error"}));

  SetConsoleErrorSink({});
  static QString logged;  // a message handler is a plain function
  const QtMessageHandler qtHandler =
      qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg) logged = text;
      });
  RunReportingErrors([] { RaiseOSError(ENOENT); });
  qInstallMessageHandler(qtHandler);
  SetConsoleErrorSink(previous);
  EXPECT_EQ(logged.toStdString(), SystemErrorText(ENOENT));
}
