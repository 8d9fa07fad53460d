#include "link/q9serial.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "support/linkparts.h"

namespace kx90 {
namespace {

using testing::hex;
using testing::tohex;

struct Q9serialTest : ::testing::Test, testing::linkparts {
  std::vector<std::string> frames;
  std::vector<std::string> skips;
  std::vector<std::string> names;

  void SetUp() override {
    link.parseinput = [this](framebuffer& f) {
      frames.push_back(tohex(std::span(f).first(framedatalength(f[0]) + 3)));
    };
    link.debugerror = [this](const std::string& t) { skips.push_back(t); };
    link.newname = [this](const std::string& n) { names.push_back(n); };
  }
};

TEST_F(Q9serialTest, CutsFramesFromReads) {
  struct Case {
    std::vector<std::string> reads;
    std::vector<std::string> frames;
    std::vector<std::string> skips;
  };
  const std::vector<Case> cases = {
      {{"02 B8", "05 00 BF"}, {"02 B8 05 00 BF"}, {}},
      {{"02 B8 05 00 BF 00 B3 B3"}, {"02 B8 05 00 BF", "00 B3 B3"}, {}},
      {{"40 02 B8 05 00 BF"}, {"02 B8 05 00 BF"}, {"EParse 40 "}},
      {{"3A 70 00 B3 B3"}, {}, {}},  // 3A waits for 13 bytes in all
      {{"3A 70 00 B3 B3", "00 B3 B3 00 B3 B3 00 B3 B3 00 B3"},
       {"00 B3 B3", "00 B3 B3", "00 B3 B3", "00 B3 B3"},
       {"EParse 3A 70 "}},
      {{"0F 01 02 03 04 05 06 07 08 09 0A"}, {}, {}},  // 15 data bytes announced
      {{"", "00 B3 B3", ""}, {"00 B3 B3"}, {}},
  };
  for (const auto& c : cases) {
    testing::fakeserial p;
    q9serial l{p, settings, boxes};
    std::vector<std::string> got, skipped;
    l.parseinput = [&](framebuffer& f) {
      got.push_back(tohex(std::span(f).first(framedatalength(f[0]) + 3)));
    };
    l.debugerror = [&](const std::string& t) { skipped.push_back(t); };
    for (const auto& r : c.reads) p.deliver(r);
    EXPECT_EQ(got, c.frames) << c.reads[0];
    EXPECT_EQ(skipped, c.skips) << c.reads[0];
  }
}

TEST_F(Q9serialTest, FrameBufferKeepsStaleTailAndChecksum) {
  port.deliver("03 B1 02 10 01 C7");
  port.deliver("00 B3 B3");
  EXPECT_EQ(tohex(std::span(link.incmd).first(6)), "00 B3 B3 10 01 C7");
}

TEST_F(Q9serialTest, FramesWrapAroundTheRingEnd) {
  // 83 three-byte frames bring the indices to 249; the next frames wrap.
  std::string many;
  for (int i = 0; i < 83; ++i) many += "00 B3 B3 ";
  port.deliver(many);
  ASSERT_EQ(link.outp, 249);
  port.deliver("14 B9 0A 01 00 00 D8 02 B8 05");
  port.deliver("00 BF");
  EXPECT_EQ(frames.size(), 85u);
  EXPECT_EQ(frames[83], "14 B9 0A 01 00 00 D8");
  EXPECT_EQ(frames[84], "02 B8 05 00 BF");
  EXPECT_EQ(link.inp, link.outp);
  EXPECT_EQ(link.outp, 5);
}

TEST_F(Q9serialTest, LargeReadsLoseNoByte) {
  // 4 KiB in one read, far more than the ring holds, behind a stray byte
  // that announces a long frame.
  std::string big = "3F ";
  for (int i = 0; i < 1000; ++i) big += "01 B9 05 BF ";
  port.deliver(big + "02 B8");
  EXPECT_EQ(frames.size(), 1000u);
  EXPECT_EQ(skips, std::vector<std::string>{"EParse 3F "});
  EXPECT_EQ(link.unread(), 2);  // the start of the next frame waits
  port.deliver("05 00 BF");
  EXPECT_EQ(frames.back(), "02 B8 05 00 BF");
  EXPECT_EQ(link.unread(), 0);
}

TEST_F(Q9serialTest, FailingHandlerMovesOnAndClearsTheGuard) {
  int calls = 0;
  link.parseinput = [&](framebuffer& f) {
    ++calls;
    frames.push_back(tohex(std::span(f).first(3)));
    if (calls == 1) throw std::out_of_range("slice");
  };
  EXPECT_THROW(port.deliver("00 B3 B3 00 B4 B4"), std::out_of_range);
  EXPECT_EQ(frames, (std::vector<std::string>{"00 B3 B3", "00 B4 B4"}));
  EXPECT_EQ(link.unread(), 0);
  port.deliver("00 B5 B5");  // the guard was cleared: the link still receives
  EXPECT_EQ(calls, 3);
}

TEST_F(Q9serialTest, NestedNotificationIsDeferredNotLost) {
  int calls = 0;
  link.parseinput = [&](framebuffer& f) {
    frames.push_back(tohex(std::span(f).first(3)));
    if (++calls == 1) port.deliver("00 B5 B5");  // as if a modal box ran the event loop
  };
  port.deliver("00 B3 B3 00 B4 B4");
  EXPECT_EQ(frames, (std::vector<std::string>{"00 B3 B3", "00 B4 B4", "00 B5 B5"}));
}

TEST_F(Q9serialTest, PortopenOpensWithLineSettingsAndRemembersThePort) {
  port.portnames();
  link.portopen(1);
  EXPECT_TRUE(link.serialopen);
  EXPECT_EQ(link.portname, "ttyS0");
  EXPECT_EQ(port.settings, linesettings{});
  EXPECT_EQ(port.settings.baud, 38400);
  EXPECT_EQ(port.settings.parity, parity::odd);
  EXPECT_EQ(port.settings.stopbits, 2);
  EXPECT_EQ(settings.getstring("controlport"), "ttyS0");
  EXPECT_EQ(names, std::vector<std::string>{"ttyS0"});
  EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(Q9serialTest, PortopenFailureAndNone) {
  port.portnames();
  port.openresult = false;
  link.portopen(0);
  EXPECT_FALSE(link.serialopen);
  EXPECT_EQ(link.portname, "None");
  EXPECT_EQ(boxes.texts, std::vector<std::string>{"Error opening Controller serial port"});
  EXPECT_EQ(settings.findconfig("controlport"), 0);
  EXPECT_FALSE(settings.cfound());

  port.openresult = true;
  link.portopen(0);
  link.portopen(-1);
  EXPECT_FALSE(link.serialopen);
  EXPECT_EQ(link.portname, "None");
  EXPECT_FALSE(port.opened);
  EXPECT_EQ(boxes.texts.size(), 1u);
  EXPECT_EQ(names, (std::vector<std::string>{"None", "ttyUSB0", "None"}));
}

TEST_F(Q9serialTest, WritesOnlyWhileOpenAndStopsWhenThePortIsLost) {
  const auto poll = hex("01 B9 01 BB");
  link.write(poll);
  EXPECT_TRUE(port.written.empty());
  port.portnames();
  link.portopen(0);
  link.write(poll);
  EXPECT_EQ(tohex(port.written), "01 B9 01 BB");
  port.opened = false;
  port.lost();
  EXPECT_FALSE(link.serialopen);
  link.write(poll);
  EXPECT_EQ(port.written.size(), 4u);
}

}  // namespace
}  // namespace kx90
