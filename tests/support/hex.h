// Frames written as hex text in tests: "03 B1 02 10 01 C7".
#pragma once

#include <cstdint>
#include <span>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace kx90::testing {

inline std::vector<uint8_t> hex(std::string_view text) {
  std::vector<uint8_t> bytes;
  std::istringstream in{std::string(text)};
  std::string pair;
  while (in >> pair) bytes.push_back(static_cast<uint8_t>(std::stoi(pair, nullptr, 16)));
  return bytes;
}

inline std::string tohex(std::span<const uint8_t> bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (uint8_t b : bytes) {
    if (!text.empty()) text += ' ';
    text += kDigits[b >> 4];
    text += kDigits[b & 15];
  }
  return text;
}

}  // namespace kx90::testing
