// Dispatch rules for received frames.
#include "link/parseq9.h"

#include "keys/cbsr.h"

namespace kx90 {

namespace {

constexpr int kKeyTableSize = 64;
constexpr uint8_t kLedReport = 0x0A;

struct rule {
  bool echo = true;
  bool chunkrequest = false;
};

// Data byte i of the frame; the buffer is fixed, so a short frame yields the
// stale bytes of earlier ones rather than reading past the end.
uint8_t data(const framebuffer& f, int i) {
  return f.at(2 + i);
}

void blockslice(q9sr& sr, q9consumer& consumer, const framebuffer& f) {
  const int block = data(f, 0);
  const int base = data(f, 1);
  for (int i = 0; i < 8; ++i) {
    const int idx = base + i;
    const uint8_t value = data(f, 2 + i);
    switch (block) {
      case 0:
        sr.uconfig.at(idx) = value;
        break;
      case 1:
        if (idx < kKeyTableSize && idx < consumer.macrokeycount()) consumer.settag(idx, value);
        break;
      case 2:
        sr.bconfig.at(idx) = value;
        break;
      case 3:
        sr.usbconfig.at(idx) = value;
        sr.goodconfig = true;
        break;
      default:
        break;
    }
  }
}

std::string hexrun(const framebuffer& f, int first, int last) {
  std::string text;
  for (int i = first; i <= last; ++i) text += cbsr::byte2hex(data(f, i)) + " ";
  return text;
}

void revisions(q9consumer& consumer, const framebuffer& f) {
  consumer.pcbrev("pcb rev - " + hexrun(f, 0, 1));
  consumer.corerev("core rev - " + hexrun(f, 2, 5));
  consumer.mainrev("main rev - " + hexrun(f, 6, 9));
}

void ledupdate(q9sr& sr, q9consumer& consumer, const framebuffer& f) {
  bool changed = false;
  for (int k = 0; k < 3; ++k) {
    const uint8_t b = data(f, 1 + k);
    if (b != sr.leddata[k]) {
      sr.leddata[k] = b;
      changed = true;
    }
  }
  if (changed) consumer.UpdLED();
}

void displaytext(q9consumer& consumer, const framebuffer& f) {
  const int n = framedatalength(f[0]);
  std::string text;
  for (int i = 1; i <= n - 1; ++i) text += static_cast<char>(data(f, i));
  consumer.lcddata(data(f, 0), text);
}

rule classone(q9sr& sr, q9consumer& consumer, const framebuffer& f) {
  const uint8_t d0 = data(f, 0);
  switch (f[1]) {
    case 0x01:
      return {.echo = false};
    case 0xB0:
      return {.chunkrequest = d0 == 0x01};
    case 0xB2:
      blockslice(sr, consumer, f);
      return {};
    case 0xB3:
      revisions(consumer, f);
      return {};
    case 0xB9:
      if (d0 == kLedReport) {
        ledupdate(sr, consumer, f);
      } else {
        displaytext(consumer, f);
      }
      return {.echo = sr.showcyclic};
    default:
      return {};
  }
}

rule apply(q9sr& sr, q9consumer& consumer, const framebuffer& f) {
  switch (frameclass(f[0])) {
    case 0:
      return {.echo = f[1] == 0x11 ? sr.showcyclic : true};
    case 1:
      return classone(sr, consumer, f);
    case 6:
      return {.echo = sr.showcyclic};
    default:
      return {};
  }
}

}  // namespace

void parseq9(q9sr& sr, q9consumer& consumer, const framebuffer& f) {
  const rule r = apply(sr, consumer, f);
  if (r.echo) {
    if (auto* view = sr.visibleview()) view->Disp_array(f, "Rx-");
  }
  if (r.chunkrequest) consumer.rxdatarq();
}

}  // namespace kx90
