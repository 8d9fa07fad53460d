#include "link/parseq9.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "support/fakes.h"

namespace kx90 {
namespace {

using testing::hex;

struct Parseq9Test : ::testing::Test {
  testing::recordingwriter link;
  testing::recordingview view;
  testing::recordingconsumer keys;
  q9sr sr{link};
  framebuffer buffer{};

  void SetUp() override { sr.attachview(&view); }

  // Lays the frame over the buffer as the link does, keeping stale bytes.
  void dispatch(std::string_view text) {
    const auto bytes = hex(text);
    std::copy(bytes.begin(), bytes.end(), buffer.begin());
    parseq9(sr, keys, buffer);
  }
};

TEST_F(Parseq9Test, EchoFollowsClassCommandAndCyclicSwitch) {
  struct Case {
    std::string frame;
    bool listedquiet;   // showcyclic false
    bool listedcyclic;  // showcyclic true
  };
  const std::vector<Case> cases = {
      {"11 01 00 12", false, false},
      {"01 11 00 12", false, true},
      {"00 42 42", true, true},
      {"11 B0 00 C1", true, true},
      {"14 B9 0A 00 00 00 D7", false, true},
      {"13 B9 00 41 42 4F", false, true},
      {"10 77 87", true, true},
      {"60 12 72", false, true},
      {"20 12 32", true, true},
      {"F0 12 02", true, true},
  };
  for (bool cyclic : {false, true}) {
    sr.showcyclic = cyclic;
    for (const auto& c : cases) {
      view.rows.clear();
      dispatch(c.frame);
      const bool listed = !view.rows.empty();
      EXPECT_EQ(listed, cyclic ? c.listedcyclic : c.listedquiet) << c.frame << " " << cyclic;
      if (listed) {
        EXPECT_EQ(view.rows[0], "Rx-" + c.frame);
      }
    }
  }
}

TEST_F(Parseq9Test, NothingIsListedWhileTheViewIsHidden) {
  view.visible = false;
  dispatch("00 42 42");
  dispatch("1A B3 01 02 03 04 05 06 07 08 09 0A 0D");
  EXPECT_TRUE(view.rows.empty());
}

TEST_F(Parseq9Test, LedUpdateOnlyOnChange) {
  dispatch("14 B9 0A 01 00 00 D8");
  EXPECT_EQ((std::vector<int>(sr.leddata.begin(), sr.leddata.end())),
            (std::vector<int>{1, 0, 0, 0}));
  dispatch("14 B9 0A 01 00 00 D8");
  dispatch("14 B9 0A 01 80 3F 97");
  EXPECT_EQ(keys.calls, (std::vector<std::string>{"UpdLED", "UpdLED"}));
  EXPECT_EQ(sr.leddata[1], 0x80);
  EXPECT_EQ(sr.leddata[2], 0x3F);
}

TEST_F(Parseq9Test, DisplayTextIsTheRawBytesAfterTheLineNumber) {
  dispatch("13 B9 00 41 42 4F");
  dispatch("11 B9 07 D1");
  dispatch("13 B9 03 E9 00 D8");
  ASSERT_EQ(keys.calls.size(), 3u);
  EXPECT_EQ(keys.calls[0], "lcddata 0 AB");
  EXPECT_EQ(keys.calls[1], "lcddata 7 ");
  EXPECT_EQ(keys.calls[2], std::string("lcddata 3 \xE9\0", 12));
}

TEST_F(Parseq9Test, BlockSlicesGoToTheirBlocks) {
  dispatch("1A B2 00 08 01 02 03 04 05 06 07 08 00");
  EXPECT_EQ(sr.uconfig[8], 1);
  EXPECT_EQ(sr.uconfig[15], 8);
  EXPECT_EQ(sr.uconfig[16], 0);
  EXPECT_FALSE(sr.goodconfig);

  dispatch("1A B2 02 38 01 02 03 04 05 06 07 08 00");
  EXPECT_EQ(sr.bconfig[56], 1);
  EXPECT_EQ(sr.bconfig[63], 8);

  dispatch("1A B2 03 08 09 09 09 09 09 09 09 09 00");
  EXPECT_EQ(sr.usbconfig[8], 9);
  EXPECT_TRUE(sr.goodconfig);

  dispatch("1A B2 04 00 09 09 09 09 09 09 09 09 00");  // unknown block
  EXPECT_EQ(sr.aconfig, q9sr::configblock{});
}

TEST_F(Parseq9Test, KeyTableSliceStopsAtThePanelsLastKey) {
  dispatch("1A B2 01 24 0A 0B 0C 0D 0E 0F 10 11 00");
  EXPECT_EQ(keys.tags[35], -2);
  EXPECT_EQ(keys.tags[36], 10);
  EXPECT_EQ(keys.tags[39], 13);
  EXPECT_EQ(keys.tags[40], -2);
  keys.keys = 200;  // even a larger panel takes no index above the key table
  dispatch("1A B2 01 3C 01 02 03 04 05 06 07 08 00");
  EXPECT_EQ(keys.tags[63], 4);
}

TEST_F(Parseq9Test, SlicePastABlockThrowsAfterStoringTheValuesBeforeIt) {
  for (const char* frame :
       {"1A B2 00 3C 01 02 03 04 05 06 07 08 00", "1A B2 02 3C 01 02 03 04 05 06 07 08 00",
        "1A B2 03 3C 01 02 03 04 05 06 07 08 00"}) {
    view.rows.clear();
    EXPECT_THROW(dispatch(frame), std::out_of_range) << frame;
    EXPECT_TRUE(view.rows.empty());
  }
  EXPECT_EQ(sr.uconfig[60], 1);
  EXPECT_EQ(sr.uconfig[64], 5);
  EXPECT_EQ(sr.usbconfig[64], 5);
  EXPECT_TRUE(sr.goodconfig);
}

TEST_F(Parseq9Test, RevisionLabelsInOrder) {
  dispatch("1A B3 01 02 03 04 05 06 07 08 09 FA 00");
  EXPECT_EQ(keys.calls, (std::vector<std::string>{"pcb rev - 01 02 ", "core rev - 03 04 05 06 ",
                                                  "main rev - 07 08 09 FA "}));
}

TEST_F(Parseq9Test, ChunkRequestRunsAfterTheFrameIsListed) {
  struct orderedconsumer : testing::recordingconsumer {
    testing::recordingview* view = nullptr;
    void rxdatarq() override {
      calls.push_back("rxdatarq after " + std::to_string(view->rows.size()));
    }
  } consumer;
  consumer.view = &view;
  const auto bytes = hex("11 B0 01 C2");
  std::copy(bytes.begin(), bytes.end(), buffer.begin());
  parseq9(sr, consumer, buffer);
  EXPECT_EQ(view.rows, std::vector<std::string>{"Rx-11 B0 01 C2"});
  EXPECT_EQ(consumer.calls, std::vector<std::string>{"rxdatarq after 1"});
  dispatch("11 B0 02 C3");
  EXPECT_TRUE(keys.calls.empty());
}

TEST_F(Parseq9Test, ShortFramesReadTheStaleTailNotPastTheBuffer) {
  buffer.fill(0x33);
  dispatch("11 B3 C4");  // revisions announced with one byte
  EXPECT_EQ(keys.calls[1], "core rev - 33 33 33 33 ");
  dispatch("1F B9 01 41 41 41 41 41 41 41 41 41 41 41 41 41 41 00");
  EXPECT_EQ(keys.calls.back(), "lcddata 1 " + std::string(14, 'A'));
}

}  // namespace
}  // namespace kx90
