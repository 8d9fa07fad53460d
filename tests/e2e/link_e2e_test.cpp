// The program's real link (QSerialPort on a pseudo-terminal, the ring and
// frame cutter, the request frames and the dispatcher) against the keyboard
// emulator on the other side of the line.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <random>

#include "e2e/ptykeyboard.h"
#include "link/parseq9.h"
#include "link/q9serial.h"
#include "link/q9sr.h"
#include "platform/qtserialservice.h"
#include "support/fakes.h"
#include "support/qtwait.h"

namespace kx90 {
namespace {

using testing::framesof;

using testing::spin;
using testing::waitfor;

// The firmware sender: answers each chunk request with the next chunk.
struct firmwareconsumer : testing::recordingconsumer {
  q9sr* sr = nullptr;
  std::vector<uint8_t> image;
  size_t sentbytes = 0;
  bool finished = false;
  void rxdatarq() override {
    if (finished) return;
    frame f;
    const size_t k = std::min<size_t>(8, image.size() - sentbytes);
    f.push_back(static_cast<uint8_t>(k + 1));
    f.push_back(0xB0);
    f.push_back(0x01);
    f.insert(f.end(), image.begin() + sentbytes, image.begin() + sentbytes + k);
    sentbytes += k;
    finished = k == 0;
    q9sr::appendsum(f);
    sr->q9write(f);
  }
};

struct LinkE2e : ::testing::Test {
  std::unique_ptr<testing::ptykeyboard> pty;
  testing::tempfolder folder;
  config settings{folder.path()};
  testing::recordingboxes boxes;
  std::unique_ptr<qtserialservice> service;
  std::unique_ptr<q9serial> link;
  std::unique_ptr<q9sr> sr;
  firmwareconsumer keys;
  std::vector<std::string> frames;  // every frame the link handed over
  QTimer timer1;

  void start(sim::Faults faults = {}, int model = 0) {
    pty = std::make_unique<testing::ptykeyboard>(model, faults);
    ASSERT_FALSE(pty->path.empty());
    settings.initconfig("KX-90");
    service = std::make_unique<qtserialservice>(std::vector<std::string>{pty->path});
    link = std::make_unique<q9serial>(*service, settings, boxes);
    sr = std::make_unique<q9sr>(*link);
    keys.sr = sr.get();
    link->parseinput = [this](framebuffer& f) {
      frames.push_back(testing::tohex(std::span(f).first(framedatalength(f[0]) + 3)));
      parseq9(*sr, keys, f);
    };
    const auto names = service->portnames();
    link->portopen(static_cast<int>(names.size()) - 2);  // the pty, before the simulated keyboard
    ASSERT_TRUE(link->serialopen);
    QObject::connect(&timer1, &QTimer::timeout, [this] { sr->buildrq(false); });
  }

