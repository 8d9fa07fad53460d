// q9sim: the keyboard emulator behind a pseudo-terminal, so that the program
// (or anything else that opens a serial port) can talk to a keyboard that is
// not there. Prints the terminal's path on its first line of output.
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "sim/q9emu.h"

namespace {

using kx90::sim::Faults;
using kx90::sim::q9emu;

constexpr int kExitUsage = 2;
constexpr int kPollMs = 5;  // how late a delayed reply may go out, and the idle wake-up
// Before hanging up, the last replies are given time to reach the client's
// queue (the kernel moves them there a little later) and to be read from it.
constexpr uint64_t kSettleMs = 50;
constexpr uint64_t kLingerMs = 500;

volatile std::sig_atomic_t g_stop = 0;

struct Options {
  int model = 0;
  Faults faults;
  std::string firmwareOut;
  std::optional<double> seconds;
  bool help = false;
};

struct UsageError {
  std::string message;
};

// Number parsing that takes the whole text or nothing.
double number(const std::string& opt, std::string_view text, double lo, double hi) {
  double v = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size() || text.empty() || !std::isfinite(v)) {
    throw UsageError{opt + ": '" + std::string(text) + "' is not a number"};
  }
  if (v < lo || v > hi) {
    char range[96];
    std::snprintf(range, sizeof range, " (%g to %g)", lo, hi);
    throw UsageError{opt + ": " + std::string(text) + " is out of range" + range};
  }
  return v;
}

long long whole(const std::string& opt, std::string_view text, long long lo, long long hi) {
  long long v = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec == std::errc::result_out_of_range)
    v = hi + 1;  // reported as out of range below
  else if (ec != std::errc() || end != text.data() + text.size() || text.empty()) {
    throw UsageError{opt + ": '" + std::string(text) + "' is not a whole number"};
  }
  if (v < lo || v > hi) {
    throw UsageError{opt + ": " + std::string(text) + " is out of range (" + std::to_string(lo) +
                     " to " + std::to_string(hi) + ")"};
  }
  return v;
}

struct OptionDef {
  const char* name;
  const char* value;  // nullptr: takes no value
  const char* help;
  std::function<void(Options&, const std::string&, std::string_view)> set;
};

const std::vector<OptionDef>& optionTable() {
  static const std::vector<OptionDef> table = {
      {"--model", "N", "keyboard model 0-4 (2 and 3 have the graphic display); default 0",
       [](Options& o, auto& n, auto v) { o.model = int(whole(n, v, 0, 4)); }},
      {"--noise", "P", "probability 0-1 of 1 to 4 random bytes before a reply",
       [](Options& o, auto& n, auto v) { o.faults.noise = number(n, v, 0, 1); }},
      {"--drop", "P", "probability 0-1 that a reply is lost",
       [](Options& o, auto& n, auto v) { o.faults.drop = number(n, v, 0, 1); }},
      {"--split", "P", "probability 0-1 that a reply comes in 2 to 4 pieces",
       [](Options& o, auto& n, auto v) { o.faults.split = number(n, v, 0, 1); }},
      {"--corrupt", "P", "probability 0-1 that a reply has a wrong checksum",
       [](Options& o, auto& n, auto v) { o.faults.corrupt = number(n, v, 0, 1); }},
      {"--delay", "MS", "milliseconds 0-60000 added to every reply",
       [](Options& o, auto& n, auto v) { o.faults.delayMs = int(whole(n, v, 0, 60000)); }},
      {"--jitter", "MS", "up to this many milliseconds 0-60000 more, at random",
       [](Options& o, auto& n, auto v) { o.faults.jitterMs = int(whole(n, v, 0, 60000)); }},
      {"--disconnect-after", "N", "hang up (close the terminal) after N frames received",
       [](Options& o, auto& n, auto v) {
         o.faults.disconnectAfter = int(whole(n, v, 0, 2147483647));
       }},
      {"--seed", "S", "seed 0-4294967295 of the fault choices; default 1",
       [](Options& o, auto& n, auto v) { o.faults.seed = uint32_t(whole(n, v, 0, 4294967295)); }},
      {"--firmware-out", "FILE", "write each completed firmware image to FILE",
       [](Options& o, auto& n, auto v) {
         if (v.empty()) throw UsageError{n + ": the file name is empty"};
         o.firmwareOut = v;
       }},
      {"--seconds", "S", "stop after S seconds (default: run until interrupted)",
       [](Options& o, auto& n, auto v) { o.seconds = number(n, v, 0, 1e7); }},
      {"--help", nullptr, "show this text and exit",
       [](Options& o, auto&, auto) { o.help = true; }},
  };
  return table;
}

void printHelp() {
  std::printf(
      "usage: q9sim [options]\n"
      "Emulates a control keyboard on a new pseudo-terminal. The first line of output is the\n"
      "terminal's path; open it as the serial port. Runs until SIGINT or SIGTERM\n"
      "(or for --seconds). After --disconnect-after it hangs up and waits for the end.\n\n");
  for (const auto& s : optionTable()) {
    const std::string left = std::string(s.name) + (s.value ? std::string(" ") + s.value : "");
    std::printf("  %-24s %s\n", left.c_str(), s.help);
  }
  std::printf(
      "\nExit status: 0 when done, 1 when no terminal could be opened, 2 for bad options.\n");
}

