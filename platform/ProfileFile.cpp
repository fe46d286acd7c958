// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ProfileFile.h"

#include <cerrno>
#include <charconv>
#include <chrono>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/FileDescriptor.h"
#include "platform/SystemError.h"

namespace profile {
namespace {

enum class LineKind { Other, Comment, Section, Key };

// One line of the file as offsets into its bytes.
struct Line {
  size_t begin = 0;
  size_t contentEnd = 0;  // where the line terminator starts
  size_t next = 0;        // first byte after the terminator
  LineKind kind = LineKind::Other;
  std::string_view name;   // section or key name, blanks dropped
  std::string_view value;  // key value, blanks dropped, quotes still on
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

std::string LowerName(std::string_view s) {
  std::string lower(s);
  for (char& c : lower) c = Lower(c);
  return lower;
}

void Classify(std::string_view content, Line& line) {
  std::string_view text = Trim(content);
  if (text.empty()) return;
  if (text.front() == ';') {
    line.kind = LineKind::Comment;
  } else if (text.front() == '[') {
    size_t close = text.find(']');
    if (close == std::string_view::npos) return;  // no section and no key
    line.kind = LineKind::Section;
    line.name = Trim(text.substr(1, close - 1));
  } else {
    size_t eq = text.find('=');
    if (eq == std::string_view::npos) return;
    line.kind = LineKind::Key;
    line.name = Trim(text.substr(0, eq));
    line.value = Trim(text.substr(eq + 1));
  }
}

std::vector<Line> SplitLines(std::string_view bytes) {
  std::vector<Line> lines;
  size_t pos = 0;
  while (pos < bytes.size()) {
    Line line;
    line.begin = pos;
    size_t end = bytes.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = bytes.size();
    line.contentEnd = end;
    line.next = end;
    if (end < bytes.size()) {
      line.next = end + 1;
      if (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n') line.next++;
    }
    std::string_view content = bytes.substr(line.begin, line.contentEnd - line.begin);
    // A UTF-8 mark (Notepad writes one) belongs to the bytes before the first line.
    if (line.begin == 0 && content.starts_with("\xEF\xBB\xBF")) content.remove_prefix(3);
    Classify(content, line);
    lines.push_back(line);
    pos = line.next;
  }
  return lines;
}

std::string ReadableValue(std::string_view raw) {
  if (raw.size() >= 2 && (raw.front() == '"' || raw.front() == '\'') && raw.back() == raw.front())
    raw = raw.substr(1, raw.size() - 2);
  if (raw.size() > kMaxValueBytes) raw = raw.substr(0, kMaxValueBytes);
  return std::string(raw);
}

// Lines [first, last) of the first section of that name; first is the header.
struct SectionSpan {
  size_t header;
  size_t last;
};

std::optional<SectionSpan> FindSection(const std::vector<Line>& lines, std::string_view section) {
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].kind != LineKind::Section || !SameName(lines[i].name, section)) continue;
    size_t last = i + 1;
    while (last < lines.size() && lines[last].kind != LineKind::Section) ++last;
    return SectionSpan{i, last};
  }
  return std::nullopt;
}

std::string DocumentKey(std::string_view section, std::string_view key) {
  return LowerName(section) + '\0' + LowerName(key);
}

// The whole file, or nothing when it does not exist; other failures throw SystemError.
std::optional<std::string> ReadFileBytes(const std::string& file) {
  const FileDescriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.IsOpen()) {
    if (errno == ENOENT) return std::nullopt;
    RaiseLastOSError();
  }
  std::string bytes;
  char buffer[65536];
  for (;;) {
    ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) RaiseLastOSError();
    if (n == 0) break;
    bytes.append(buffer, static_cast<size_t>(n));
  }
  return bytes;
}

std::optional<std::string> ReadIfReadable(const std::string& file) {
  try {
    return ReadFileBytes(file);
  } catch (const SystemError&) {
    return std::nullopt;
  }
}

std::string LineEnding(std::string_view bytes) {
  size_t end = bytes.find_first_of("\r\n");
  if (end == std::string_view::npos) return "\n";
  if (bytes[end] == '\n') return "\n";
  if (end + 1 < bytes.size() && bytes[end + 1] == '\n') return "\r\n";
  return "\r";
}

bool NeedsQuotes(std::string_view value) {
  if (value.empty()) return false;
  if (IsBlank(value.front()) || IsBlank(value.back())) return true;
  return value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
         value.back() == value.front();
}

