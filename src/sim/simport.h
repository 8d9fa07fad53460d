// The simulated keyboard as a port: an in-process emulator whose replies
// reach the link through the event loop, as a real port's bytes do.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "sim/q9emu.h"

namespace kx90::sim {

class simport : public QObject {
 public:
  static constexpr int kModels = 5;
  static constexpr int kPollMs = 5;

  explicit simport(QObject* parent = nullptr);
  ~simport() override;

  // Each model's keyboard keeps its state for the run of the program.
  void open(int model);
  void close();
  bool isopen() const { return current_ != nullptr; }

  void write(std::span<const uint8_t> bytes);
  std::vector<uint8_t> readall();

  q9emu* keyboard() const { return current_; }
  std::function<void()> dataavailable;

 private:
  void deliver();
  uint64_t now() const { return static_cast<uint64_t>(clock_.elapsed()); }

  std::array<std::unique_ptr<q9emu>, kModels> keyboards_;
  q9emu* current_ = nullptr;
  std::vector<uint8_t> received_;
  QElapsedTimer clock_;
  QTimer timer_;
};

}  // namespace kx90::sim
