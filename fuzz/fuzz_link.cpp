// Arbitrary byte streams, cut into arbitrary reads, through the serial link
// and the dispatcher. Checks that every byte is accounted for: handed over
// in a frame whose checksum is right, reported as skipped, or still waiting.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "link/parseq9.h"
#include "link/q9serial.h"
#include "support/linkparts.h"

namespace {

using namespace kx90;

void check(bool ok) {
  if (!ok) __builtin_trap();
}

struct harness : testing::linkparts {
  testing::recordingwriter writer;
  testing::recordingview view;
  testing::recordingconsumer keys;
  q9sr sr{writer};
  size_t framed = 0;
  size_t skipped = 0;

  harness() {
    sr.attachview(&view);
    port.portnames();
    link.portopen(0);
    link.parseinput = [this](framebuffer& f) {
      const int n = framedatalength(f[0]);
      uint8_t sum = 0;
      for (int i = 0; i < n + 2; ++i) sum = static_cast<uint8_t>(sum + f[i]);
      check(sum == f[n + 2]);
      framed += n + 3;
      parseq9(sr, keys, f);
    };
    // "EParse " and three characters per skipped byte.
    link.debugerror = [this](const std::string& t) { skipped += (t.size() - 7) / 3; };
  }

  void reset() {
    framed = skipped = 0;
    link.inp = link.outp = 0;
    view.rows.clear();
    keys.calls.clear();
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static harness instance;
  harness* h = &instance;
  h->reset();
  size_t fed = 0;
  // Each read: one byte gives its length (0-63), then that many bytes.
  for (size_t i = 0; i < size;) {
    const size_t len = std::min<size_t>(data[i] & 63, size - i - 1);
    ++i;
    h->port.reads.emplace_back(data + i, data + i + len);
    i += len;
    fed += len;
    try {
      h->port.dataavailable();
    } catch (const std::out_of_range&) {
      // The application shows a message for it and carries on; so do we.
    }
    check(h->link.unread() < q9serial::kLongestFrame);
    check(h->framed + h->skipped + h->link.unread() == fed);
  }
  return 0;
}