  void polling(int periodms = 50) { timer1.start(periodms); }
};

TEST_F(LinkE2e, PollsBringLedAndDisplayReports) {
  start();
  polling(10);
  ASSERT_TRUE(waitfor([&] { return keys.calls.size() >= 4; }));
  EXPECT_EQ(keys.calls[0], "lcddata 0 " + pty->keyboard.line(0));
  sr->q9kdown(3);
  ASSERT_TRUE(waitfor([&] { return sr->leddata[0] == 0x08; }));
  EXPECT_NE(std::find(keys.calls.begin(), keys.calls.end(), "UpdLED"), keys.calls.end());
  ASSERT_TRUE(waitfor([&] {
    return std::find(keys.calls.begin(), keys.calls.end(), "lcddata 2 Key 3") != keys.calls.end();
  }));
  EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(LinkE2e, BlockReadsAndWritesReachTheKeyboardsMemory) {
  start();
  sr->Wrteeprom(1, 5, 42);
  sr->Wrteeprom(2, 16, 0);
  sr->wrteemu(1, 3, 7);
  for (int offset = 0; offset < 32; offset += 8) sr->rqconfig(0, offset);
  sr->rdeeprom(1, 0);
  sr->rqconfig(2, 0);
  sr->rqversion();
  ASSERT_TRUE(waitfor([&] { return frames.size() >= 7; }));
  EXPECT_EQ(pty->keyboard.keytable()[5], 42);
  EXPECT_EQ(pty->keyboard.block(2)[3], 7);
  for (int i = 0; i < 32; ++i) EXPECT_EQ(sr->uconfig[i], pty->keyboard.block(0)[i]) << i;
  EXPECT_EQ(sr->uconfig[16], 0);
  EXPECT_EQ(keys.tags[5], 42);
  EXPECT_EQ(sr->bconfig[3], 7);
  EXPECT_EQ(keys.calls.back().rfind("main rev - ", 0), 0u);
}

TEST_F(LinkE2e, FirmwareImageArrivesByteIdentical) {
  start();
  std::mt19937 random(7);
  keys.image.resize(64 * 1024);
  for (auto& b : keys.image) b = static_cast<uint8_t>(random());
  polling(50);
  sr->q9initdown();
  ASSERT_TRUE(waitfor([&] { return pty->keyboard.firmwareComplete(); }, 60000));
  EXPECT_EQ(pty->keyboard.firmwareLength(), keys.image.size());
  EXPECT_TRUE(std::equal(keys.image.begin(), keys.image.end(), pty->keyboard.firmware().begin(),
                         pty->keyboard.firmware().end()));
}

TEST_F(LinkE2e, SplitDelayedAndDroppedRepliesAreDispatchedInOrder) {
  start({.drop = 0.2, .split = 0.7, .delayMs = 15, .jitterMs = 10, .seed = 11});
  polling(10);
  for (int i = 0; i < 60; ++i) {
    sr->q9kdown(i % 22);
    spin(20);
  }
  timer1.stop();
  spin(200);
  EXPECT_GT(pty->keyboard.repliesDropped(), 0);
  const auto sent = framesof(pty->sent);
  ASSERT_GT(sent.size(), 30u);
  EXPECT_EQ(frames, sent);
}

TEST_F(LinkE2e, NoiseAndCorruptionNeverStopTheLink) {
  start({.noise = 0.4, .split = 0.3, .corrupt = 0.1, .seed = 5});
  polling(10);
  spin(1500);
  timer1.stop();
  spin(100);
  const int answered = pty->keyboard.framesAnswered();
  ASSERT_GT(answered, 20);
  EXPECT_GT(static_cast<int>(frames.size()), answered * 7 / 10);
  EXPECT_TRUE(boxes.texts.empty());
}

double cpuseconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

TEST_F(LinkE2e, ADisconnectedKeyboardLeavesTheProgramIdle) {
  start();
  polling(50);
  ASSERT_TRUE(waitfor([&] { return !frames.empty(); }));
  // A cable pulled while nothing is being sent fails on reading.
  timer1.stop();
  pty->hangup();
  ASSERT_TRUE(waitfor([&] { return !link->serialopen; }));
  bool ticked = false;
  QTimer::singleShot(0, [&] { ticked = true; });
  EXPECT_TRUE(waitfor([&] { return ticked; }, 100));

  polling(50);
  const double before = cpuseconds();
  QElapsedTimer wall;
  wall.start();
  QEventLoop loop;
  QTimer::singleShot(2000, &loop, &QEventLoop::quit);
  loop.exec();
  const double used = cpuseconds() - before;
  EXPECT_LT(used, 0.1 * wall.elapsed() / 1000.0) << used << " s of CPU";
  EXPECT_EQ(link->portname, "None");
  EXPECT_TRUE(boxes.texts.empty());
}

}  // namespace
}  // namespace kx90

namespace kx90 {
namespace {

// The same link against q9sim, the emulator as a program of its own.
TEST(Q9simE2e, ServesTheLinkOnItsPseudoTerminal) {
  const QString tool = QCoreApplication::applicationDirPath() + "/../q9sim";
  if (!QFileInfo::exists(tool)) GTEST_SKIP() << "no q9sim beside the tests";
  QTemporaryDir dir;
  const QString image = dir.filePath("image.bin");
  QProcess sim;
  sim.start(tool, {"--model", "2", "--seconds", "20", "--firmware-out", image});
  ASSERT_TRUE(sim.waitForStarted());
  ASSERT_TRUE(waitfor([&] { return sim.canReadLine(); }));
  const std::string path = sim.readLine().trimmed().toStdString();

  testing::tempfolder folder;
  config settings{folder.path()};
  settings.initconfig("KX-90");
  testing::recordingboxes boxes;
  qtserialservice service{{path}};
  q9serial link{service, settings, boxes};
  q9sr sr{link};
  firmwareconsumer keys;
  keys.sr = &sr;
  keys.image = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
  link.parseinput = [&](framebuffer& f) { parseq9(sr, keys, f); };
  link.portopen(static_cast<int>(service.portnames().size()) - 2);
  ASSERT_TRUE(link.serialopen);

  QTimer timer1;
  QObject::connect(&timer1, &QTimer::timeout, [&] { sr.buildrq(false); });
  timer1.start(10);
  // The graphic display's time code comes as line 2.
  EXPECT_TRUE(waitfor([&] {
    return std::any_of(keys.calls.begin(), keys.calls.end(),
                       [](const std::string& c) { return c.rfind("lcddata 2 ", 0) == 0; });
  }));
  sr.q9initdown();
  EXPECT_TRUE(waitfor([&] { return QFileInfo(image).size() == 11; }));
  sim.terminate();
  sim.waitForFinished();
}

}  // namespace
}  // namespace kx90