std::string StoredValue(std::string_view value) {
  if (!NeedsQuotes(value)) return std::string(value);
  return '"' + std::string(value) + '"';
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

// Draws the random part of a temporary name without opening any file.
std::string RandomSuffix() {
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  unsigned char raw[8] = {};
  if (::getrandom(raw, sizeof raw, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof raw)) {
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    for (size_t i = 0; i < sizeof raw; ++i)
      raw[i] = static_cast<unsigned char>((now >> (i * 5)) ^ (::getpid() >> i));
  }
  std::string suffix;
  for (unsigned char c : raw) suffix += kLetters[c % (sizeof kLetters - 1)];
  return suffix;
}

// A temporary file beside the file it will replace. It is opened close-on-exec,
// so a child started meanwhile by another thread never inherits it, and created
// with mode 0666 so that the kernel applies the umask: reading the umask would
// mean changing it for the whole process for a moment.
class TempFile {
 public:
  explicit TempFile(const std::string& prefix) {
    for (int attempt = 0; attempt < 100 && !file_.IsOpen(); ++attempt) {
      path_ = prefix + RandomSuffix();
      file_ = FileDescriptor(
          ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666));
      if (!file_.IsOpen() && errno != EEXIST) break;
    }
    if (!file_.IsOpen()) path_.clear();
  }
  ~TempFile() {
    file_ = FileDescriptor();  // closed before its name goes
    if (!path_.empty()) ::unlink(path_.c_str());
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  bool Ok() const { return file_.IsOpen(); }
  bool Write(std::string_view bytes) { return WriteAll(file_.Get(), bytes); }
  // A replaced file keeps its mode; a new one keeps the mode it was created with.
  bool SyncAndClose(std::optional<mode_t> mode) {
    const bool ok = (!mode || ::fchmod(file_.Get(), *mode) == 0) && ::fsync(file_.Get()) == 0;
    return file_.TryClose() && ok;
  }
  // Puts the file in place; afterwards nothing is left to remove.
  bool RenameTo(const std::string& target) {
    if (::rename(path_.c_str(), target.c_str()) != 0) return false;
    path_.clear();
    return true;
  }

 private:
  std::string path_;
  FileDescriptor file_;
};

std::string FolderOf(const std::string& file) {
  size_t slash = file.rfind('/');
  return slash == std::string::npos ? std::string("./") : file.substr(0, slash + 1);
}

std::string NameOf(const std::string& file) {
  size_t slash = file.rfind('/');
  return slash == std::string::npos ? file : file.substr(slash + 1);
}

// The file a chain of symbolic links ends at (which may not exist yet), so a
// write replaces the target and leaves the link a link.
std::string LinkTarget(std::string file) {
  for (int hop = 0; hop < 40; ++hop) {
    std::string target(PATH_MAX, '\0');
    const ssize_t n = ::readlink(file.c_str(), target.data(), target.size());
    if (n < 0) return file;  // not a link (or nothing there)
    target.resize(static_cast<size_t>(n));
    file = target.starts_with('/') ? target : FolderOf(file) + target;
  }
  return file;  // a loop: the write fails on it and says so
}

// The folder of a profile file, open while one write reads, changes and
// replaces the file. Its exclusive lock makes writers in other processes take
// turns, so none of them replaces the file with bytes that miss another's key;
// the folder is locked rather than the file because the rename swaps the file.
class LockedFolder {
  static constexpr std::chrono::seconds kLockBound{2};

 public:
  explicit LockedFolder(const std::string& folder)
      : folder_(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    // Without a lock (a file system that has none, or a holder that does not
    // let go within the bound) the write still goes on: refusing it would
    // lose the value for certain, and the window must not freeze.
    if (!folder_.IsOpen()) return;
    const auto giveUp = std::chrono::steady_clock::now() + kLockBound;
    while (::flock(folder_.Get(), LOCK_EX | LOCK_NB) != 0 &&
           (errno == EINTR || errno == EWOULDBLOCK) && std::chrono::steady_clock::now() < giveUp)
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  LockedFolder(const LockedFolder&) = delete;
  LockedFolder& operator=(const LockedFolder&) = delete;

  // Puts a rename in the folder on disk.
  void Sync() const {
    if (folder_.IsOpen()) ::fsync(folder_.Get());
  }

 private:
  FileDescriptor folder_;  // closing it releases the lock
};

// Replaces the file with bytes through a temporary file in its folder, so a
// crash or a full disk leaves either the old or the new file, never a part.
// Nothing when the folder refuses new files to this user at all.
std::optional<bool> ReplaceFile(const std::string& file, std::string_view bytes,
                                std::optional<mode_t> mode, const LockedFolder& folder) {
  TempFile temp(FolderOf(file) + "." + NameOf(file) + ".");
  if (!temp.Ok() && (errno == EACCES || errno == EPERM || errno == EROFS)) return std::nullopt;
  if (!temp.Ok()) return false;
  if (!temp.Write(bytes) || !temp.SyncAndClose(mode) || !temp.RenameTo(file)) return false;
  folder.Sync();  // the rename itself; the file is already complete
  return true;
}

// A writable file in a folder that takes no new file can only be rewritten in place.
bool RewriteInPlace(const std::string& file, std::string_view bytes) {
  FileDescriptor fd(::open(file.c_str(), O_WRONLY | O_CLOEXEC));
  if (!fd.IsOpen()) return false;
  const bool ok = WriteAll(fd.Get(), bytes) &&
                  ::ftruncate(fd.Get(), static_cast<off_t>(bytes.size())) == 0 &&
                  ::fsync(fd.Get()) == 0;
  return fd.TryClose() && ok;
}

}  // namespace

Document Document::Parse(std::string bytes) {
  Document doc;
  std::string section;
  bool active = false;  // inside the first section of its name
  std::unordered_map<std::string, bool> seenSections;
  for (const Line& line : SplitLines(bytes)) {
    if (line.kind == LineKind::Section) {
      section = LowerName(line.name);
      active = seenSections.emplace(section, true).second;
    } else if (line.kind == LineKind::Key && active) {
      doc.values_.emplace(section + '\0' + LowerName(line.name), ReadableValue(line.value));
    }
  }
  return doc;
}

Document Document::Load(const std::string& file) {
  std::optional<std::string> bytes = ReadIfReadable(file);
  return bytes ? Parse(std::move(*bytes)) : Document();
}

std::optional<std::string> Document::Value(std::string_view section, std::string_view key) const {
  auto it = values_.find(DocumentKey(section, key));
  if (it == values_.end()) return std::nullopt;
  return it->second;
}

std::optional<std::string> ReadValue(const std::string& file, std::string_view section,
                                     std::string_view key) {
  return Document::Load(file).Value(section, key);
}

std::string ReadString(const std::string& file, std::string_view section, std::string_view key,
                       const std::string& fallback) {
  return ReadValue(file, section, key).value_or(fallback);
}

int ReadInteger(const std::string& file, std::string_view section, std::string_view key,
                int fallback) {
  std::optional<std::string> text = ReadValue(file, section, key);
  if (!text) return fallback;
  return ParseProfileInteger(*text).value_or(fallback);
}

std::optional<int> ParseProfileInteger(std::string_view text) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    std::string_view digits = text.substr(2);
    uint32_t value = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
    if (ec != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return static_cast<int32_t>(value);  // 32 bits as written, 0xFFFFFFFF is -1
  }
  if (!text.empty() && text[0] == '+') {
    text.remove_prefix(1);
    if (text.empty() || text[0] < '0' || text[0] > '9') return std::nullopt;
  }
  int value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 10);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string SetValue(std::string_view bytes, std::string_view section, std::string_view key,
                     std::string_view value) {
  if (value.find_first_of("\r\n") != std::string_view::npos)
    throw std::invalid_argument("a profile value cannot hold a line end");
  const std::string eol = LineEnding(bytes);
  const std::vector<Line> lines = SplitLines(bytes);
  const std::string stored = StoredValue(value);
  std::string result;
  std::optional<SectionSpan> span = FindSection(lines, section);
  if (!span) {
    result = bytes;
    if (!result.empty() && result.back() != '\n' && result.back() != '\r') result += eol;
    result += '[' + std::string(section) + ']' + eol + std::string(key) + '=' + stored + eol;
    return result;
  }
  for (size_t i = span->header + 1; i < span->last; ++i) {
    const Line& line = lines[i];
    if (line.kind != LineKind::Key || !SameName(line.name, key)) continue;
    result.append(bytes.substr(0, line.begin));
    result.append(line.name).append("=").append(stored);
    result.append(bytes.substr(line.contentEnd));
    return result;
  }
  // After the section's last line that holds anything, before the blank lines.
  size_t after = span->header;
  for (size_t i = span->header + 1; i < span->last; ++i)
    if (!Trim(bytes.substr(lines[i].begin, lines[i].contentEnd - lines[i].begin)).empty())
      after = i;
  const Line& anchor = lines[after];
  result.append(bytes.substr(0, anchor.next));
  if (anchor.next == anchor.contentEnd) result += eol;  // the file ended without a line end
  result.append(key).append("=").append(stored).append(eol);
  result.append(bytes.substr(anchor.next));
  return result;
}

void WriteString(const std::string& file, std::string_view section, std::string_view key,
                 std::string_view value, const std::string& seedFile) {
  if (value.find_first_of("\r\n") != std::string_view::npos) throw WriteError(file);
  const std::string target = LinkTarget(file);
  const LockedFolder lock(FolderOf(target));
  std::optional<std::string> old;
  try {
    old = ReadFileBytes(target);
  } catch (const SystemError&) {
    throw WriteError(file);  // writing without the old bytes would lose the other keys
  }
  std::optional<mode_t> mode;
  struct stat info {};
  if (old && ::stat(target.c_str(), &info) == 0) mode = info.st_mode & 07777;
  if (!old && !seedFile.empty()) old = ReadIfReadable(seedFile);
  const std::string bytes = SetValue(old.value_or(std::string()), section, key, value);
  const std::optional<bool> replaced = ReplaceFile(target, bytes, mode, lock);
  const bool written = replaced ? *replaced : (mode && RewriteInPlace(target, bytes));
  if (!written) throw WriteError(file);
}

}  // namespace profile