// Takes both "--opt value" and "--opt=value".
Options parseOptions(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    std::optional<std::string> value;
    if (const auto eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != std::string::npos) {
      value = arg.substr(eq + 1);
      arg.resize(eq);
    }
    const OptionDef* def = nullptr;
    for (const auto& s : optionTable()) {
      if (arg == s.name) def = &s;
    }
    if (!def) {
      throw UsageError{arg.rfind("-", 0) == 0 ? "unknown option '" + arg + "'"
                                              : "unexpected argument '" + arg + "'"};
    }
    if (!def->value && value) throw UsageError{arg + " takes no value"};
    if (def->value && !value) {
      if (i + 1 >= argc) throw UsageError{arg + " needs a value (" + def->value + ")"};
      value = argv[++i];
    }
    def->set(o, arg, value ? std::string_view(*value) : std::string_view());
  }
  return o;
}

struct Terminal {
  int master = -1;
  int slave = -1;  // kept open so the master does not hang up between clients
  std::string path;
  void close() {
    if (master >= 0) ::close(master);
    if (slave >= 0) ::close(slave);
    master = slave = -1;
  }
};

std::optional<Terminal> openTerminal() {
  Terminal t;
  if (openpty(&t.master, &t.slave, nullptr, nullptr, nullptr) != 0) {
    std::fprintf(stderr, "q9sim: openpty: %s\n", std::strerror(errno));
    return std::nullopt;
  }
  termios tio{};
  if (tcgetattr(t.slave, &tio) == 0) {
    cfmakeraw(&tio);
    cfsetispeed(&tio, B38400);
    cfsetospeed(&tio, B38400);
    tcsetattr(t.slave, TCSANOW, &tio);
  }
  fcntl(t.master, F_SETFL, fcntl(t.master, F_GETFL) | O_NONBLOCK);
  const char* name = ttyname(t.slave);
  t.path = name ? name : "";
  return t;
}

void onSignal(int) {
  g_stop = 1;
}

void installSignals() {
  struct sigaction sa {};
  sa.sa_handler = onSignal;
  sigemptyset(&sa.sa_mask);
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGTERM, &sa, nullptr);
  std::signal(SIGPIPE, SIG_IGN);
}

// A temporary beside the target, renamed over it, so a reader never sees half an image.
void saveFirmware(const std::string& path, std::span<const uint8_t> image) {
  const std::string tmp = path + ".tmp";
  {
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(image.data()), std::streamsize(image.size()));
    if (!out.flush()) {
      std::fprintf(stderr, "q9sim: cannot write %s\n", tmp.c_str());
      return;
    }
  }
  std::error_code ec;
  std::filesystem::rename(tmp, path, ec);
  if (ec) std::fprintf(stderr, "q9sim: cannot write %s: %s\n", path.c_str(), ec.message().c_str());
}

// Whatever the client cannot take now is lost, as on a real line.
void writeRead(int fd, const std::vector<uint8_t>& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += size_t(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else {
      return;
    }
  }
}

// EIO means no client has the terminal open right now; wait rather than spin.
void readMaster(int fd, q9emu& emu, uint64_t nowMs) {
  uint8_t buf[512];
  const ssize_t n = ::read(fd, buf, sizeof buf);
  if (n > 0) {
    emu.receive(std::span<const uint8_t>(buf, size_t(n)), nowMs);
  } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
  }
}

// Bytes written to the client that it has not read yet: a hang-up would
// throw them away.
int unread(int slave) {
  int n = 0;
  return ioctl(slave, TIOCINQ, &n) == 0 ? n : 0;
}

int serve(Terminal& term, const Options& opts) {
  q9emu emu(opts.model, opts.faults);
  const auto start = std::chrono::steady_clock::now();
  const auto nowMs = [&] {
    return uint64_t(std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - start)
                        .count());
  };
  const auto endMs =
      opts.seconds ? std::optional<uint64_t>(uint64_t(*opts.seconds * 1000)) : std::nullopt;
  int saved = 0;
  std::optional<uint64_t> hangupAt;
  while (!g_stop && !(endMs && nowMs() >= *endMs)) {
    if (term.master < 0) {  // hung up on purpose: just wait for the end
      std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
      continue;
    }
    pollfd p{term.master, POLLIN, 0};
    const int r = ::poll(&p, 1, kPollMs);
    if (r > 0 && (p.revents & (POLLIN | POLLHUP | POLLERR))) readMaster(term.master, emu, nowMs());
    for (const auto& read : emu.output(nowMs())) writeRead(term.master, read);
    if (!opts.firmwareOut.empty() && emu.firmwareDownloads() > saved) {
      saved = emu.firmwareDownloads();
      saveFirmware(opts.firmwareOut, emu.firmware());
    }
    if (emu.disconnected() && !emu.pending()) {
      if (!hangupAt) hangupAt = nowMs();
      const uint64_t waited = nowMs() - *hangupAt;
      if ((waited >= kSettleMs && unread(term.slave) == 0) || waited >= kLingerMs) term.close();
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options opts;
  try {
    opts = parseOptions(argc, argv);
  } catch (const UsageError& e) {
    std::fprintf(stderr, "q9sim: %s (see --help)\n", e.message.c_str());
    return kExitUsage;
  }
  if (opts.help) {
    printHelp();
    return 0;
  }
  auto term = openTerminal();
  if (!term) return 1;
  installSignals();
  std::printf("%s\n", term->path.c_str());
  std::fflush(stdout);
  const int status = serve(*term, opts);
  term->close();
  return status;
}
