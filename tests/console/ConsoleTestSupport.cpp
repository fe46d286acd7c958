// SPDX-License-Identifier: GPL-3.0-or-later
#include "ConsoleTestSupport.h"

#include <filesystem>
#include <thread>

#include <QCoreApplication>

#include "platform/ShellWords.h"

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    QCoreApplication::processEvents();
    if (done()) return true;
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(1ms);
  }
}

std::string Child(const std::string& arguments) {
  return QuoteShellWord(CONSOLE_CHILD) + " " + arguments;
}

static int CountEntries(const char* folder) {
  int count = 0;
  for ([[maybe_unused]] auto& entry : std::filesystem::directory_iterator(folder)) ++count;
  return count;
}

int OpenDescriptorCount() { return CountEntries("/proc/self/fd"); }
int ThreadCount() { return CountEntries("/proc/self/task"); }

Recorder::Recorder(TConsoleIO& runner) {
  runner.OnReceiveOutput = [this](TConsoleIO*, const std::string& text) {
    events.push_back("out:" + text);
    pieces.push_back(text);
    output += text;
  };
  runner.OnReceiveError = [this](TConsoleIO*, const std::string& text) {
    events.push_back("err:" + text);
    errors += text;
  };
  runner.OnError = [this](TConsoleIO*, const std::string& text) {
    events.push_back("fail:" + text);
  };
  runner.OnProcessStatusChange = [this](TConsoleIO*, bool running) {
    events.push_back(running ? "run:1" : "run:0");
    (running ? started : ended)++;
  };
}
