// The control set as created.
#include "panel/controlset.h"

namespace kx90::controlset {

namespace {

constexpr int kSmall = 65;
constexpr int kLarge = 75;

keyplace key(int left, int top, int size, bool visible) {
  return {{left, top, size, size}, visible};
}

std::array<keyplace, kMacroKeys> makemacrokeys() {
  std::array<keyplace, kMacroKeys> k{};
  for (int i = 0; i <= 7; ++i) k[i] = key(10 + kSmall * i, 130, kSmall, true);
  k[8] = key(560, 130, kSmall, true);
  k[9] = key(625, 130, kSmall, true);
  for (int i = 10; i <= 14; ++i) k[i] = key(10 + kLarge * (i - 10), 225, kLarge, true);
  k[15] = key(405, 225, kLarge, true);
  for (int i = 16; i <= 20; ++i) k[i] = key(10 + kLarge * (i - 16), 330, kLarge, true);
  k[21] = key(405, 330, kLarge, true);
  const int row22[] = {10, 85, 160, 235, 318, 400, 477, 550, 631};
  for (int i = 0; i < 9; ++i) k[22 + i] = key(row22[i], 441, kLarge, false);
  const int row31[] = {10, 97, 184, 270, 357, 444};
  for (int i = 0; i < 6; ++i) k[31 + i] = key(row31[i], 528, kLarge, false);
  k[37] = key(531, 528, kLarge, false);
  k[38] = key(551, 548, kLarge, false);
  k[39] = key(736, 564, kLarge, false);
  return k;
}

std::array<keyplace, kNumKeys> makenumbks() {
  std::array<keyplace, kNumKeys> k{};
  const int grouptops[] = {32, 175, 330, 457};
  for (int g = 0; g < 4; ++g) {
    for (int j = 0; j < 3; ++j)
      k[3 * g + j] = key(783 + 20 * j, grouptops[g] + 20 * j, kLarge, true);
  }
  k[12] = key(665, 528, kLarge, false);
  k[13] = key(685, 548, kLarge, false);
  for (int i = 14; i <= 20; ++i)
    k[i] = key(752 + 20 * (i - 14), 554 + 20 * (i - 14), kLarge, false);
  k[21] = key(511, 627, kLarge, false);
  k[22] = key(531, 647, kLarge, false);
  k[23] = key(551, 667, kLarge, false);
  return k;
}

std::vector<keyref> makeorder() {
  std::vector<keyref> order;
  auto run = [&](group g, int first, int last) {
    for (int i = first; i <= last; ++i) order.push_back({g, i});
  };
  run(group::macrokey, 0, 21);
  run(group::macrokey, 22, 36);
  run(group::numbk, 0, 11);
  run(group::macrokey, 37, 37);
  run(group::numbk, 12, 12);
  run(group::macrokey, 38, 39);
  run(group::numbk, 13, 23);
  return order;
}

}  // namespace

const std::array<keyplace, kMacroKeys>& macrokeys() {
  static const auto keys = makemacrokeys();
  return keys;
}

const std::array<keyplace, kNumKeys>& numbks() {
  static const auto keys = makenumbks();
  return keys;
}

const std::array<box, kCells>& cells() {
  static const std::array<box, kCells> all = [] {
    std::array<box, kCells> c{};
    const int lefts[] = {75, 188, 301, 414, 528};
    for (int i = 0; i < kCells; ++i)
      c[i] = {lefts[i % 5], i < 5 ? 32 : 62, kCellWidth, kCellHeight};
    return c;
  }();
  return all;
}

const std::array<std::string, kCells>& celltexts() {
  static const std::array<std::string, kCells> texts = {
      " The Dis", "play wil",   "l update", " when co", "nnected ",
      "Fit FTDI", " Driver \r", "or Sel P", "ort View", "/Prefer"};
  return texts;
}

const std::vector<keyref>& creationorder() {
  static const auto order = makeorder();
  return order;
}

}  // namespace kx90::controlset
