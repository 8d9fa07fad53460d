// Feeds arbitrary bytes to the settings store as its file, then checks that a save writes
// exactly 256 lines and that loading the saved file gives back the table held in memory.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "settings/config.h"

namespace fs = std::filesystem;

namespace {

// Every input rewrites the file with an fsync, which memory-backed /dev/shm makes cheap. The
// path is never destroyed, so the clean-up at exit can still use it.
const fs::path& folder() {
  static const fs::path* const path = [] {
    std::error_code error;
    const fs::path base =
        fs::is_directory("/dev/shm", error) ? "/dev/shm" : fs::temp_directory_path();
    auto* p = new fs::path(base / ("kx90_fuzz_config." + std::to_string(::getpid())));
    fs::create_directories(*p);
    std::atexit([] {
      std::error_code ignored;
      fs::remove_all(folder(), ignored);
    });
    return p;
  }();
  return *path;
}

void check(bool ok) {
  if (!ok) __builtin_trap();
}

size_t countLines(const std::string& text) {
  size_t lines = 0;
  for (char c : text) {
    check(c != '\r');
    lines += c == '\n';
  }
  check(text.empty() || text.back() == '\n');
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fs::path file = folder() / "KX-90.ini";
  std::ofstream(file, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

  kx90::config store(folder());
  store.initconfig("KX-90");
  for (const std::string& element : store.parray())
    check(element.find_first_of("\r\n") == std::string::npos);

  for (const char* key : {"keyboard", "jog", "basefont", "macrokey0", "serport0"}) {
    store.getint(key);
    store.getint0(key);
    store.getbool(key);
    store.getfont(key);
    store.getstring(key);
  }
  kx90::WindowPoz window{5, 5};
  store.getwindowpoz(window, "macrow");
  check(!store.cfound() || window.top >= kx90::config::kTopFloor);

  // Keys taken from the loaded table must be found at or before their own pair (an earlier pair
  // may hold the same key in other letter case).
  std::string changed = "fuzzkey";
  for (int i = 0; i < kx90::config::kPairs; ++i) {
    const std::string key = store.parray()[2 * i];
    if (key.empty()) break;
    check(store.findconfig(key) <= i && store.cfound());
    const int32_t n = store.getint(key);
    check(store.getint0(key) == n);
    if (i == 0) changed = key;
  }

  // The key is either pair 0's own or goes into an empty pair 0, so it is always stored. The
  // comparison is with whatever stands in the value element, even a stray value beside an empty
  // key, so appending a letter to that makes sure the file is rewritten.
  const int pair = store.findconfig(changed);
  const std::string value = store.parray()[2 * pair + 1] + "x";
  store.putconfig(changed, value);
  check(store.getstring(changed) == value);

  std::ifstream in(file, std::ios::binary);
  const std::string saved{std::istreambuf_iterator<char>(in), {}};
  check(countLines(saved) == kx90::config::kLines);

  kx90::config reloaded(folder());
  reloaded.initconfig("KX-90");
  check(reloaded.parray() == store.parray());
  return 0;
}
