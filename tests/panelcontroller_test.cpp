#include "shell/panelcontroller.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "support/fakes.h"

namespace kx90 {
namespace {

using testing::recordingboxes;
using testing::recordingwriter;
using testing::tohex;

// A panel whose key writes go through the real protocol module, so every
// frame of a transfer lands in the same recording, in order.
class fakehost : public panelhost {
 public:
  explicit fakehost(q9sr& sr) : sr_(sr) {}

  bool test = false;
  int keys = 40;
  int lines = 10;
  bool visible = false;
  int menuwrites = 0;
  std::map<int, bool> lit;
  std::map<int, std::string> cells;
  std::string lkey;

  bool testf() const override { return test; }
  int macrokeycount() const override { return keys; }
  void setlit(int key, bool on) override {
    EXPECT_TRUE(key >= 0 && key < keys) << key;
    lit[key] = on;
  }
  // Each key's code is its index plus 0x40, so a frame tells which key sent it.
  void write2kx90(int key) override {
    EXPECT_TRUE(key >= 0 && key < keys) << key;
    sr_.Wrteeprom(1, key, key + 0x40);
  }
  int linecount() const override { return lines; }
  void setline(int cell, const std::string& text) override {
    EXPECT_TRUE(cell >= 0 && cell < lines) << cell;
    cells[cell] = text;
  }
  void setLkey(const std::string& caption) override { lkey = caption; }
  bool setupvisible() const override { return visible; }
  void Menuwrite() override { ++menuwrites; }

 private:
  q9sr& sr_;
};

std::string withsum(std::vector<uint8_t> f) {
  q9sr::appendsum(f);
  return tohex(f);
}
std::string keyread(int offset) {
  return withsum({0x02, 0xB2, 0x01, static_cast<uint8_t>(offset)});
}
std::string configread(int block, int offset) {
  return withsum({0x02, 0xB2, static_cast<uint8_t>(block), static_cast<uint8_t>(offset)});
}
std::string keywrite(int key) {
  return withsum({0x03, 0xB1, 0x01, static_cast<uint8_t>(key), static_cast<uint8_t>(key + 0x40)});
}
bool ispoll(const std::string& f) {
  return f.starts_with("01 B9 ");
}

struct PanelControllerTest : ::testing::Test {
  recordingwriter link;
  q9sr sr{link};
  fakehost host{sr};
  recordingboxes boxes;
  panelcontroller pc{sr, host, boxes};

