// The protocol module: builds every request frame with its checksum, sends it
// now or through the one-frame deferred slot, and holds the state that the
// dispatcher, the panel, the setup window and the firmware download share.
#pragma once

#include <array>
#include <cstdint>
#include <istream>
#include <memory>

#include "link/frame.h"

namespace kx90 {

class q9sr {
 public:
  static constexpr int kBlockSize = 65;
  using configblock = std::array<uint8_t, kBlockSize>;

  explicit q9sr(linkwriter& link) : link_(link) {}

  // The traffic view, once it exists; null means there is none.
  void attachview(trafficlog* view) { view_ = view; }
  trafficlog* visibleview() const { return view_ && view_->isvisible() ? view_ : nullptr; }

  static void appendsum(frame& f);

  void q9write(const frame& f);

  // Requests sent at once. Arguments wider than a byte lose their upper bits.
  void rqconfig(int block, int offset);
  void rdeeprom(int block, int offset);
  void Wrteeprom(int bank, int address, int value);
  void wrteemu(int bank, int address, int value);
  void rqversion();
  void q9restart();
  void q9reset();

  // Requests left in the deferred slot for the next idle tick.
  void q9initdown();
  void q9kdown(int key);
  void q9kup(int key);

  // One idle tick: the deferred frame if any, else a poll unless suppressed.
  void buildrq(bool suppresspoll);

  // Module state shared for the whole run.
  frame q9next;
  int32_t rqcount = 0;
  bool showcyclic = false;
  std::array<uint8_t, 4> leddata{};
  configblock uconfig{};
  configblock aconfig{};
  configblock bconfig{};
  configblock usbconfig{};
  bool goodconfig = false;
  std::unique_ptr<std::istream> stream;

 private:
  void sendnow(frame f);
  void defer(frame f);

  linkwriter& link_;
  trafficlog* view_ = nullptr;
};

}  // namespace kx90
