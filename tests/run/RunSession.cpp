// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/run/RunSession.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

#include "app/UnitMain.h"
#include "common/Unit_common.h"
#include "console/ConsoleErrorSink.h"
#include "engine/UnitOverWrite.h"
#include "queue/QueueModel.h"
#include "shutdown/UnitCloseWindows.h"
#include "tests/support/qt/FindControl.h"
#include "ui/ErrorDisplay.h"
#include "ui/PathText.h"

namespace fs = std::filesystem;

bool AnsweringPrompts::AskOkCancel(QWidget*, const QString&, const QString&) { return true; }

bool AnsweringPrompts::AskYesNo(QWidget*, const QString& caption, const QString& text) {
  finishTexts.push_back(caption + "|" + text);
  return finishAnswer;
}

int AnsweringPrompts::ExecModal(QDialog* dialog) {
  if (auto* overwrite = qobject_cast<TfrmOverWrite*>(dialog)) {
    ++overwritePrompts;
    if (answerOverwrite)
      answerOverwrite(*overwrite);
    else
      overwrite->reject();
    return overwrite->result();
  }
  if (auto* countdown = qobject_cast<TfrmPowerOffWindows*>(dialog)) {
    ++countdowns;
    Find<QPushButton>(countdown, "buttonNo")->click();
    return countdown->result();
  }
  dialog->reject();
  return dialog->result();
}

std::string MakeProgramFolder(const fs::path& where, bool withEncoder) {
  const fs::path built = VELBRIN_PROGRAM_DIR;
  fs::create_directories(where);
  for (const auto& entry : fs::directory_iterator(built)) {
    const std::string name = entry.path().filename().string();
    if (name == "config.ini" || (!withEncoder && name == "libm9s")) continue;
    fs::copy(entry.path(), where / name,
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
  }
  return where.string() + "/";
}

// The progress line writes the caption, then the hint: the hint's change
// event sees both, together with the bar.
class MainWindowSession::StatusWatcher : public QObject {
 public:
  explicit StatusWatcher(MainWindowSession& session) : session_(session) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::ToolTipChange) session_.Record();
    return QObject::eventFilter(watched, event);
  }

 private:
  MainWindowSession& session_;
};

MainWindowSession::MainWindowSession(const std::string& programFolder, bool autoPowerOff,
                                     ISleepInhibitor* inhibitor) {
  common_ = std::make_unique<TfrmCommon>(programFolder);
  frmCommon = common_.get();
  frmCommon->Config().WriteInteger("setting", "autoPowerOff", autoPowerOff ? 1 : 0);
  SetErrorSink([this](const QString& text) { errors.push_back(text); });
  SetConsoleErrorSink(ShowErrorText);  // as the program does
  window_ = std::make_unique<TfrmMain>(MainServices{
      .prompts = &prompts, .shell = &shell, .powerOff = &powerOff, .sleepInhibitor = inhibitor});
  window_->show();
  watcher_ = std::make_unique<StatusWatcher>(*this);
  Find<QLabel>(window_.get(), "labelCurrentInfo")->installEventFilter(watcher_.get());
}

MainWindowSession::~MainWindowSession() {
  if (window_) Find<QLabel>(window_.get(), "labelCurrentInfo")->removeEventFilter(watcher_.get());
  window_.reset();
  SetErrorSink({});
  SetConsoleErrorSink({});
  frmCommon = nullptr;
}

QueueModel& MainWindowSession::Entries() {
  return dynamic_cast<QueueModel&>(*Find<QTableView>(window_.get(), "listViewFiles")->model());
}

void MainWindowSession::Queue(const fs::path& source) {
  window_->AddFileToList(PathToText(source.string()));
}

void MainWindowSession::SetOutputFolder(const std::string& folder) {
  Find<QLineEdit>(window_.get(), "editOutputFolder")->setText(PathToText(folder));
}

void MainWindowSession::ClickConvert() {
  Find<QAction>(window_.get(), "ActionConvertNow")->trigger();
}

int MainWindowSession::BarValue() const {
  return Find<QProgressBar>(window_.get(), "progressBarCurrent")->value();
}

QString MainWindowSession::StatusText() const {
  return Find<QLabel>(window_.get(), "labelCurrentInfo")->text();
}

QString MainWindowSession::StatusHint() const {
  return Find<QLabel>(window_.get(), "labelCurrentInfo")->toolTip();
}

void MainWindowSession::Record() {
  samples.push_back({StatusText(), StatusHint(), BarValue()});
  for (Trigger& trigger : triggers_) {
    if (trigger.fn && trigger.condition(samples.back())) {
      auto fn = std::move(trigger.fn);
      trigger.fn = nullptr;
      if (trigger.insideTheHandler)
        fn();
      else
        QTimer::singleShot(0, std::move(fn));
    }
  }
}

void MainWindowSession::WhenStatus(std::function<bool(const Sample&)> condition,
                                   std::function<void()> fn, bool insideTheHandler) {
  triggers_.push_back({std::move(condition), std::move(fn), insideTheHandler});
}

void MainWindowSession::CloseWindow() {
  if (window_) window_->close();
}

FifoFeeder::FifoFeeder(const fs::path& fifo, std::string bytes, int pieces,
                       std::chrono::milliseconds pace, bool hold) {
  ::mkfifo(fifo.c_str(), 0644);
  thread_ = std::thread([this, fifo, bytes = std::move(bytes), pieces, pace, hold] {
    ::signal(SIGPIPE, SIG_IGN);
    // Waits for the encoder to open the other end, but not past the release:
    // an encoder that never comes must not hold the test.
    int fd = -1;
    while (!released_ && (fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC)) < 0 &&
           errno == ENXIO)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    if (fd < 0) return;
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    const size_t piece = (bytes.size() + pieces - 1) / pieces;
    for (size_t at = 0; at < bytes.size() && !released_; at += piece) {
      const bool last = at + piece >= bytes.size();
      if (last && hold)
        while (!released_) std::this_thread::sleep_for(std::chrono::milliseconds(5));
      if (released_) break;
      size_t n = std::min(piece, bytes.size() - at);
      const char* p = bytes.data() + at;
      while (n > 0) {
        const ssize_t w = ::write(fd, p, n);
        if (w <= 0) break;
        p += w;
        n -= static_cast<size_t>(w);
      }
      ++fed_;
      if (!last) std::this_thread::sleep_for(pace);
    }
    ::close(fd);
  });
}

FifoFeeder::~FifoFeeder() {
  released_ = true;
  thread_.join();
}

std::vector<pid_t> EncoderChildren(pid_t parent) {
  std::vector<pid_t> pids;
  const pid_t self = parent != 0 ? parent : ::getpid();
  for (const auto& entry : fs::directory_iterator("/proc")) {
    const std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::ifstream stat(entry.path() / "stat");
    std::string line;
    if (!std::getline(stat, line)) continue;
    // pid (comm) state ppid ...
    const size_t open = line.find('(');
    const size_t close = line.rfind(')');
    if (open == std::string::npos || close == std::string::npos) continue;
    const std::string comm = line.substr(open + 1, close - open - 1);
    std::istringstream rest(line.substr(close + 2));
    char state = 0;
    pid_t ppid = 0;
    rest >> state >> ppid;
    if (ppid == self && comm == "libm9s" && state != 'Z') pids.push_back(std::stoi(name));
  }
  return pids;
}

bool ProcessGone(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  if (!std::getline(stat, line)) return true;
  const size_t close = line.rfind(')');
  return close != std::string::npos && close + 2 < line.size() && line[close + 2] == 'Z';
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}
