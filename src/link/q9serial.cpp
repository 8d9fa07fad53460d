// Serial link: port opening, the receive ring and frame cutting.
#include "link/q9serial.h"

#include <utility>

#include "keys/cbsr.h"

namespace kx90 {

q9serial::q9serial(serialservice& port, config& settings, messageboxes& boxes)
    : port_(port), settings_(settings), boxes_(boxes) {
  port_.ondataavailable([this] { dataavailable(); });
  port_.onlost([this] { portlost(); });
}

q9serial::~q9serial() {
  port_.ondataavailable(nullptr);
  port_.onlost(nullptr);
}

void q9serial::init() {
  port_.setlinesettings(linesettings{});
}

void q9serial::portopen(int index) {
  port_.close();
  init();
  serialopen = false;
  portname = "None";
  if (index >= 0) {
    serialopen = port_.open(index);
    if (serialopen) {
      portname = port_.portname(index);
      settings_.putconfig("controlport", portname);
    } else {
      boxes_.alert("Error opening Controller serial port");
    }
  }
  if (newname) newname(portname);
}

// The panel writes a poll on every idle tick whether or not a port is open,
// so writing to a closed link must cost nothing.
void q9serial::write(std::span<const uint8_t> bytes) {
  if (serialopen) port_.write(bytes);
}

// A port that failed while open has been closed by the service; the chooser
// keeps its selection, and picking the port again reopens it.
void q9serial::portlost() {
  serialopen = false;
  portname = "None";
}

void q9serial::dataavailable() {
  // A frame handler that shows a modal box lets the event loop run; a nested
  // notification leaves its bytes with the port and we fetch them below.
  if (guard_) {
    missed_ = true;
    return;
  }
  skipped_.clear();
  failure_ = nullptr;
  receiveguarded();
  if (!skipped_.empty() && debugerror) debugerror("EParse " + skipped_);
  if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
}

void q9serial::receiveguarded() {
  struct clearonexit {
    bool& flag;
    ~clearonexit() { flag = false; }
  };
  guard_ = true;
  clearonexit clear{guard_};
  do {
    missed_ = false;
    receive();
  } while (missed_);
}

void q9serial::receive() {
  for (uint8_t b : port_.readall()) append(b);
  cutframes();
}

// The ring never overflows: when it is full, frames are cut out of it first.
// With 255 unread bytes the cutter always consumes all but the start of one
// incomplete frame, so no received byte is ever dropped.
void q9serial::append(uint8_t b) {
  if (unread() == kMaxUnread) cutframes();
  rxbuff[inp] = b;
  ++inp;
}

void q9serial::cutframes() {
  while (inp != outp && cutone()) {
  }
}

// Tries the frame that would start at outp. Returns false when it is still
// incomplete; otherwise consumes it, or its first byte when the checksum is
// wrong, and returns true.
bool q9serial::cutone() {
  const int n = framedatalength(rxbuff[outp]);
  if (unread() < n + 3) return false;
  uint8_t sum = 0;
  for (int i = 0; i <= n + 1; ++i) {
    const uint8_t b = rxbuff[static_cast<uint8_t>(outp + i)];
    incmd[i] = b;
    sum = static_cast<uint8_t>(sum + b);
  }
  if (sum != rxbuff[static_cast<uint8_t>(outp + n + 2)]) {
    skipped_ += cbsr::byte2hex(rxbuff[outp]) + " ";
    ++outp;
    return true;
  }
  incmd[n + 2] = sum;
  // The handler runs before outp moves past the frame, as callers expect;
  // if it fails, we still move past it and report the first failure once
  // the rest of the ring has been handled.
  try {
    if (parseinput) parseinput(incmd);
  } catch (...) {
    if (!failure_) failure_ = std::current_exception();
  }
  outp = static_cast<uint8_t>(outp + n + 3);
  return true;
}

}  // namespace kx90
