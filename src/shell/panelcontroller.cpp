// The timer's transfer state machine, the LED and display mirroring and the
// macro lock.
#include "shell/panelcontroller.h"

namespace kx90 {

namespace {

constexpr int kKeyTableBlock = 1;
constexpr int kKeysPerRead = 8;
constexpr int kReadsPerBlock = 4;  // offsets 0, 8, 16, 24
constexpr int kLockBank = 2;

}  // namespace

void panelcontroller::start(int32_t mode) {
  tindex = 0;
  tmode = mode;
}

void panelcontroller::finish(int32_t next) {
  tindex = 0;
  tmode = next;
}

void panelcontroller::Timer1_Action() {
  switch (tmode) {
    case kIdle:
      sr_.buildrq(host_.testf());
      break;
    case kWriteKeys:
      // Every layout has at least kmax + 1 keys; should one ever have fewer,
      // the missing keys are passed over rather than stalling the transfer.
      if (tindex >= 0 && tindex < host_.macrokeycount()) host_.write2kx90(tindex);
      if (++tindex > kmax) finish(kIdle);
      break;
    case kReadKeys:
      sr_.rdeeprom(kKeyTableBlock, tindex);
      tindex += kKeysPerRead;
      if (tindex > kmax) finish(kIdle);
      break;
    case kConfigBlock0:
    case kConfigBlock0 + 1:
    case kConfigBlock0 + 2:
    case kConfigBlock3: {
      const int32_t mode = tmode;
      sr_.rqconfig(mode - kConfigBlock0, tindex * kKeysPerRead);
      if (++tindex < kReadsPerBlock) break;
      if (mode != kConfigBlock3) {
        finish(mode + 1);
        break;
      }
      finish(kIdle);
      // The last replies may still be on their way; the setup window shows
      // what has arrived so far and catches up on the next read.
      if (host_.setupvisible()) host_.Menuwrite();
      break;
    }
    case kRevisions:
      sr_.rqversion();
      finish(kIdle);
      break;
    default:
      finish(kIdle);
      break;
  }
}

void panelcontroller::Readkeys() {
  start(kReadKeys);
}

void panelcontroller::Writekeys() {
  if (Macrolocked()) return;
  start(kWriteKeys);
}

void panelcontroller::Readconfig() {
  start(kConfigBlock0);
}

void panelcontroller::UpdLED() {
  // The keyboard reports 22 LEDs: all of bytes 0 and 1, the low six bits of
  // byte 2. Panels with fewer keys simply have no key for the higher bits.
  static constexpr int kBits[] = {8, 8, 6};
  const int keys = host_.macrokeycount();
  for (int i = 0; i < 3; ++i) {
    for (int b = 0; b < kBits[i]; ++b) {
      const int key = 8 * i + b;
      if (key < keys) host_.setlit(key, (sr_.leddata[i] >> b) & 1);
    }
  }
}

void panelcontroller::showline(int cell, const std::string& text) {
  // A line the panel has no cell for is dropped without a message.
  if (cell >= 0 && cell < host_.linecount()) host_.setline(cell, text);
}

std::string panelcontroller::timecode(const std::string& text) {
  // Four pairs: characters 1-2, 3-4, 5-6 and the last two. A longer text
  // loses what lies between the sixth character and the last two; a shorter
  // one gets short or empty pairs, and the last pair never starts before the
  // seventh character, so no character is shown twice.
  const size_t n = text.size();
  auto pair = [&](size_t pos) { return pos < n ? text.substr(pos, 2) : std::string(); };
  const size_t last = n > 8 ? n - 2 : 6;
  return pair(0) + ":" + pair(2) + ":" + pair(4) + ":" + pair(last);
}

void panelcontroller::lcddata(int line, const std::string& text) {
  if (!ftft) {
    showline(line, text);
    return;
  }
  // The graphic displays show both text lines joined in one cell, so each
  // half is kept until the keyboard replaces it.
  switch (line) {
    case 0:
      caption0 = text;
      showline(0, caption0 + caption1);
      break;
    case 1:
      caption1 = text;
      showline(0, caption0 + caption1);
      break;
    case 2:
      showline(2, timecode(text));
      break;
    default:
      break;
  }
}

void panelcontroller::macrokey_action(int index) {
  host_.setLkey("M" + std::to_string(index));
}

void panelcontroller::numbk_action(int index) {
  host_.setLkey("N" + std::to_string(index));
}

bool panelcontroller::Macrolocked() {
  // Until block 3 has been read (or the user locked or unlocked in this run)
  // the lock byte is not known to be current.
  if (!sr_.goodconfig) {
    boxes_.alert("Macro-Lock?");
    return true;
  }
  if (sr_.uconfig[kLockByte] != 1) {
    boxes_.alert("Macro's Locked ");
    return true;
  }
  return false;
}

void panelcontroller::lockmacros(bool lock) {
  const uint8_t value = lock ? 0 : 1;
  sr_.uconfig[kLockByte] = value;
  sr_.Wrteeprom(kLockBank, kLockByte, value);
  sr_.goodconfig = true;
}

}  // namespace kx90
