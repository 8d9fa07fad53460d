// The keyboard emulator: a model of a control keyboard as seen from the other
// end of the serial line, answering the program's Q9 requests byte for byte,
// with optional line faults so the link can be exercised without hardware.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <random>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

namespace kx90::sim {

// Misbehaviour of the line and of the keyboard. All random choices come from
// one generator seeded with `seed`, so a given seed and call sequence always
// produce the same bytes. Probabilities are per reply and clamped to 0..1.
struct Faults {
  double noise = 0;    // 1 to 4 random bytes are put on the line before the reply
  double drop = 0;     // the reply never leaves the keyboard
  double split = 0;    // the reply (with its noise) arrives in 2 to 4 reads
  double corrupt = 0;  // the reply's checksum byte is wrong
  int delayMs = 0;     // added to every reply's due time
  int jitterMs = 0;    // plus a random 0..jitterMs; replies still keep their order
  // After this many well-formed frames the keyboard hears nothing more and
  // says nothing new; -1 never. Replies already on the way are still delivered.
  int disconnectAfter = -1;
  uint32_t seed = 1;
};

// One emulated keyboard. Time is whatever millisecond count the caller
// passes in; nothing here reads a clock, sleeps or starts a thread.
//
// What the keyboard does with each request (every other frame is ignored,
// as is a request with the wrong number of data bytes or a class other than 0):
//   01 B9 seq       poll: at most one report: the LED state if it differs from
//                   the last one reported (always on the first poll), else the
//                   next display line whose text differs from what was last
//                   reported for it (taken round-robin), else on every tenth
//                   quiet poll the cyclic message 01 11 00 12; otherwise nothing.
//   02 B8 k s       s = 00 press: key k below 22 toggles its LED; any key is
//                   named on the display. s = 01 release: nothing visible.
//   02 B2 blk off   reply 1A B2 blk off v0..v7; bytes past a block's end and
//                   blocks that do not exist read as 00.
//   03 B1 bank a v  bank 1: key table, bank 2: block 0.
//   03 BC bank a v  bank 1: block 2, bank 2: block 3, bank 3: block 4 (the USB
//                   settings, which the program stores but never reads back).
//                   Other banks and addresses past the end change nothing.
//   00 B3           reply 1A B3 and the ten revision bytes.
//   01 B0 00        enter download mode with an empty image; reply 11 B0 01 C2.
//   k+1 B0 01 d..   (k = 1..8, in download mode) append d.. to the image,
//                   reply 11 B0 01 C2. Past kMaxImage bytes are no longer
//                   kept, but chunks are still answered.
//   01 B0 01        (in download mode) the image is complete; no reply.
//   01 B0 04        restart: leave download mode and start afresh: LEDs off,
//                   no key named, LED state and every display line reported
//                   again. Key table, blocks and the image are kept.
//   01 B0 05        reset: as restart, and an unfinished image is thrown away.
class q9emu {
 public:
  static constexpr int kKeys = 64;                // key table entries (block 1)
  static constexpr int kBlockSize = 65;           // bytes of each configuration block
  static constexpr int kLedKeys = 22;             // keys 0..21 carry an LED
  static constexpr size_t kMaxText = 14;          // longest display text in one report
  static constexpr size_t kMaxImage = 16u << 20;  // firmware bytes kept at most

  // Models 0, 1 and 4 have ten text cells (lines 0..9); models 2 and 3 the
  // graphic display: lines 0 and 1 are the two halves of one message and
  // line 2 is the time code as eight digits hhmmssff. Other numbers act as 0.
  explicit q9emu(int model = 0, Faults faults = {});

  // Bytes the program wrote, in any pieces; frames may span calls, and bytes
  // that do not start a frame with a right checksum are skipped one by one.
  void receive(std::span<const uint8_t> bytes, uint64_t nowMs);
  // The reads due by nowMs, oldest first, each inner vector one read.
  std::vector<std::vector<uint8_t>> output(uint64_t nowMs);
  bool pending() const { return !queue_.empty(); }
  bool disconnected() const;

  int model() const { return model_; }
  bool graphic() const { return model_ == 2 || model_ == 3; }

