// The main window's fixed control set as it is created: where every key,
// display cell and the jog wheel sit, which are visible, and the order in
// which they are stacked. The model layouts only move and show these.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kx90::controlset {

constexpr int kMacroKeys = 40;
constexpr int kNumKeys = 24;
constexpr int kCells = 10;

struct box {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const box&) const = default;
};

struct keyplace {
  box at;
  bool visible = false;
};

enum class group { macrokey, numbk };

// One key in creation (and so stacking) order.
struct keyref {
  group in;
  int index;
  bool operator==(const keyref&) const = default;
};

constexpr int kWindowWidth = 740;
constexpr int kWindowHeight = 425;
constexpr const char* kTitle = "KX-90USB ";

constexpr box kRectangle1{37, 14, 653, 96};
constexpr uint32_t kRectangleFill = 0x5525FF;
constexpr int kRectangleBorder = 10;
constexpr box kJogwheel{525, 215, 200, 200};
constexpr box kLkey{702, 8, 32, 20};

constexpr int kCellWidth = 114;
constexpr int kCellHeight = 25;
constexpr int kCellPoints = 24;
constexpr uint32_t kCellColour = 0xFFFFFF;

const std::array<keyplace, kMacroKeys>& macrokeys();
const std::array<keyplace, kNumKeys>& numbks();
// Display cell positions, relative to the window as created.
const std::array<box, kCells>& cells();
// The start-up message, eight characters a cell.
const std::array<std::string, kCells>& celltexts();
// Keys in the order they are created; later ones stack above earlier ones.
const std::vector<keyref>& creationorder();

}  // namespace kx90::controlset
