// How frames are held in memory: a byte string while one is built, and the
// link's fixed frame buffer for the last frame received.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kx90 {

using frame = std::vector<uint8_t>;

// Header, command, up to 15 data bytes and the checksum fit in 18 bytes; the
// buffer is a little larger and keeps stale bytes of earlier frames beyond
// the current one.
using framebuffer = std::array<uint8_t, 21>;

inline int framedatalength(uint8_t header) {
  return header & 0x0F;
}
inline int frameclass(uint8_t header) {
  return header >> 4;
}

// Where sent frames go: the serial link.
class linkwriter {
 public:
  virtual ~linkwriter() = default;
  virtual void write(std::span<const uint8_t> bytes) = 0;
};

// The traffic view as the protocol code sees it; rows are offered only while
// it is visible.
class trafficlog {
 public:
  virtual ~trafficlog() = default;
  virtual bool isvisible() const = 0;
  virtual void Disp_string(const frame& f) = 0;
  virtual void Disp_array(const framebuffer& buffer, const std::string& prefix) = 0;
};

}  // namespace kx90
