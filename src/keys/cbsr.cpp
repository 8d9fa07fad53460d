// Text helpers: the tab and blank splitters and the hex formatter.
#include "keys/cbsr.h"

namespace kx90::cbsr {

namespace {

// Blanks and the other ASCII white space; a field never holds a tab anyway.
constexpr const char* kWhite = " \t\r\n\v\f";

std::string trimmed(const std::string& s) {
  const auto first = s.find_first_not_of(kWhite);
  if (first == std::string::npos) return {};
  const auto last = s.find_last_not_of(kWhite);
  return s.substr(first, last - first + 1);
}

}  // namespace

std::string splittab(std::string& s) {
  const auto p = s.find('\t');
  if (p == std::string::npos) {
    std::string all;
    all.swap(s);
    return all;
  }
  std::string field = trimmed(s.substr(0, p));
  s.erase(0, p + 1);
  return field;
}

std::string splitspace(std::string& s) {
  const auto p = s.find(' ');
  if (p == std::string::npos) return {};
  std::string head = s.substr(0, p);
  s.erase(0, p + 1);
  return head;
}

std::string byte2hex(uint8_t b) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  return {kDigits[b >> 4], kDigits[b & 0x0F]};
}

}  // namespace kx90::cbsr
