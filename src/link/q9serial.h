// The serial link: opens the keyboard's port with the fixed line settings,
// collects received bytes in a 256-byte ring and cuts checked frames out of
// it, reporting bytes that start no valid frame.
#pragma once

#include <array>
#include <cstdint>
#include <exception>
#include <functional>
#include <string>

#include "link/frame.h"
#include "platform/messageboxes.h"
#include "platform/serialservice.h"
#include "settings/config.h"

namespace kx90 {

class q9serial : public linkwriter {
 public:
  static constexpr int kRingSize = 256;
  static constexpr int kMaxUnread = kRingSize - 1;
  static constexpr int kLongestFrame = 18;

  q9serial(serialservice& port, config& settings, messageboxes& boxes);
  ~q9serial() override;
  q9serial(const q9serial&) = delete;
  q9serial& operator=(const q9serial&) = delete;

  void init();
  void portopen(int index);
  void write(std::span<const uint8_t> bytes) override;

  // The data-available handler.
  void dataavailable();

  int unread() const { return static_cast<uint8_t>(inp - outp); }

  // Notifications; each is raised only when set.
  std::function<void(framebuffer&)> parseinput;
  std::function<void(const std::string&)> newname;
  std::function<void(const std::string&)> debugerror;

  framebuffer incmd{};
  uint8_t inp = 0;
  uint8_t outp = 0;
  std::array<uint8_t, 257> rxbuff{};
  bool serialopen = false;
  std::string portname = "None";

 private:
  void receiveguarded();
  void receive();
  void append(uint8_t b);
  void cutframes();
  bool cutone();
  void portlost();

  serialservice& port_;
  config& settings_;
  messageboxes& boxes_;
  bool guard_ = false;
  bool missed_ = false;
  std::string skipped_;
  std::exception_ptr failure_;
};

}  // namespace kx90
