// The dispatcher of received frames: classifies each good frame by class and
// command, hands its payload to the part of the program that owns it, and
// decides whether the traffic view lists it.
#pragma once

#include <cstdint>
#include <string>

#include "link/frame.h"
#include "link/q9sr.h"

namespace kx90 {

// Those who receive what the keyboard reports.
class q9consumer {
 public:
  virtual ~q9consumer() = default;
  virtual void UpdLED() = 0;
  virtual void lcddata(int line, const std::string& text) = 0;
  // Macro keys on the panel; settag is called only for 0 <= idx < count.
  virtual int macrokeycount() const = 0;
  virtual void settag(int idx, int32_t code) = 0;
  virtual void pcbrev(const std::string& text) = 0;
  virtual void corerev(const std::string& text) = 0;
  virtual void mainrev(const std::string& text) = 0;
  virtual void rxdatarq() = 0;
};

// Throws std::out_of_range for a block slice that runs past a configuration
// block; the values before it stay stored and the frame is not listed.
void parseq9(q9sr& sr, q9consumer& consumer, const framebuffer& f);

}  // namespace kx90
