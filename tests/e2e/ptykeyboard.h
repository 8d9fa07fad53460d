// The keyboard emulator served on the master side of a real pseudo-terminal,
// pumped by the test's own event loop; the program opens the slave path.
#pragma once

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QSocketNotifier>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "link/frame.h"
#include "sim/q9emu.h"
#include "support/hex.h"

namespace kx90::testing {

// Cuts a clean stream of frames (no noise) into frames, as hex text.
inline std::vector<std::string> framesof(const std::vector<uint8_t>& bytes) {
  std::vector<std::string> frames;
  for (size_t i = 0; i < bytes.size();) {
    const size_t len = framedatalength(bytes[i]) + 3;
    if (i + len > bytes.size()) break;
    frames.push_back(tohex(std::span(bytes).subspan(i, len)));
    i += len;
  }
  return frames;
}

class ptykeyboard {
 public:
  explicit ptykeyboard(int model = 0, sim::Faults faults = {}) : keyboard(model, faults) {
    char name[256] = {};
    if (openpty(&master_, &slave_, name, nullptr, nullptr) != 0) return;
    path = name;
    termios t{};
    tcgetattr(slave_, &t);
    cfmakeraw(&t);
    tcsetattr(slave_, TCSANOW, &t);
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    clock_.start();
    reader_ = std::make_unique<QSocketNotifier>(master_, QSocketNotifier::Read);
    QObject::connect(reader_.get(), &QSocketNotifier::activated, [this] { take(); });
    QObject::connect(&pump_, &QTimer::timeout, [this] { give(); });
    pump_.start(1);
  }
  ~ptykeyboard() { hangup(); }

  // The keyboard's side of the line goes away.
  void hangup() {
    pump_.stop();
    reader_.reset();
    if (master_ >= 0) ::close(master_);
    master_ = -1;
    if (slave_ >= 0) ::close(slave_);
    slave_ = -1;
  }

  sim::q9emu keyboard;
  std::string path;
  std::vector<uint8_t> sent;   // every byte put on the line, in order
  std::vector<uint8_t> heard;  // every byte the program wrote

 private:
  uint64_t now() const { return static_cast<uint64_t>(clock_.elapsed()); }

  void take() {
    uint8_t buf[512];
    ssize_t n;
    while ((n = ::read(master_, buf, sizeof buf)) > 0) {
      keyboard.receive(std::span(buf, static_cast<size_t>(n)), now());
      heard.insert(heard.end(), buf, buf + n);
    }
    give();
  }

  void give() {
    for (const auto& read : keyboard.output(now())) {
      if (::write(master_, read.data(), read.size()) == static_cast<ssize_t>(read.size()))
        sent.insert(sent.end(), read.begin(), read.end());
    }
  }

  int master_ = -1;
  int slave_ = -1;
  QElapsedTimer clock_;
  std::unique_ptr<QSocketNotifier> reader_;
  QTimer pump_;
};

}  // namespace kx90::testing
