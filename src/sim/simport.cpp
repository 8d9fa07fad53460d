// In-process simulated keyboard port.
#include "sim/simport.h"

namespace kx90::sim {

simport::simport(QObject* parent) : QObject(parent) {
  clock_.start();
  timer_.setInterval(kPollMs);
  connect(&timer_, &QTimer::timeout, this, &simport::deliver);
}

simport::~simport() = default;

void simport::open(int model) {
  if (model < 0 || model >= kModels) model = 0;
  auto& keyboard = keyboards_[model];
  if (!keyboard) keyboard = std::make_unique<q9emu>(model);
  current_ = keyboard.get();
  received_.clear();
}

void simport::close() {
  current_ = nullptr;
  received_.clear();
  timer_.stop();
}

// Replies are never handed over inside the write: they are collected on a
// timer tick, so the link sees them arrive later, as from a cable.
void simport::write(std::span<const uint8_t> bytes) {
  if (!current_) return;
  current_->receive(bytes, now());
  if (current_->pending() && !timer_.isActive()) timer_.start();
}

void simport::deliver() {
  if (!current_) return;
  bool any = false;
  for (auto& read : current_->output(now())) {
    received_.insert(received_.end(), read.begin(), read.end());
    any = true;
  }
  if (!current_->pending()) timer_.stop();
  if (any && dataavailable) dataavailable();
}

std::vector<uint8_t> simport::readall() {
  std::vector<uint8_t> bytes;
  bytes.swap(received_);
  return bytes;
}

}  // namespace kx90::sim
