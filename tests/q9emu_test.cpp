// The keyboard emulator seen from the program's side of the line: requests in,
// byte-exact replies out, and the line faults it can be asked to produce.
#include "sim/q9emu.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace kx90::sim {
namespace {

using Bytes = std::vector<uint8_t>;

// "03 B1 02 10 01 C7" -> bytes.
Bytes hex(std::string_view s) {
  Bytes out;
  for (size_t i = 0; i < s.size();) {
    if (s[i] == ' ') {
      ++i;
      continue;
    }
    out.push_back(static_cast<uint8_t>(std::stoi(std::string(s.substr(i, 2)), nullptr, 16)));
    i += 2;
  }
  return out;
}

std::string hexOf(const Bytes& b) {
  std::string s;
  char buf[4];
  for (uint8_t v : b) {
    std::snprintf(buf, sizeof buf, "%02X ", v);
    s += buf;
  }
  if (!s.empty()) s.pop_back();
  return s;
}

// The frame with its checksum appended, for replies too long to add up by hand.
std::string withSum(std::string_view s) {
  Bytes b = hex(s);
  uint8_t sum = 0;
  for (uint8_t v : b) sum = static_cast<uint8_t>(sum + v);
  b.push_back(sum);
  return hexOf(b);
}

std::string textFrame(int line, const std::string& text) {
  Bytes b = {static_cast<uint8_t>(0x10 | (text.size() + 1)), 0xB9, static_cast<uint8_t>(line)};
  b.insert(b.end(), text.begin(), text.end());
  return withSum(hexOf(b));
}

bool checksumRight(const Bytes& f) {
  if (f.size() < 3 || f.size() != (f[0] & 0x0Fu) + 3) return false;
  uint8_t sum = 0;
  for (size_t i = 0; i + 1 < f.size(); ++i) sum = static_cast<uint8_t>(sum + f[i]);
  return sum == f.back();
}

constexpr std::string_view kPoll = "01 B9 01 BB";
constexpr std::string_view kRevisions = "00 B3 B3";
constexpr std::string_view kChunkRequest = "11 B0 01 C2";
constexpr std::string_view kCyclic = "01 11 00 12";
const std::string kNoLeds = "14 B9 0A 00 00 00 D7";

// The program's end of the line: writes frames, collects every read due now.
struct Line {
  explicit Line(int model = 0, Faults f = {}) : emu(model, f) {}
  std::vector<std::string> send(std::string_view frames) {
    emu.receive(hex(frames), now);
    return reads();
  }
  std::vector<std::string> reads() {
    std::vector<std::string> out;
    for (const auto& r : emu.output(now)) out.push_back(hexOf(r));
    return out;
  }
  std::string poll() {
    auto r = send(kPoll);
    return r.empty() ? "" : r.at(0);
  }
  // Polls until the keyboard has nothing new to say and has just sent its
  // cyclic message, so that the next nine quiet polls get no answer.
  void settle() {
    for (int i = 0; i < 30 && poll() != kCyclic; ++i) {
    }
  }
  q9emu emu;
  uint64_t now = 0;
};

TEST(Q9emuPoll, ReportsLedsThenEachDisplayLineThenTurnsQuiet) {
  Line l;
  EXPECT_EQ(l.poll(), kNoLeds);
  EXPECT_EQ(l.poll(), "19 B9 00 4B 58 2D 39 30 75 73 62 55");  // "KX-90usb"
  const std::vector<std::string> rest = {"Simulated", "No key", "00:00:00:00", "", "", "", "",
                                         "",          ""};
  for (size_t i = 0; i < rest.size(); ++i) EXPECT_EQ(l.poll(), textFrame(int(i) + 1, rest[i]));
  for (int i = 0; i < 9; ++i) EXPECT_EQ(l.poll(), "") << "quiet poll " << i;
  EXPECT_EQ(l.poll(), kCyclic);
  EXPECT_EQ(l.poll(), "");
}

TEST(Q9emuPoll, AnyPollSequenceByteIsAPoll) {
  Line l;
  EXPECT_EQ(l.send("01 B9 00 BA"), std::vector<std::string>{kNoLeds});
  EXPECT_EQ(l.send("01 B9 0A C4"), std::vector<std::string>{textFrame(0, "KX-90usb")});
}

TEST(Q9emuKeys, PressTogglesTheLedAndNamesTheKeyReleaseShowsNothing) {
  struct Case {
    std::string press;  // 02 B8 k 00 with checksum
    std::string leds;   // the LED report that follows, or "" when unchanged
    std::string name;
  };
  const std::vector<Case> cases = {
      {"02 B8 05 00 BF", "14 B9 0A 20 00 00 F7", "Key 5"},
      {withSum("02 B8 08 00"), "14 B9 0A 20 01 00 F8", "Key 8"},
      {"02 B8 05 00 BF", "14 B9 0A 00 01 00 D8", "Key 5"},  // second press puts it out
      {withSum("02 B8 15 00"), "14 B9 0A 00 01 20 F8", "Key 21"},
      {withSum("02 B8 16 00"), "", "Key 22"},  // no LED on key 22
      {withSum("02 B8 3F 00"), "", "Key 63"},
  };
  Line l;
  l.settle();
  for (const auto& c : cases) {
    EXPECT_TRUE(l.send(c.press).empty()) << c.press;
    if (!c.leds.empty()) {
      EXPECT_EQ(l.poll(), c.leds) << c.press;
    }
    EXPECT_EQ(l.poll(), textFrame(2, c.name)) << c.press;
    EXPECT_TRUE(l.send(withSum(c.press.substr(0, 8) + " 01")).empty());  // release
    EXPECT_EQ(l.poll(), "") << "release of " << c.press << " changed something";
  }
  EXPECT_TRUE(l.emu.ledLit(8));
  EXPECT_TRUE(l.emu.ledLit(21));
  EXPECT_FALSE(l.emu.ledLit(5));
}

TEST(Q9emuKeys, ALedToggledBackBeforeThePollIsNotReported) {
  Line l;
  l.settle();
  l.send("02 B8 05 00 BF 02 B8 05 00 BF");
  EXPECT_EQ(l.poll(), textFrame(2, "Key 5"));
}

TEST(Q9emuDisplay, TimecodeFollowsTheCallersClockAtTwentyFiveFrames) {
  Line l;
  l.settle();
  l.now = 100;  // too soon for the display to redraw
  EXPECT_EQ(l.poll(), "");
  l.now = ((1 * 60 + 2) * 60 + 3) * 1000 + 480;  // 01:02:03, frame 12
  EXPECT_EQ(l.poll(), textFrame(3, "01:02:03:12"));
  EXPECT_EQ(l.emu.line(3), "01:02:03:12");
}

TEST(Q9emuDisplay, ALineThatKeepsChangingDoesNotStarveTheOthers) {
  Line l;
  l.settle();
  l.send("01 B0 00 B1");  // line 4 now shows the download
  std::vector<std::string> seen;
  for (int i = 0; i < 2; ++i) {
    l.now += q9emu::kTimecodeMs;  // and the time code changes before every poll
    seen.push_back(l.poll());
  }
  EXPECT_EQ(seen[1], textFrame(4, "Loading 0"));
}

TEST(Q9emuDisplay, GraphicModelsHaveTwoMessageHalvesAndAnEightDigitTimecode) {
  for (int model : {2, 3}) {
    Line l(model);
    const std::string name = model == 2 ? "KX-VS" : "HBW-VS";
    EXPECT_EQ(l.poll(), kNoLeds);
    EXPECT_EQ(l.poll(), textFrame(0, "No key "));
    EXPECT_EQ(l.poll(), textFrame(1, name));
    EXPECT_EQ(l.poll(), textFrame(2, "00000000"));
    EXPECT_EQ(l.poll(), "") << "lines past 2 exist on model " << model;

    l.send("02 B8 05 00 BF");
    l.now = ((1 * 60 + 2) * 60 + 3) * 1000 + 480;
    EXPECT_EQ(l.poll(), "14 B9 0A 20 00 00 F7");
    EXPECT_EQ(l.poll(), textFrame(0, "Key 5 "));
    EXPECT_EQ(l.poll(), textFrame(2, "01020312"));
  }
}

TEST(Q9emuDisplay, UnknownModelNumbersActAsModelZero) {
  for (int model : {-1, 5, 99}) {
    q9emu emu(model);
    EXPECT_EQ(emu.model(), 0);
    EXPECT_EQ(emu.lineCount(), 10);
    EXPECT_EQ(emu.line(0), "KX-90usb");
  }
  EXPECT_EQ(q9emu(1).line(0), "MQ-90usb");
  EXPECT_EQ(q9emu(4).line(0), "MQ-ZN");
}

TEST(Q9emuMemory, KeyTableAndUnitBlockWritesReadBack) {
  Line l;
  EXPECT_TRUE(l.send("03 B1 01 05 2A E4").empty());
  EXPECT_EQ(l.send("02 B2 01 00 B5"),
            std::vector<std::string>{"1A B2 01 00 00 01 02 03 04 2A 06 07 0E"});
  EXPECT_EQ(l.emu.keytable()[5], 0x2A);

  EXPECT_EQ(l.emu.block(0)[16], 1) << "macros start unlocked";
  EXPECT_TRUE(l.send("03 B1 02 10 00 C6").empty());
  EXPECT_EQ(l.emu.block(0)[16], 0);
  const auto reply = hex(l.send("02 B2 00 10 C4").at(0));
  EXPECT_EQ(hexOf(Bytes(reply.begin(), reply.begin() + 5)), "1A B2 00 10 00");
}

TEST(Q9emuMemory, ReadsPastABlockAndOfUnknownBlocksGiveZeros) {
  struct Case {
    std::string request, reply;
  };
  const std::vector<Case> cases = {
      {"02 B2 01 3C", "1A B2 01 3C 3C 3D 3E 3F 00 00 00 00"},  // key table ends at 63
      {"02 B2 00 3C", "1A B2 00 3C 00 01 02 03 00 00 00 00"},  // block 0 ends at 64
      {"02 B2 00 FC", "1A B2 00 FC 00 00 00 00 00 00 00 00"},
      {"02 B2 07 00", "1A B2 07 00 00 00 00 00 00 00 00 00"},
      {"02 B2 FF FF", "1A B2 FF FF 00 00 00 00 00 00 00 00"},
  };
  Line l;
  for (const auto& c : cases) {
    EXPECT_EQ(l.send(withSum(c.request)), std::vector<std::string>{withSum(c.reply)}) << c.request;
  }
}

TEST(Q9emuMemory, ConfigurationWritesGoToTheBlockAfterTheBank) {
  struct Case {
    uint8_t bank, address;
    int block;  // -1: nothing may change
  };
  const std::vector<Case> cases = {
      {1, 3, 2}, {2, 64, 3}, {3, 0, 4}, {0, 3, -1}, {4, 3, -1}, {1, 65, -1}, {2, 0xFF, -1},
  };
  for (const auto& c : cases) {
    Line l;
    std::vector<Bytes> before;
    for (int b = 0; b <= 4; ++b) before.emplace_back(l.emu.block(b).begin(), l.emu.block(b).end());
    char req[32];
    std::snprintf(req, sizeof req, "03 BC %02X %02X A5", c.bank, c.address);
    EXPECT_TRUE(l.send(withSum(req)).empty());
    for (int b = 0; b <= 4; ++b) {
      Bytes want = before[b];
      if (b == c.block) want.at(c.address) = 0xA5;
      EXPECT_EQ(Bytes(l.emu.block(b).begin(), l.emu.block(b).end()), want)
          << "bank " << int(c.bank) << " address " << int(c.address) << " block " << b;
    }
  }
}

TEST(Q9emuRevisions, AnswersWithTenRevisionBytes) {
  Line l;
  EXPECT_EQ(l.send(kRevisions), std::vector<std::string>{"1A B3 01 02 01 00 03 07 02 01 00 09 E7"});
}

TEST(Q9emuFirmware, ChunksOfOneToEightBytesAreEachAnsweredAndMakeTheImage) {
  Line l;
  EXPECT_EQ(l.send("01 B0 00 B1"), std::vector<std::string>{std::string(kChunkRequest)});
  EXPECT_TRUE(l.emu.downloading());
  Bytes image;
  uint8_t next = 0xF0;  // runs through FF and 00
  for (int k = 1; k <= 8; ++k) {
    Bytes chunk = {static_cast<uint8_t>(k + 1), 0xB0, 0x01};
    for (int i = 0; i < k; ++i) chunk.push_back(next), image.push_back(next++);
    EXPECT_EQ(l.send(withSum(hexOf(chunk))), std::vector<std::string>{std::string(kChunkRequest)});
  }
  EXPECT_EQ(l.emu.line(4), "Loading 36");
  EXPECT_TRUE(l.send("01 B0 01 B2").empty()) << "the end frame asks for nothing more";
  EXPECT_FALSE(l.emu.downloading());
  EXPECT_TRUE(l.emu.firmwareComplete());
  EXPECT_EQ(Bytes(l.emu.firmware().begin(), l.emu.firmware().end()), image);
  EXPECT_EQ(l.emu.firmwareDownloads(), 1);
  EXPECT_EQ(l.emu.line(4), "FW 36 bytes");
  EXPECT_TRUE(l.send("02 B0 01 55 08").empty()) << "chunks after the end are not taken";
  EXPECT_EQ(l.emu.firmwareLength(), 36u);
}

TEST(Q9emuFirmware, ImageChecksumIsTheCommonCrc32) {
  Line l;
  l.send("01 B0 00 B1");
  l.send(withSum("09 B0 01 31 32 33 34 35 36 37 38"));
  l.send(withSum("02 B0 01 39"));
  l.send("01 B0 01 B2");
  EXPECT_EQ(l.emu.firmwareCrc32(), 0xCBF43926u);  // CRC-32 of "123456789"
}

TEST(Q9emuFirmware, ChunksOutsideDownloadModeAreIgnored) {
  Line l;
  EXPECT_TRUE(l.send(withSum("02 B0 01 55")).empty());
  EXPECT_TRUE(l.send("01 B0 01 B2").empty());
  EXPECT_EQ(l.emu.firmwareLength(), 0u);
  EXPECT_FALSE(l.emu.firmwareComplete());
}

TEST(Q9emuFirmware, RestartKeepsAPartialImageResetDropsItBothStartAfresh) {
  for (bool reset : {false, true}) {
    Line l;
    l.settle();
    l.send("02 B8 05 00 BF");
    l.send("01 B0 00 B1");
    l.send(withSum("03 B0 01 AA BB"));
    EXPECT_TRUE(l.send(reset ? "01 B0 05 B6" : "01 B0 04 B5").empty());
    EXPECT_FALSE(l.emu.downloading());
    EXPECT_FALSE(l.emu.ledLit(5));
    EXPECT_EQ(l.emu.firmwareLength(), reset ? 0u : 2u);
    EXPECT_EQ(l.poll(), kNoLeds) << "LED state is reported again after power-up";
    EXPECT_EQ(l.poll(), textFrame(0, "KX-90usb")) << "and so is every line";
    EXPECT_EQ(l.emu.line(2), "No key");
    EXPECT_EQ(l.emu.line(4), reset ? "" : "FW 2 partial");
    EXPECT_EQ(l.emu.keytable()[5], 5) << "non-volatile memory survives";
  }
}

TEST(Q9emuFrames, WrongChecksumsAndForeignFramesAreIgnored) {
  Line l;
  EXPECT_TRUE(l.send("00 B3 B4").empty());
  EXPECT_EQ(l.emu.framesReceived(), 0);
  // Right checksum but not a request: other class, wrong length, unknown command.
  EXPECT_TRUE(l.send("10 B3 C3 01 B3 00 B4 02 B9 01 00 BC 00 77 77").empty());
  EXPECT_EQ(l.emu.framesReceived(), 4);
  EXPECT_EQ(l.emu.framesAnswered(), 0);
  EXPECT_EQ(l.send(kRevisions).size(), 1u);
}

TEST(Q9emuFrames, FramesSplitAnyWayAndAfterStrayBytesAreFound) {
  const Bytes stream = hex("00 01 02 00 B3 B3 02 B2 01 00 B5 01 B9 01 BB");
  const std::vector<std::string> want = {"1A B3 01 02 01 00 03 07 02 01 00 09 E7",
                                         "1A B2 01 00 00 01 02 03 04 05 06 07 E9", kNoLeds};
  for (size_t piece = 1; piece <= stream.size(); ++piece) {
    q9emu emu;
    for (size_t at = 0; at < stream.size(); at += piece) {
      emu.receive(std::span(stream).subspan(at, std::min(piece, stream.size() - at)), 0);
    }
    std::vector<std::string> got;
    for (const auto& r : emu.output(0)) got.push_back(hexOf(r));
    EXPECT_EQ(got, want) << "pieces of " << piece;
  }
}

TEST(Q9emuFrames, AStrayLongHeaderHoldsFramesBackOnlyUntilItIsDisproved) {
  Line l;
  EXPECT_TRUE(l.send("0F 00 B3 B3").empty()) << "0F claims 18 bytes, waits for them";
  std::vector<std::string> got;
  for (int i = 0; i < 5; ++i) {
    for (auto& r : l.send(kRevisions)) got.push_back(r);
  }
  EXPECT_EQ(got.size(), 6u);
}

// Garbage mixed with requests, cut at random: nothing breaks, and without
// faults everything that comes out is a well-formed frame.
TEST(Q9emuFrames, SurvivesArbitraryBytes) {
  std::mt19937 rng(42);
  for (int model = 0; model <= 4; ++model) {
    q9emu emu(model);
    const std::vector<Bytes> requests = {hex(kPoll),
                                         hex("02 B8 05 00 BF"),
                                         hex("01 B0 00 B1"),
                                         hex(withSum("09 B0 01 01 02 03 04 05 06 07 08")),
                                         hex(withSum("02 B2 01 3C")),
                                         hex("01 B0 05 B6")};
    for (int round = 0; round < 3000; ++round) {
      Bytes chunk = requests[rng() % requests.size()];
      for (unsigned n = rng() % 6; n > 0; --n) chunk.push_back(static_cast<uint8_t>(rng()));
      emu.receive(chunk, static_cast<uint64_t>(round) * 7);
      for (const auto& r : emu.output(static_cast<uint64_t>(round) * 7)) {
        ASSERT_TRUE(checksumRight(r)) << hexOf(r);
      }
    }
    EXPECT_GT(emu.framesAnswered(), 100);
  }
}

// ---- faults ----

std::vector<Bytes> cleanReplies(int count) {
  q9emu emu;
  std::vector<Bytes> out;
  for (int i = 0; i < count; ++i) {
    emu.receive(hex(withSum("02 B2 01 " + hexOf({static_cast<uint8_t>(i)}))), 0);
    for (auto& r : emu.output(0)) out.push_back(r);
  }
  return out;
}

// Sends `count` distinct memory reads and returns what came out for each.
std::vector<std::vector<Bytes>> faulted(Faults f, int count, uint64_t wait = 1000) {
  q9emu emu(0, f);
  std::vector<std::vector<Bytes>> out;
  for (int i = 0; i < count; ++i) {
    emu.receive(hex(withSum("02 B2 01 " + hexOf({static_cast<uint8_t>(i)}))), 0);
    out.push_back(emu.output(wait));
  }
  return out;
}

Bytes joined(const std::vector<Bytes>& reads) {
  Bytes all;
  for (const auto& r : reads) all.insert(all.end(), r.begin(), r.end());
  return all;
}

TEST(Q9emuFaults, NoisePutsOneToFourBytesBeforeTheReply) {
  const auto clean = cleanReplies(30);
  const auto got = faulted({.noise = 1, .seed = 7}, 30);
  for (size_t i = 0; i < got.size(); ++i) {
    const Bytes all = joined(got[i]);
    ASSERT_GT(all.size(), clean[i].size());
    EXPECT_LE(all.size(), clean[i].size() + 4);
    EXPECT_TRUE(std::equal(clean[i].rbegin(), clean[i].rend(), all.rbegin())) << hexOf(all);
  }
}

TEST(Q9emuFaults, DropLosesRepliesAndCountsThem) {
  q9emu all(0, {.drop = 1});
  all.receive(hex(kRevisions), 0);
  EXPECT_TRUE(all.output(1000).empty());
  EXPECT_EQ(all.repliesDropped(), 1);

  q9emu some(0, {.drop = 0.5, .seed = 3});
  int delivered = 0;
  for (int i = 0; i < 100; ++i) {
    some.receive(hex(kRevisions), 0);
    delivered += static_cast<int>(some.output(0).size());
  }
  EXPECT_EQ(delivered + some.repliesDropped(), 100);
  EXPECT_GT(delivered, 20);
  EXPECT_GT(some.repliesDropped(), 20);
}

TEST(Q9emuFaults, SplitGivesSeveralReadsThatJoinToTheReply) {
  const auto clean = cleanReplies(30);
  const auto got = faulted({.split = 1, .seed = 11}, 30);
  for (size_t i = 0; i < got.size(); ++i) {
    EXPECT_GE(got[i].size(), 2u);
    EXPECT_LE(got[i].size(), 4u);
    for (const auto& r : got[i]) EXPECT_FALSE(r.empty());
    EXPECT_EQ(joined(got[i]), clean[i]);
  }
}

TEST(Q9emuFaults, CorruptBreaksOnlyTheChecksum) {
  const auto clean = cleanReplies(30);
  const auto got = faulted({.corrupt = 1, .seed = 5}, 30);
  for (size_t i = 0; i < got.size(); ++i) {
    ASSERT_EQ(got[i].size(), 1u);
    const Bytes& r = got[i][0];
    EXPECT_FALSE(checksumRight(r)) << hexOf(r);
    EXPECT_TRUE(std::equal(r.begin(), r.end() - 1, clean[i].begin()));
  }
}

TEST(Q9emuFaults, DelayHoldsRepliesUntilDueAndNeverReorders) {
  q9emu emu(0, {.delayMs = 30});
  emu.receive(hex(kRevisions), 100);
  EXPECT_TRUE(emu.output(129).empty());
  EXPECT_EQ(emu.output(130).size(), 1u);

  q9emu jittery(0, {.delayMs = 10, .jitterMs = 50, .seed = 9});
  for (int i = 0; i < 40; ++i) {
    jittery.receive(hex(withSum("02 B2 01 " + hexOf({static_cast<uint8_t>(i)}))), uint64_t(i));
  }
  const auto reads = jittery.output(10000);
  ASSERT_EQ(reads.size(), 40u);
  for (size_t i = 0; i < reads.size(); ++i) EXPECT_EQ(reads[i].at(3), i) << "reply out of order";
}

TEST(Q9emuFaults, DisconnectAfterNFramesTakesAndSaysNothingMore) {
  q9emu emu(0, {.delayMs = 5, .disconnectAfter = 3});
  emu.receive(hex("00 B3 B3 00 B3 B3 00 B3 B3 00 B3 B3 00 B3 B3"), 0);
  EXPECT_TRUE(emu.disconnected());
  EXPECT_EQ(emu.framesReceived(), 3);
  EXPECT_EQ(emu.output(5).size(), 3u) << "replies already on their way still arrive";
  emu.receive(hex(kRevisions), 10);
  EXPECT_TRUE(emu.output(100).empty());
  EXPECT_FALSE(emu.pending());

  EXPECT_TRUE(q9emu(0, {.disconnectAfter = 0}).disconnected());
  EXPECT_FALSE(q9emu().disconnected());
}

TEST(Q9emuFaults, OneSeedAlwaysGivesTheSameLine) {
  const Faults f = {
      .noise = 0.3, .drop = 0.2, .split = 0.4, .corrupt = 0.2, .jitterMs = 20, .seed = 77};
  EXPECT_EQ(faulted(f, 50), faulted(f, 50));
  Faults other = f;
  other.seed = 78;
  EXPECT_NE(faulted(f, 50), faulted(other, 50));
}

// ---- the pseudo-terminal tool ----

// The tool is built beside the tests folder; skipped when it is not there.
std::filesystem::path simTool() {
  std::error_code ec;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::path() : self.parent_path().parent_path() / "q9sim";
}

int runTool(const std::string& args) {
  const std::string cmd = simTool().string() + " " + args + " >/dev/null 2>&1";
  const int status = std::system(cmd.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(Q9sim, RefusesBadOptionsWithStatusTwo) {
  if (!std::filesystem::exists(simTool())) GTEST_SKIP() << "no q9sim at " << simTool();
  EXPECT_EQ(runTool("--help"), 0);
  for (const char* bad :
       {"--bogus", "--model", "--model 5", "--model x", "--noise 1.5", "--drop -0.1",
        "--delay 12ms", "--disconnect-after -2", "--seed 1e3", "--seconds", "stray"}) {
    EXPECT_EQ(runTool(bad), 2) << bad;
  }
}

}  // namespace
}  // namespace kx90::sim
