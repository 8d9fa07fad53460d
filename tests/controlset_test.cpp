#include "panel/controlset.h"

#include <gtest/gtest.h>

#include <set>

namespace kx90 {
namespace {

using namespace controlset;

TEST(Controlset, CreationOrderHoldsEveryKeyOnceWithTheVisibleOnesFirst) {
  const auto& order = creationorder();
  ASSERT_EQ(order.size(), static_cast<size_t>(kMacroKeys + kNumKeys));
  std::set<std::pair<int, int>> seen;
  for (const auto& k : order) seen.insert({static_cast<int>(k.in), k.index});
  EXPECT_EQ(seen.size(), order.size());
  // macrokey 37 is created after the first twelve numeric keys, numbk 12 after it.
  EXPECT_EQ(order[22 + 15 + 12], (keyref{group::macrokey, 37}));
  EXPECT_EQ(order[22 + 15 + 13], (keyref{group::numbk, 12}));
}

TEST(Controlset, OnlyTheFirstTwentyTwoMacroKeysAndTwelveNumericKeysShow) {
  for (int i = 0; i < kMacroKeys; ++i) EXPECT_EQ(macrokeys()[i].visible, i <= 21) << i;
  for (int i = 0; i < kNumKeys; ++i) EXPECT_EQ(numbks()[i].visible, i <= 11) << i;
}

TEST(Controlset, KeysSitWhereTheyAreCreated) {
  const std::vector<std::pair<box, box>> cases = {
      {macrokeys()[0].at, {10, 130, 65, 65}},   {macrokeys()[7].at, {465, 130, 65, 65}},
      {macrokeys()[9].at, {625, 130, 65, 65}},  {macrokeys()[14].at, {310, 225, 75, 75}},
      {macrokeys()[15].at, {405, 225, 75, 75}}, {macrokeys()[21].at, {405, 330, 75, 75}},
      {macrokeys()[30].at, {631, 441, 75, 75}}, {macrokeys()[36].at, {444, 528, 75, 75}},
      {macrokeys()[39].at, {736, 564, 75, 75}}, {numbks()[2].at, {823, 72, 75, 75}},
      {numbks()[9].at, {783, 457, 75, 75}},     {numbks()[20].at, {872, 674, 75, 75}},
      {numbks()[23].at, {551, 667, 75, 75}},
  };
  for (const auto& [got, want] : cases) EXPECT_EQ(got, want);
}

TEST(Controlset, DisplayCellsCarryTheStartUpMessage) {
  EXPECT_EQ(cells()[4], (box{528, 32, 114, 25}));
  EXPECT_EQ(cells()[5], (box{75, 62, 114, 25}));
  std::string message;
  for (const auto& t : celltexts()) message += t;
  EXPECT_EQ(message,
            " The Display will update when connected Fit FTDI Driver \ror Sel Port View/Prefer");
  EXPECT_EQ(celltexts()[6].size(), 9u);
  EXPECT_EQ(celltexts()[9].size(), 7u);
}

}  // namespace
}  // namespace kx90
