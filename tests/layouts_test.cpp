#include "panel/layouts.h"

#include <gtest/gtest.h>

#include <set>

#include "support/panelstate.h"

namespace kx90 {
namespace {

using controlset::box;
using testing::panelstate;

std::set<int> range(int first, int last) {
  std::set<int> s;
  for (int i = first; i <= last; ++i) s.insert(i);
  return s;
}

std::set<int> join(std::initializer_list<std::set<int>> parts) {
  std::set<int> s;
  for (const auto& p : parts) s.insert(p.begin(), p.end());
  return s;
}

template <typename Keys>
std::set<int> shown(const Keys& keys) {
  std::set<int> s;
  for (int i = 0; i < static_cast<int>(keys.size()); ++i)
    if (keys[i].visible) s.insert(i);
  return s;
}

struct ModelCase {
  int type;
  bool jog;
  std::string title;
  int width, height, kmax;
  bool ftft;
  std::set<int> macros, numbks;
  box jogwheel;
  bool jogvisible;
};

TEST(Layouts, EachModelShowsItsKeysAndSizesTheWindow) {
  const std::vector<ModelCase> cases = {
      {0, false, "KX-90usb", 740, 425, 25, false, range(0, 21), {}, {525, 215, 200, 200}, true},
      {1,
       false,
       "MQ-90usb",
       780,
       685,
       36,
       false,
       join({range(0, 27), range(29, 37)}),
       range(0, 12),
       {570, 475, 200, 200},
       true},
      {2,
       false,
       "KX-VS",
       740,
       700,
       31,
       true,
       range(0, 31),
       range(0, 12),
       {525, 495, 200, 200},
       true},
      {3,
       true,
       "HBW-VS",
       680,
       700,
       25,
       true,
       join({range(0, 9), range(12, 15), range(22, 24)}),
       range(0, 12),
       {445, 441, 200, 200},
       true},
      {3, false, "HBW-VS", 680, 700, 25, true, join({range(0, 17), range(22, 24)}), range(0, 12),
       controlset::kJogwheel, false},
      {4,
       false,
       "MQ-ZN",
       780,
       685,
       36,
       false,
       join({range(0, 8), range(12, 14), range(18, 20), range(24, 26), range(30, 37)}),
       range(0, 23),
       {570, 475, 200, 200},
       true},
  };
  for (const auto& c : cases) {
    panelstate p;
    p.jogsetting = c.jog;
    layouts::Setkbd(p, c.type);
    EXPECT_EQ(p.title, c.title);
    EXPECT_EQ(p.width, c.width) << c.title;
    EXPECT_EQ(p.height, c.height) << c.title;
    EXPECT_EQ(p.kmax, c.kmax) << c.title;
    EXPECT_EQ(p.ftft, c.ftft) << c.title;
    EXPECT_EQ(shown(p.macrokey), c.macros) << c.title;
    EXPECT_EQ(shown(p.numbk), c.numbks) << c.title;
    EXPECT_EQ(p.jogwheel, c.jogwheel) << c.title;
    EXPECT_EQ(p.jogvisible, c.jogvisible) << c.title;
    EXPECT_TRUE(p.rectanglevisible) << c.title;
    EXPECT_EQ(p.log.front(), "Hideall") << c.title;
  }
}

TEST(Layouts, OtherNumbersChangeNothing) {
  for (int type : {-1, 5, 100}) {
    panelstate p;
    layouts::Setkbd(p, type);
    EXPECT_EQ(p.title, "KX-90USB ");
    EXPECT_TRUE(p.log.empty());
    EXPECT_EQ(shown(p.macrokey), range(0, 21));
  }
}

TEST(Layouts, GraphicModelsHideTheOtherCellsAfterTheReadStarts) {
  for (int type : {2, 3}) {
    panelstate p;
    layouts::Setkbd(p, type);
    const auto read = std::find(p.log.begin(), p.log.end(), "Readkeys");
    ASSERT_NE(read, p.log.end());
    EXPECT_EQ(std::count(read, p.log.end(), "showcell 1 off"), 1);
    std::set<int> visiblecells;
    for (int c = 0; c < controlset::kCells; ++c)
      if (p.cells[c].visible) visiblecells.insert(c);
    EXPECT_EQ(visiblecells, (std::set<int>{0, 2}));
    EXPECT_EQ(p.cells[0].text, "Error Message");
    EXPECT_EQ(p.cells[2].text, "Timecode");
  }
}

TEST(Layouts, WhatALayoutLeavesAloneCarriesOver) {
  panelstate p;
  layouts::Setkbd(p, 2);
  EXPECT_EQ(p.cells[0].at.left, 75);  // as created
  layouts::Setkbd(p, 3);
  layouts::Setkbd(p, 2);
  EXPECT_EQ(p.cells[0].at.left, 45);  // from the previous layout

  p.jogsetting = false;
  layouts::Setkbd(p, 3);
  EXPECT_FALSE(p.jogvisible);
  layouts::Setkbd(p, 0);
  EXPECT_TRUE(p.jogvisible);
  EXPECT_EQ(p.jogwheel, (box{525, 215, 200, 200}));
  for (int i = 0; i <= 21; ++i) EXPECT_EQ(p.macrokey[i].fled, i > 17) << i;
  // The text display gives the overwritten cells their start-up text back.
  EXPECT_EQ(p.cells[0].text, " The Dis");
  EXPECT_EQ(p.cells[2].text, "l update");
  EXPECT_EQ(p.cells[4].at.left, 527);
}

TEST(Layouts, KeypadsAndFunctionKeys) {
  using controlset::group;
  struct placecase {
    int model;  // applied in the order of the table
    controlset::keyref key;
    box at;
  };
  const std::vector<placecase> places = {
      {1, {group::numbk, 7}, {10, 230, 75, 75}},
      {1, {group::numbk, 0}, {85, 455, 75, 75}},
      {1, {group::numbk, 11}, {160, 455, 75, 75}},
      {1, {group::numbk, 12}, {335, 455, 75, 75}},
      {4, {group::numbk, 22}, {335, 455, 75, 75}},
      {4, {group::macrokey, 30}, {485, 455, 75, 75}},
      {4, {group::macrokey, 37}, {480, 560, 75, 75}},
      {2, {group::macrokey, 25}, {20, 290, 95, 93}},
      {2, {group::macrokey, 31}, {590, 290, 95, 93}},
      {2, {group::macrokey, 24}, {400, 135, 65, 65}},
      {2, {group::numbk, 12}, {400, 200, 65, 65}},
  };
  panelstate p;
  int applied = -1;
  for (const auto& c : places) {
    if (c.model != applied) layouts::Setkbd(p, applied = c.model);
    EXPECT_EQ(p.key(c.key).at, c.at) << "model " << c.model << " key " << c.key.index;
  }

  layouts::Setkbd(p, 1);
  EXPECT_EQ(p.numbk[14].caption, "Prev Cue");
  EXPECT_FALSE(p.numbk[14].visible);
  for (int d = 0; d <= 9; ++d) {
    EXPECT_EQ(p.numbk[d].caption, std::to_string(d));
    EXPECT_FALSE(p.numbk[d].fled);
    EXPECT_FALSE(p.numbk[d].fmacro);
    EXPECT_EQ(p.numbk[d].colour, "grey");
  }
  EXPECT_TRUE(p.numbk[10].fled);
  EXPECT_FALSE(p.macrokey[28].visible);

  layouts::Setkbd(p, 4);
  EXPECT_EQ(p.numbk[10].caption, "00");
  EXPECT_EQ(p.numbk[16].caption, "/\\");
  EXPECT_EQ(p.numbk[22].colour, "lightgrey");
  layouts::Setkbd(p, 2);
  EXPECT_EQ(p.numbk[11].caption, "Store");
}

}  // namespace
}  // namespace kx90
