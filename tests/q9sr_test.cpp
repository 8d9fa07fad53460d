#include "link/q9sr.h"

#include <gtest/gtest.h>

#include <functional>

#include "support/fakes.h"

namespace kx90 {
namespace {

using testing::recordingview;
using testing::recordingwriter;
using testing::tohex;

struct Q9srTest : ::testing::Test {
  recordingwriter link;
  recordingview view;
  q9sr sr{link};
  void SetUp() override { sr.attachview(&view); }
};

TEST_F(Q9srTest, EveryBuilderSendsItsFrame) {
  const std::vector<std::pair<std::function<void(q9sr&)>, std::string>> cases = {
      {[](q9sr& s) { s.rqversion(); }, "00 B3 B3"},
      {[](q9sr& s) { s.Wrteeprom(2, 16, 1); }, "03 B1 02 10 01 C7"},
      {[](q9sr& s) { s.rqconfig(1, 8); }, "02 B2 01 08 BD"},
      {[](q9sr& s) { s.rdeeprom(1, 8); }, "02 B2 01 08 BD"},
      {[](q9sr& s) { s.wrteemu(1, 3, 4); }, "03 BC 01 03 04 C7"},
      {[](q9sr& s) { s.q9restart(); }, "01 B0 04 B5"},
      {[](q9sr& s) { s.q9reset(); }, "01 B0 05 B6"},
      {[](q9sr& s) { s.Wrteeprom(1, 300, -1); }, "03 B1 01 2C FF E0"},
  };
  for (const auto& [send, want] : cases) {
    link.frames.clear();
    send(sr);
    ASSERT_EQ(link.frames.size(), 1u);
    EXPECT_EQ(link.frames[0], want);
  }
  EXPECT_TRUE(sr.q9next.empty());
}

TEST_F(Q9srTest, AppendsumWrapsAtEightBits) {
  frame f = testing::hex("03 B1 01 3F FF");
  q9sr::appendsum(f);
  EXPECT_EQ(tohex(f), "03 B1 01 3F FF F3");
  frame chunk = testing::hex("09 B0 01 01 02 03 04 05 06 07 08");
  q9sr::appendsum(chunk);
  EXPECT_EQ(tohex(chunk), "09 B0 01 01 02 03 04 05 06 07 08 DE");
}

TEST_F(Q9srTest, PollSequenceRunsOneToTenThenZero) {
  for (int i = 0; i < 22; ++i) sr.buildrq(false);
  ASSERT_EQ(link.frames.size(), 22u);
  EXPECT_EQ(link.frames[0], "01 B9 01 BB");
  EXPECT_EQ(link.frames[9], "01 B9 0A C4");
  EXPECT_EQ(link.frames[10], "01 B9 00 BA");
  EXPECT_EQ(link.frames[11], "01 B9 01 BB");
  EXPECT_EQ(link.frames[21], "01 B9 00 BA");
}

TEST_F(Q9srTest, DeferredSlotHoldsOneFrameAndReplacesPoll) {
  sr.q9kdown(5);
  sr.buildrq(false);
  sr.q9kdown(5);
  sr.q9kup(5);  // replaces the press
  sr.buildrq(true);
  sr.buildrq(true);  // nothing pending, poll suppressed
  sr.q9initdown();
  sr.buildrq(false);
  sr.buildrq(false);
  EXPECT_EQ(link.frames, (std::vector<std::string>{"02 B8 05 00 BF", "02 B8 05 01 C0",
                                                   "01 B0 00 B1", "01 B9 01 BB"}));
  EXPECT_TRUE(sr.q9next.empty());
}

TEST_F(Q9srTest, ViewListsWrittenFramesAndPollsOnlyWhenCyclicShown) {
  sr.buildrq(false);
  sr.rqversion();
  view.visible = false;
  sr.rqversion();
  view.visible = true;
  sr.showcyclic = true;
  sr.buildrq(false);
  EXPECT_EQ(view.rows, (std::vector<std::string>{"00 B3 B3", "01 B9 02 BC"}));
  EXPECT_EQ(link.frames.size(), 4u);  // every frame goes out regardless
}

TEST(Q9srNoView, SendsWithoutAView) {
  recordingwriter link;
  q9sr sr{link};
  sr.rqversion();
  EXPECT_EQ(link.frames, std::vector<std::string>{"00 B3 B3"});
}

}  // namespace
}  // namespace kx90