  std::span<const uint8_t> keytable() const { return keys_; }
  // Block 1 is the key table; 0, 2, 3 and 4 the configuration blocks; any
  // other number gives an empty span.
  std::span<const uint8_t> block(int n) const;
  std::span<const uint8_t> revisions() const { return revisions_; }
  std::array<uint8_t, 3> leds() const { return leds_; }
  bool ledLit(int key) const;

  // The display as the keyboard holds it. Text models: 0 the model's name,
  // 1 "Simulated", 2 the last key pressed ("Key 5"), 3 the time code
  // ("01:23:45:12"), 4 the firmware state ("FW 65536 bytes"), 5..9 blank.
  // Graphic models: 0 the last key, 1 the firmware state or else the model's
  // name, 2 the time code ("01234512"). The time code runs at 25 frames a
  // second from the caller's clock, but like a real display it is redrawn at
  // most every kTimecodeMs, and only when a poll comes in, so that it does not
  // take every poll's report.
  static constexpr uint64_t kTimecodeMs = 200;
  int lineCount() const { return graphic() ? 3 : 10; }
  std::string line(int n) const;

  std::span<const uint8_t> firmware() const { return image_; }
  size_t firmwareLength() const { return image_.size(); }
  uint32_t firmwareCrc32() const;  // the common reflected CRC-32 of the image
  bool firmwareComplete() const { return complete_; }
  bool downloading() const { return downloading_; }
  int firmwareDownloads() const { return downloads_; }  // images completed so far

  int framesReceived() const { return framesReceived_; }  // well-formed frames taken
  int framesAnswered() const { return framesAnswered_; }  // replies made, before faults
  int repliesDropped() const { return repliesDropped_; }

 private:
  struct Frame {
    uint8_t header = 0;
    uint8_t command = 0;
    std::array<uint8_t, 15> data{};
    size_t n = 0;
  };
  struct Read {
    uint64_t due;
    std::vector<uint8_t> bytes;
  };

  bool nextFrame(Frame& f);
  void handle(const Frame& f, uint64_t nowMs);
  void poll(uint64_t nowMs);
  void key(uint8_t k, uint8_t state);
  void readMemory(uint8_t blk, uint8_t offset, uint64_t nowMs);
  void writeMemory(std::span<uint8_t> area, uint8_t address, uint8_t value);
  void firmwareFrame(const Frame& f, uint64_t nowMs);
  void powerUp(bool discardPartial);
  void refreshTimecode(uint64_t nowMs);
  std::span<uint8_t> area(int n);
  template <class Self>
  static auto areaOf(Self& self, int n)
      -> std::span<std::conditional_t<std::is_const_v<Self>, const uint8_t, uint8_t>>;
  void reply(uint8_t header, uint8_t command, std::span<const uint8_t> data, uint64_t nowMs);
  void send(std::vector<uint8_t> bytes, uint64_t nowMs);
  bool chance(double p);
  uint32_t below(uint32_t n);  // 0..n-1

  int model_;
  Faults faults_;
  std::mt19937 rng_;

  std::vector<uint8_t> inbuf_;
  size_t inpos_ = 0;
  std::deque<Read> queue_;
  uint64_t lastDue_ = 0;

  std::array<uint8_t, kKeys> keys_{};
  std::array<std::array<uint8_t, kBlockSize>, 4> blocks_{};  // blocks 0, 2, 3, 4
  std::array<uint8_t, 10> revisions_{};
  std::array<uint8_t, 3> leds_{};
  std::optional<std::array<uint8_t, 3>> ledsReported_;

  std::optional<int> lastKey_;
  std::string timecode_;  // eight digits hhmmssff
  std::optional<uint64_t> timecodeAt_;
  std::array<std::optional<std::string>, 10> lineReported_;
  int nextLine_ = 0;
  int quietPolls_ = 0;

  std::vector<uint8_t> image_;
  bool downloading_ = false;
  bool complete_ = false;
  int downloads_ = 0;

  int framesReceived_ = 0;
  int framesAnswered_ = 0;
  int repliesDropped_ = 0;
};

}  // namespace kx90::sim
