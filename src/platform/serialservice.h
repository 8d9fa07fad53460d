// The seam to the machine's serial ports: list them, open one with fixed
// line settings, move bytes, and learn when data arrives or the port dies.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace kx90 {

enum class parity { none, even, odd };

struct linesettings {
  int baud = 38400;
  int databits = 8;
  kx90::parity parity = parity::odd;
  int stopbits = 2;
  bool xonxoff = false;
  bool rtscts = false;
  bool dtrdsr = false;
  bool operator==(const linesettings&) const = default;
};

class serialservice {
 public:
  virtual ~serialservice() = default;

  // Enumerates the ports now; later index-based calls refer to this list.
  virtual std::vector<std::string> portnames() = 0;
  // Name of entry index of the last enumeration, "" when there is none.
  virtual std::string portname(int index) const = 0;

  virtual void setlinesettings(const linesettings& settings) = 0;
  virtual bool open(int index) = 0;
  virtual void close() = 0;
  virtual bool isopen() const = 0;

  virtual void write(std::span<const uint8_t> bytes) = 0;
  // Everything that has arrived and not been read yet; possibly nothing.
  virtual std::vector<uint8_t> readall() = 0;

  // Called on the event thread when bytes are waiting to be read.
  virtual void ondataavailable(std::function<void()> handler) = 0;
  // Called when an open port failed and was closed by the service.
  virtual void onlost(std::function<void()> handler) = 0;
};

}  // namespace kx90