  // The frames written by the next n ticks.
  std::vector<std::string> tick(int n) {
    link.frames.clear();
    for (int i = 0; i < n; ++i) pc.Timer1_Action();
    return link.frames;
  }
  void unlock() {
    pc.lockmacros(false);
    link.frames.clear();
  }
};

TEST_F(PanelControllerTest, IdleTicksPollEachTick) {
  EXPECT_EQ(tick(3), (std::vector<std::string>{"01 B9 01 BB", "01 B9 02 BC", "01 B9 03 BD"}));
  EXPECT_EQ(pc.tmode, 0);
}

TEST_F(PanelControllerTest, KeyReadAsksForEveryBlockOfEightUpToKmax) {
  const std::vector<std::pair<int, std::vector<int>>> cases = {
      {23, {0, 8, 16}},     {24, {0, 8, 16, 24}},  // a multiple of 8 is itself read
      {25, {0, 8, 16, 24}}, {31, {0, 8, 16, 24}}, {36, {0, 8, 16, 24, 32}},
  };
  for (const auto& [kmax, offsets] : cases) {
    SCOPED_TRACE(kmax);
    pc.kmax = kmax;
    pc.Readkeys();
    std::vector<std::string> want;
    for (int o : offsets) want.push_back(keyread(o));
    const auto sent = tick(static_cast<int>(offsets.size()) + 1);
    EXPECT_EQ(std::vector(sent.begin(), sent.end() - 1), want);
    EXPECT_TRUE(ispoll(sent.back())) << sent.back();
    EXPECT_EQ(pc.tmode, 0);
    EXPECT_EQ(pc.tindex, 0);
  }
}

TEST_F(PanelControllerTest, KeyWriteSendsKeysZeroToKmaxThenPollingResumes) {
  unlock();
  for (int kmax : {23, 25, 36}) {
    SCOPED_TRACE(kmax);
    pc.kmax = kmax;
    pc.Writekeys();
    ASSERT_EQ(pc.tmode, 1);
    std::vector<std::string> want;
    for (int k = 0; k <= kmax; ++k) want.push_back(keywrite(k));
    const auto sent = tick(kmax + 2);
    EXPECT_EQ(std::vector(sent.begin(), sent.end() - 1), want);
    EXPECT_TRUE(ispoll(sent.back())) << sent.back();
  }
}

TEST_F(PanelControllerTest, KeyWriteOnAPanelWithFewerKeysPassesOverTheMissingOnes) {
  unlock();
  host.keys = 3;
  pc.kmax = 5;
  pc.Writekeys();
  EXPECT_EQ(tick(6), (std::vector<std::string>{keywrite(0), keywrite(1), keywrite(2)}));
  EXPECT_EQ(pc.tmode, 0);
  EXPECT_TRUE(ispoll(tick(1).at(0)));
}

TEST_F(PanelControllerTest, ConfigReadSendsSixteenRequestsThenMenuwriteOnlyIfSetupVisible) {
  std::vector<std::string> want;
  for (int block = 0; block < 4; ++block) {
    for (int offset : {0, 8, 16, 24}) want.push_back(configread(block, offset));
  }
  for (bool visible : {false, true}) {
    SCOPED_TRACE(visible);
    host.visible = visible;
    host.menuwrites = 0;
    pc.Readconfig();
    auto sent = tick(15);
    EXPECT_EQ(host.menuwrites, 0);
    sent.push_back(tick(1).at(0));
    EXPECT_EQ(sent, want);
    EXPECT_EQ(host.menuwrites, visible ? 1 : 0);
    EXPECT_EQ(pc.tmode, 0);
    EXPECT_TRUE(ispoll(tick(1).at(0)));
    EXPECT_EQ(host.menuwrites, visible ? 1 : 0);
  }
}

TEST_F(PanelControllerTest, StartingATransferAbandonsTheRunningOne) {
  pc.Readconfig();
  EXPECT_EQ(tick(5).back(), configread(1, 0));
  pc.Readkeys();
  EXPECT_EQ(pc.tindex, 0);
  EXPECT_EQ(tick(4),
            (std::vector<std::string>{keyread(0), keyread(8), keyread(16), "01 B9 01 BB"}));

  unlock();
  pc.Readkeys();
  tick(2);
  pc.Writekeys();
  EXPECT_EQ(tick(2), (std::vector<std::string>{keywrite(0), keywrite(1)}));
}

TEST_F(PanelControllerTest, DeferredFrameWaitsForTheEndOfATransfer) {
  pc.Readkeys();
  sr.q9kdown(5);
  EXPECT_EQ(tick(4),
            (std::vector<std::string>{keyread(0), keyread(8), keyread(16), "02 B8 05 00 BF"}));
  EXPECT_TRUE(ispoll(tick(1).at(0)));
}

TEST_F(PanelControllerTest, TestBoxSuppressesPollsButNotTheDeferredFrame) {
  host.test = true;
  EXPECT_TRUE(tick(3).empty());
  sr.q9kup(2);
  EXPECT_EQ(tick(3), (std::vector<std::string>{"02 B8 02 01 BD"}));
  host.test = false;
  EXPECT_EQ(tick(1), (std::vector<std::string>{"01 B9 01 BB"}));
}

TEST_F(PanelControllerTest, RevisionModeSendsOneRequestThenPolls) {
  pc.tmode = 7;
  pc.tindex = 5;
  EXPECT_EQ(tick(2), (std::vector<std::string>{"00 B3 B3", "01 B9 01 BB"}));
  EXPECT_EQ(pc.tindex, 0);
}

TEST_F(PanelControllerTest, UnknownModeSendsNothingAndReturnsToIdle) {
  for (int mode : {8, -1, 1000}) {
    SCOPED_TRACE(mode);
    pc.tmode = mode;
    pc.tindex = 3;
    EXPECT_TRUE(tick(1).empty());
    EXPECT_EQ(pc.tmode, 0);
    EXPECT_EQ(pc.tindex, 0);
    EXPECT_TRUE(ispoll(tick(1).at(0)));
  }
}

TEST_F(PanelControllerTest, UpdLEDMapsBitsToKeysAndIgnoresTheTopTwoBitsOfByteTwo) {
  sr.leddata = {0xFF, 0x00, 0xC0, 0xFF};
  pc.UpdLED();
  ASSERT_EQ(host.lit.size(), 22u);  // keys 0 to 21, nothing above
  for (int k = 0; k < 22; ++k) EXPECT_EQ(host.lit[k], k < 8) << k;

  sr.leddata = {0x01, 0x80, 0x21, 0x00};
  pc.UpdLED();
  for (int k = 0; k < 22; ++k) EXPECT_EQ(host.lit[k], k == 0 || k == 15 || k == 16 || k == 21) << k;
}

TEST_F(PanelControllerTest, UpdLEDSkipsKeysThePanelDoesNotHave) {
  host.keys = 10;
  sr.leddata = {0xFF, 0xFF, 0xFF, 0xFF};
  pc.UpdLED();
  EXPECT_EQ(host.lit.size(), 10u);
  EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(PanelControllerTest, TextDisplayShowsEachLineInItsCell) {
  pc.lcddata(0, "FIRST");
  pc.lcddata(9, "LAST");
  pc.lcddata(10, "NO CELL");
  pc.lcddata(-1, "NO CELL");
  pc.lcddata(255, "NO CELL");
  EXPECT_EQ(host.cells, (std::map<int, std::string>{{0, "FIRST"}, {9, "LAST"}}));
  EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(PanelControllerTest, GraphicDisplayJoinsTheHalvesAndKeepsTheOther) {
  pc.ftft = true;
  pc.lcddata(0, "Tape ");
  EXPECT_EQ(host.cells[0], "Tape ");
  pc.lcddata(1, "Error");
  EXPECT_EQ(host.cells[0], "Tape Error");
  pc.lcddata(0, "Disk ");
  EXPECT_EQ(host.cells[0], "Disk Error");
  pc.lcddata(1, "");
  EXPECT_EQ(host.cells[0], "Disk ");

  pc.lcddata(2, "01234567");
  EXPECT_EQ(host.cells[2], "01:23:45:67");
  pc.lcddata(3, "ignored");
  pc.lcddata(5, "ignored");
  EXPECT_EQ(host.cells.size(), 2u);
}

TEST_F(PanelControllerTest, GraphicDisplayOnAPanelWithoutTheCellsShowsNothing) {
  pc.ftft = true;
  host.lines = 0;
  pc.lcddata(0, "A");
  pc.lcddata(2, "01234567");
  EXPECT_TRUE(host.cells.empty());
  EXPECT_EQ(pc.caption0, "A");
}

TEST(TimecodeTest, RegroupsIntoPairsWithoutReadingPastTheText) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"01234567", "01:23:45:67"},
      {"", ":::"},
      {"1", "1:::"},
      {"1234", "12:34::"},
      {"1234567", "12:34:56:7"},
      {"123456789", "12:34:56:89"},
      {"0123456789AB", "01:23:45:AB"},
  };
  for (const auto& [text, want] : cases) EXPECT_EQ(panelcontroller::timecode(text), want) << text;
}

TEST_F(PanelControllerTest, WritekeysIsRefusedWhileLockedWithoutStartingOrStopping) {
  struct lockcase {
    bool goodconfig;
    uint8_t lockbyte;
    std::string message;  // empty: allowed
  };
  const std::vector<lockcase> cases = {
      {false, 1, "Macro-Lock?"},
      {false, 0, "Macro-Lock?"},
      {true, 0, "Macro's Locked "},
      {true, 2, "Macro's Locked "},
      {true, 1, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    boxes.texts.clear();
    sr.goodconfig = c.goodconfig;
    sr.uconfig[16] = c.lockbyte;
    pc.Readkeys();
    tick(1);
    pc.Writekeys();
    if (c.message.empty()) {
      EXPECT_TRUE(boxes.texts.empty());
      EXPECT_EQ(pc.tmode, 1);
      EXPECT_EQ(pc.tindex, 0);
    } else {
      EXPECT_EQ(boxes.texts, std::vector<std::string>{c.message});
      EXPECT_EQ(pc.tmode, 2);  // the running read goes on
      EXPECT_EQ(pc.tindex, 8);
    }
    pc.tmode = 0;
  }
}

TEST_F(PanelControllerTest, LockAndUnlockWriteTheLockByteAndDecideWritekeys) {
  pc.lockmacros(true);
  EXPECT_EQ(link.frames, std::vector<std::string>{"03 B1 02 10 00 C6"});
  EXPECT_EQ(sr.uconfig[16], 0);
  EXPECT_TRUE(sr.goodconfig);
  pc.Writekeys();
  EXPECT_EQ(boxes.texts, std::vector<std::string>{"Macro's Locked "});
  EXPECT_TRUE(ispoll(tick(1).at(0)));

  // Unlocking needs no configuration read first.
  sr.goodconfig = false;
  link.frames.clear();
  pc.lockmacros(false);
  EXPECT_EQ(link.frames, std::vector<std::string>{"03 B1 02 10 01 C7"});
  EXPECT_EQ(sr.uconfig[16], 1);
  pc.Writekeys();
  EXPECT_EQ(boxes.texts.size(), 1u);
  EXPECT_EQ(tick(1), std::vector<std::string>{keywrite(0)});
}

TEST_F(PanelControllerTest, LkeyNamesTheLastClickedKey) {
  pc.macrokey_action(7);
  EXPECT_EQ(host.lkey, "M7");
  pc.numbk_action(12);
  EXPECT_EQ(host.lkey, "N12");
  pc.macrokey_action(0);
  EXPECT_EQ(host.lkey, "M0");
}

}  // namespace
}  // namespace kx90
