// The settings store: lookups in the 128-pair table, the typed getters and putters, and the
// loading and atomic rewriting of the settings file.
#include "settings/config.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <string_view>
#include <system_error>
#include <utility>

namespace kx90 {

namespace {

constexpr const char* kDefaultFont = "Tahoma";

char lowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Keys and values are compared by ASCII letters only, so bytes from a hand-edited file in some
// other encoding compare as themselves instead of through the locale.
bool sameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return lowerAscii(x) == lowerAscii(y);
         });
}

bool isLineEnd(char c) {
  return c == '\r' || c == '\n';
}

bool hasLineEnd(std::string_view s) {
  return std::find_if(s.begin(), s.end(), isLineEnd) != s.end();
}

// The leading "[sign]digits" of a value; anything else reads as 0. Values beyond 32 bits are
// clamped, since a hand-edited file may hold any run of digits.
int32_t leadingNumber(std::string_view s) {
  size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    negative = s[i] == '-';
    ++i;
  }
  const int64_t limit = negative ? -static_cast<int64_t>(INT32_MIN) : INT32_MAX;
  int64_t magnitude = 0;
  for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
    magnitude = std::min(limit, magnitude * 10 + (s[i] - '0'));
  }
  return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

using Table = std::array<std::string, config::kLines>;

// Fills the table with the file's first kLines lines, accepting CR, LF and CR LF as line ends.
// Returns false when the file is there but cannot be read, so the caller can fall back to an
// empty table rather than a half-loaded one.
bool readTable(const std::filesystem::path& file, Table& table) {
  // O_NONBLOCK keeps a FIFO planted under the settings name from hanging start-up.
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return errno == ENOENT;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return false;
  }

  size_t line = 0;
  bool afterCR = false;
  char buffer[64 * 1024];
  bool ok = true;
  while (line < table.size()) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) ok = false;
    if (got <= 0) break;
    const char* p = buffer;
    const char* const end = buffer + got;
    // A CR that ended the previous chunk may pair with an LF that starts this one.
    if (afterCR && *p == '\n') ++p;
    afterCR = false;
    while (p < end && line < table.size()) {
      const char* stop = std::find_if(p, end, isLineEnd);
      table[line].append(p, stop);
      if (stop == end) break;
      ++line;
      p = stop + 1;
      if (*stop == '\r') {
        if (p == end) {
          afterCR = true;
        } else if (*p == '\n') {
          ++p;
        }
      }
    }
  }
  ::close(fd);
  return ok;
}

bool writeAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t put = ::write(fd, data.data(), data.size());
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    data.remove_prefix(static_cast<size_t>(put));
  }
  return true;
}

// Writes data under target through a temporary beside it, so that a crash, a full disk or a
// killed process leaves either the old file or the new one, never a truncated mix.
bool replaceFile(const std::filesystem::path& target, std::string_view data) {
  std::string temp = target.string() + ".XXXXXX";
  const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return false;

  // mkostemp creates the file private; a replaced file keeps the mode it had.
  struct stat st {};
  if (::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::fchmod(fd, st.st_mode & 07777);

  bool ok = writeAll(fd, data) && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  ok = ok && ::rename(temp.c_str(), target.c_str()) == 0;
  if (!ok) {
    ::unlink(temp.c_str());
    return false;
  }

  // Make the rename itself durable; the file is already complete, so a failure here is not one
  // worth reporting.
  const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
  const int dirfd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirfd >= 0) {
    ::fsync(dirfd);
    ::close(dirfd);
  }
  return true;
}

}  // namespace

config::config(std::filesystem::path folder) : folder_(std::move(folder)) {}

void config::initconfig(const std::string& base) {
  filename_ = folder_ / (base + ".ini");
  parray_ = {};
  cfound_ = false;
  if (!readTable(filename_, parray_)) parray_ = {};
}

int config::findconfig(const std::string& key) {
  cfound_ = false;
  for (int i = 0; i < kPairs; ++i) {
    const std::string& stored = parray_[2 * i];
    if (stored.empty()) return i;
    if (sameText(stored, key)) {
      cfound_ = true;
      return i;
    }
  }
  return 0;
}

std::string config::getstring(const std::string& key) {
  const int i = findconfig(key);
  return cfound_ ? parray_[2 * i + 1] : std::string();
}

void config::putconfig(const std::string& key, const std::string& value) {
  // An empty key could never be found again, and a line end would split the pair across lines
  // of the file and shift every later pair.
  if (key.empty() || hasLineEnd(key) || hasLineEnd(value)) return;
  const int i = findconfig(key);
  // With every pair taken by other keys the lookup points at pair 0; overwriting it would lose
  // a setting that is in use, so the new key is dropped instead.
  if (!cfound_ && !parray_[2 * i].empty()) return;
  parray_[2 * i] = key;
  if (sameText(parray_[2 * i + 1], value)) return;
  parray_[2 * i + 1] = value;
  saveconfig();
}

void config::putconfig(const std::string& key, int32_t value) {
  putconfig(key, std::to_string(value));
}

bool config::saveconfig() {
  if (filename_.empty()) return false;
  std::string text;
  size_t size = parray_.size();
  for (const std::string& element : parray_) size += element.size();
  text.reserve(size);
  for (const std::string& element : parray_) {
    text += element;
    text += '\n';
  }

  if (filename_.has_parent_path()) {
    std::error_code error;
    std::filesystem::create_directories(filename_.parent_path(), error);
    if (error) return false;
  }
  return replaceFile(filename_, text);
}

bool config::getbool(const std::string& key) {
  return sameText(getstring(key), "true");
}

void config::putbool(const std::string& key, bool value) {
  putconfig(key, std::string(value ? "true" : "false"));
}

int32_t config::getint(const std::string& key) {
  const std::string value = getstring(key);
  return cfound_ ? leadingNumber(value) : -1;
}

int32_t config::getint0(const std::string& key) {
  const std::string value = getstring(key);
  return cfound_ ? leadingNumber(value) : 0;
}

void config::putint(const std::string& key, int32_t value) {
  putconfig(key, value);
}

std::string config::getfont(const std::string& key) {
  std::string value = getstring(key);
  return value.empty() ? std::string(kDefaultFont) : value;
}

void config::getwindowpoz(WindowPoz& window, const std::string& name) {
  const int32_t left = getint(name + "_left");
  if (cfound_) window.left = left;
  const int32_t top = getint(name + "_top");
  if (cfound_) window.top = std::max<int32_t>(top, kTopFloor);
}

void config::putwindowpoz(const WindowPoz& window, const std::string& name) {
  putconfig(name + "_left", static_cast<int32_t>(window.left));
  putconfig(name + "_top", static_cast<int32_t>(window.top));
}

}  // namespace kx90
