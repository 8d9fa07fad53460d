// Request frames, the checksum, the deferred slot and the poll sequence.
#include "link/q9sr.h"

namespace kx90 {

namespace {

uint8_t low8(int v) {
  return static_cast<uint8_t>(v & 0xFF);
}

constexpr uint8_t kDownload = 0xB0;
constexpr uint8_t kWriteMemory = 0xB1;
constexpr uint8_t kReadMemory = 0xB2;
constexpr uint8_t kRevisions = 0xB3;
constexpr uint8_t kKey = 0xB8;
constexpr uint8_t kPoll = 0xB9;
constexpr uint8_t kWriteConfig = 0xBC;

// Every frame the program sends is of class 0, so its header is its length.
frame build(uint8_t command, std::initializer_list<uint8_t> data) {
  frame f;
  f.reserve(data.size() + 3);
  f.push_back(static_cast<uint8_t>(data.size()));
  f.push_back(command);
  f.insert(f.end(), data);
  q9sr::appendsum(f);
  return f;
}

}  // namespace

void q9sr::appendsum(frame& f) {
  uint8_t sum = 0;
  for (uint8_t b : f) sum = static_cast<uint8_t>(sum + b);
  f.push_back(sum);
}

void q9sr::q9write(const frame& f) {
  link_.write(f);
  if (auto* view = visibleview()) view->Disp_string(f);
}

void q9sr::sendnow(frame f) {
  q9write(f);
}
void q9sr::defer(frame f) {
  q9next = std::move(f);
}

void q9sr::rqconfig(int block, int offset) {
  sendnow(build(kReadMemory, {low8(block), low8(offset)}));
}

void q9sr::rdeeprom(int block, int offset) {
  rqconfig(block, offset);
}

void q9sr::Wrteeprom(int bank, int address, int value) {
  sendnow(build(kWriteMemory, {low8(bank), low8(address), low8(value)}));
}

void q9sr::wrteemu(int bank, int address, int value) {
  sendnow(build(kWriteConfig, {low8(bank), low8(address), low8(value)}));
}

void q9sr::rqversion() {
  sendnow(build(kRevisions, {}));
}
void q9sr::q9restart() {
  sendnow(build(kDownload, {0x04}));
}
void q9sr::q9reset() {
  sendnow(build(kDownload, {0x05}));
}

void q9sr::q9initdown() {
  defer(build(kDownload, {0x00}));
}
void q9sr::q9kdown(int key) {
  defer(build(kKey, {low8(key), 0x00}));
}
void q9sr::q9kup(int key) {
  defer(build(kKey, {low8(key), 0x01}));
}

void q9sr::buildrq(bool suppresspoll) {
  if (!q9next.empty()) {
    frame pending;
    pending.swap(q9next);
    q9write(pending);
    return;
  }
  if (suppresspoll) return;
  if (++rqcount >= 11) rqcount = 0;
  const frame poll = build(kPoll, {low8(rqcount)});
  // Polls are the bulk of the traffic; the view lists them only on request.
  if (showcyclic) {
    q9write(poll);
  } else {
    link_.write(poll);
  }
}

}  // namespace kx90
