// The keyboard emulator: frame cutting, request handling, display contents
// and the line faults.
#include "sim/q9emu.h"

#include <algorithm>
#include <numeric>

namespace kx90::sim {
namespace {

constexpr uint8_t kReplyClass = 1;
constexpr uint8_t kCyclicClass = 0;
constexpr uint64_t kSplitGapMs = 2;  // so that the pieces of a split reply reach a reader apart

constexpr uint8_t kPoll = 0xB9;
constexpr uint8_t kKey = 0xB8;
constexpr uint8_t kRead = 0xB2;
constexpr uint8_t kWrite = 0xB1;
constexpr uint8_t kConfigWrite = 0xBC;
constexpr uint8_t kRevision = 0xB3;
constexpr uint8_t kFirmware = 0xB0;
constexpr uint8_t kCyclic = 0x11;
constexpr uint8_t kLedReport = 0x0A;

constexpr uint8_t kEnterDownload = 0x00;
constexpr uint8_t kChunk = 0x01;  // also the end frame, when no bytes follow
constexpr uint8_t kRestart = 0x04;
constexpr uint8_t kReset = 0x05;

constexpr std::array<uint8_t, 10> kRevisions = {0x01, 0x02, 0x01, 0x00, 0x03,
                                                0x07, 0x02, 0x01, 0x00, 0x09};

uint8_t sum(std::span<const uint8_t> bytes) {
  return static_cast<uint8_t>(std::accumulate(bytes.begin(), bytes.end(), 0u));
}

const char* title(int model) {
  static constexpr const char* kTitles[] = {"KX-90usb", "MQ-90usb", "KX-VS", "HBW-VS", "MQ-ZN"};
  return kTitles[model];
}

// The cells are narrow: a text that does not fit takes its short form.
std::string fit(std::string text, const std::string& shortText) {
  if (text.size() > q9emu::kMaxText) text = shortText.substr(0, q9emu::kMaxText);
  return text;
}

std::string two(uint64_t v) {
  return {static_cast<char>('0' + v / 10), static_cast<char>('0' + v % 10)};
}

std::string timecodeAt(uint64_t ms) {
  const uint64_t s = ms / 1000;
  return two(s / 3600 % 24) + two(s / 60 % 60) + two(s % 60) + two(ms / 40 % 25);
}

std::array<uint32_t, 256> crcTable() {
  std::array<uint32_t, 256> t{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t c = i;
    for (int b = 0; b < 8; ++b) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    t[i] = c;
  }
  return t;
}

double unit(double p) {
  return std::clamp(p, 0.0, 1.0);
}

}  // namespace

q9emu::q9emu(int model, Faults faults)
    : model_(model >= 0 && model <= 4 ? model : 0), faults_(faults), rng_(faults.seed) {
  faults_.noise = unit(faults_.noise);
  faults_.drop = unit(faults_.drop);
  faults_.split = unit(faults_.split);
  faults_.corrupt = unit(faults_.corrupt);
  faults_.delayMs = std::max(faults_.delayMs, 0);
  faults_.jitterMs = std::max(faults_.jitterMs, 0);

  // Factory contents: every key runs the macro of its own number, macros are
  // unlocked, and the settings hold small menu choices as a used unit would.
  for (int k = 0; k < kKeys; ++k) keys_[k] = static_cast<uint8_t>(k);
  for (int i = 0; i < kBlockSize; ++i) {
    blocks_[0][i] = static_cast<uint8_t>(i % 4);
    blocks_[1][i] = static_cast<uint8_t>((i * 3 + 1) % 5);
    blocks_[2][i] = static_cast<uint8_t>((i * 5 + 2) % 7);
    blocks_[3][i] = static_cast<uint8_t>(i % 2);
  }
  blocks_[0][16] = 1;
  revisions_ = kRevisions;
  timecode_ = timecodeAt(0);
}

bool q9emu::disconnected() const {
  return faults_.disconnectAfter >= 0 && framesReceived_ >= faults_.disconnectAfter;
}

void q9emu::receive(std::span<const uint8_t> bytes, uint64_t nowMs) {
  if (disconnected()) return;
  inbuf_.insert(inbuf_.end(), bytes.begin(), bytes.end());
  Frame f;
  while (!disconnected() && nextFrame(f)) handle(f, nowMs);
  if (disconnected()) {
    inbuf_.clear();
    inpos_ = 0;
    return;
  }
  inbuf_.erase(inbuf_.begin(), inbuf_.begin() + static_cast<std::ptrdiff_t>(inpos_));
  inpos_ = 0;
}

// The header alone gives a frame's length, so a stray byte is only found out
// by a wrong checksum; then the search moves on by one byte.
bool q9emu::nextFrame(Frame& f) {
  while (inbuf_.size() - inpos_ >= 3) {
    const auto rest = std::span<const uint8_t>(inbuf_).subspan(inpos_);
    const size_t n = rest[0] & 0x0F;
    if (rest.size() < n + 3) return false;
    if (sum(rest.first(n + 2)) != rest[n + 2]) {
      ++inpos_;
      continue;
    }
    f.header = rest[0];
    f.command = rest[1];
    f.n = n;
    std::copy_n(rest.begin() + 2, n, f.data.begin());
    inpos_ += n + 3;
    return true;
  }
  return false;
}

std::vector<std::vector<uint8_t>> q9emu::output(uint64_t nowMs) {
  std::vector<std::vector<uint8_t>> reads;
  while (!queue_.empty() && queue_.front().due <= nowMs) {
    reads.push_back(std::move(queue_.front().bytes));
    queue_.pop_front();
  }
  return reads;
}

// Requests come as class 0 with a fixed number of data bytes; anything else
// is not meant for the keyboard and is passed over.
void q9emu::handle(const Frame& f, uint64_t nowMs) {
  ++framesReceived_;
  if ((f.header >> 4) != 0) return;
  const auto& d = f.data;
  switch (f.command) {
    case kPoll:
      if (f.n == 1) poll(nowMs);
      break;
    case kKey:
      if (f.n == 2) key(d[0], d[1]);
      break;
    case kRead:
      if (f.n == 2) readMemory(d[0], d[1], nowMs);
      break;
    case kWrite:
      if (f.n == 3 && (d[0] == 1 || d[0] == 2)) writeMemory(area(d[0] == 1 ? 1 : 0), d[1], d[2]);
      break;
    case kConfigWrite:
      if (f.n == 3 && d[0] >= 1 && d[0] <= 3) writeMemory(area(d[0] + 1), d[1], d[2]);
      break;
    case kRevision:
      if (f.n == 0) reply(kReplyClass, kRevision, revisions_, nowMs);
      break;
    case kFirmware:
      firmwareFrame(f, nowMs);
      break;
    default:
      break;
  }
}

void q9emu::poll(uint64_t nowMs) {
  refreshTimecode(nowMs);
  if (ledsReported_ != leds_) {
    ledsReported_ = leds_;
    const std::array<uint8_t, 4> data = {kLedReport, leds_[0], leds_[1], leds_[2]};
    reply(kReplyClass, kPoll, data, nowMs);
    return;
  }
  // Round-robin, so that a line that keeps changing cannot starve the others.
  for (int i = 0; i < lineCount(); ++i) {
    const int n = (nextLine_ + i) % lineCount();
    std::string text = line(n).substr(0, kMaxText);  // N must stay below 16
    if (lineReported_[n] == text) continue;
    std::vector<uint8_t> data = {static_cast<uint8_t>(n)};
    data.insert(data.end(), text.begin(), text.end());
    lineReported_[n] = std::move(text);
    nextLine_ = (n + 1) % lineCount();
    reply(kReplyClass, kPoll, data, nowMs);
    return;
  }
  if (++quietPolls_ < 10) return;
  quietPolls_ = 0;
  const std::array<uint8_t, 1> data = {0x00};
  reply(kCyclicClass, kCyclic, data, nowMs);
}

void q9emu::refreshTimecode(uint64_t nowMs) {
  if (timecodeAt_ && nowMs >= *timecodeAt_ && nowMs - *timecodeAt_ < kTimecodeMs) return;
  timecodeAt_ = nowMs;
  timecode_ = timecodeAt(nowMs);
}

void q9emu::key(uint8_t k, uint8_t state) {
  if (state != 0) return;  // a release shows nothing
  if (k < kLedKeys) leds_[k / 8] ^= static_cast<uint8_t>(1u << (k % 8));
  lastKey_ = k;
}

bool q9emu::ledLit(int key) const {
  return key >= 0 && key < kLedKeys && (leds_[key / 8] >> (key % 8) & 1) != 0;
}

template <class Self>
auto q9emu::areaOf(Self& self, int n)
    -> std::span<std::conditional_t<std::is_const_v<Self>, const uint8_t, uint8_t>> {
  if (n == 1) return self.keys_;
  if (n == 0) return self.blocks_[0];
  if (n >= 2 && n <= 4) return self.blocks_[n - 1];
  return {};
}

std::span<uint8_t> q9emu::area(int n) {
  return areaOf(*this, n);
}

std::span<const uint8_t> q9emu::block(int n) const {
  return areaOf(*this, n);
}

void q9emu::readMemory(uint8_t blk, uint8_t offset, uint64_t nowMs) {
  const auto src = area(blk);
  std::array<uint8_t, 10> data{blk, offset};
  for (size_t i = 0; i < 8; ++i) {
    if (offset + i < src.size()) data[2 + i] = src[offset + i];
  }
  reply(kReplyClass, kRead, data, nowMs);
}

void q9emu::writeMemory(std::span<uint8_t> dest, uint8_t address, uint8_t value) {
  if (address < dest.size()) dest[address] = value;
}

void q9emu::firmwareFrame(const Frame& f, uint64_t nowMs) {
  if (f.n == 0) return;
  static constexpr std::array<uint8_t, 1> kChunkRequest = {kChunk};
  const uint8_t sub = f.data[0];
  if (f.n == 1) {
    if (sub == kEnterDownload) {
      image_.clear();
      complete_ = false;
      downloading_ = true;
      reply(kReplyClass, kFirmware, kChunkRequest, nowMs);
    } else if (sub == kChunk && downloading_) {
      downloading_ = false;
      complete_ = true;
      ++downloads_;
    } else if (sub == kRestart || sub == kReset) {
      powerUp(sub == kReset);
    }
    return;
  }
  if (sub != kChunk || !downloading_ || f.n > 9) return;  // a chunk carries 1 to 8 bytes
  const size_t room = kMaxImage - image_.size();
  const size_t take = std::min(f.n - 1, room);
  image_.insert(image_.end(), f.data.begin() + 1, f.data.begin() + 1 + take);
  reply(kReplyClass, kFirmware, kChunkRequest, nowMs);
}

void q9emu::powerUp(bool discardPartial) {
  downloading_ = false;
  if (discardPartial && !complete_) image_.clear();
  leds_ = {};
  ledsReported_.reset();
  lastKey_.reset();
  for (auto& r : lineReported_) r.reset();
  nextLine_ = 0;
  quietPolls_ = 0;
}

std::string q9emu::line(int n) const {
  const std::string keyText = lastKey_ ? "Key " + std::to_string(*lastKey_) : "No key";
  const std::string count = std::to_string(image_.size());
  std::string fw;
  if (downloading_) {
    fw = fit("Loading " + count, "Load " + count);
  } else if (complete_) {
    fw = fit("FW " + count + " bytes", "FW " + count + " B");
  } else if (!image_.empty()) {
    fw = fit("FW " + count + " partial", "Part " + count);
  }
  const std::string& tc = timecode_;
  if (graphic()) {
    switch (n) {
      case 0:
        return keyText + " ";
      case 1:
        return fw.empty() ? title(model_) : fw;
      case 2:
        return tc;
      default:
        return {};
    }
  }
  switch (n) {
    case 0:
      return title(model_);
    case 1:
      return "Simulated";
    case 2:
      return keyText;
    case 3:
      return tc.substr(0, 2) + ":" + tc.substr(2, 2) + ":" + tc.substr(4, 2) + ":" +
             tc.substr(6, 2);
    case 4:
      return fw;
    default:
      return {};
  }
}

uint32_t q9emu::firmwareCrc32() const {
  static const auto table = crcTable();
  uint32_t c = 0xFFFFFFFFu;
  for (uint8_t b : image_) c = table[(c ^ b) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

void q9emu::reply(uint8_t cls, uint8_t command, std::span<const uint8_t> data, uint64_t nowMs) {
  std::vector<uint8_t> bytes = {static_cast<uint8_t>(cls << 4 | data.size()), command};
  bytes.insert(bytes.end(), data.begin(), data.end());
  bytes.push_back(sum(bytes));
  ++framesAnswered_;
  send(std::move(bytes), nowMs);
}

// The faults are drawn in a fixed order per reply, so that one seed always
// gives the same line.
void q9emu::send(std::vector<uint8_t> bytes, uint64_t nowMs) {
  if (chance(faults_.drop)) {
    ++repliesDropped_;
    return;
  }
  if (chance(faults_.corrupt)) bytes.back() = static_cast<uint8_t>(bytes.back() + 1 + below(255));
  if (chance(faults_.noise)) {
    std::vector<uint8_t> noise(1 + below(4));
    for (auto& b : noise) b = static_cast<uint8_t>(below(256));
    bytes.insert(bytes.begin(), noise.begin(), noise.end());
  }
  uint64_t due = nowMs + static_cast<uint64_t>(faults_.delayMs);
  if (faults_.jitterMs > 0) due += below(static_cast<uint32_t>(faults_.jitterMs) + 1);
  due = std::max(due, lastDue_);  // a later reply never overtakes an earlier one

  std::vector<size_t> cuts;
  if (bytes.size() > 1 && chance(faults_.split)) {
    // Distinct cut points taken from 1..size-1 by a partial shuffle.
    std::vector<size_t> points(bytes.size() - 1);
    std::iota(points.begin(), points.end(), 1);
    const size_t want = std::min<size_t>(1 + below(3), points.size());
    for (size_t i = 0; i < want; ++i) {
      std::swap(points[i], points[i + below(static_cast<uint32_t>(points.size() - i))]);
    }
    cuts.assign(points.begin(), points.begin() + static_cast<std::ptrdiff_t>(want));
    std::sort(cuts.begin(), cuts.end());
  }
  cuts.push_back(bytes.size());
  size_t from = 0;
  for (size_t to : cuts) {
    queue_.push_back({due, std::vector<uint8_t>(bytes.begin() + static_cast<std::ptrdiff_t>(from),
                                                bytes.begin() + static_cast<std::ptrdiff_t>(to))});
    from = to;
    lastDue_ = due;
    due += kSplitGapMs;
  }
}

bool q9emu::chance(double p) {
  return p > 0 && rng_() < p * 4294967296.0;
}

uint32_t q9emu::below(uint32_t n) {
  return static_cast<uint32_t>(rng_() % n);
}

}  // namespace kx90::sim
