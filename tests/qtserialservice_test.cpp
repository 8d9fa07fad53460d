#include "platform/qtserialservice.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include "support/hex.h"
#include "support/qtwait.h"

namespace kx90 {
namespace {

using testing::spin;
using testing::waitfor;

// A pseudo-terminal whose slave path the service lists as an extra port.
struct ptypair {
  int master = -1;
  int slave = -1;
  std::string path;
  ptypair() {
    char name[256] = {};
    if (openpty(&master, &slave, name, nullptr, nullptr) == 0) path = name;
  }
  ~ptypair() {
    if (master >= 0) ::close(master);
    if (slave >= 0) ::close(slave);
  }
};

struct QtSerialServiceTest : ::testing::Test {
  ptypair pty;
  qtserialservice service{{pty.path}};
  int index = -1;

  void SetUp() override {
    ASSERT_FALSE(pty.path.empty());
    const auto names = service.portnames();
    ASSERT_FALSE(names.empty());
    ASSERT_GE(names.size(), 2u);
    index = static_cast<int>(names.size()) - 2;
    EXPECT_EQ(names[index], pty.path);
    service.setlinesettings(linesettings{});
    ASSERT_TRUE(service.open(index));
  }
};

TEST_F(QtSerialServiceTest, OpensWithTheProtocolsLineSettings) {
  termios t{};
  ASSERT_EQ(tcgetattr(pty.slave, &t), 0);
  EXPECT_EQ(cfgetispeed(&t), B38400);
  EXPECT_EQ(cfgetospeed(&t), B38400);
  EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  EXPECT_TRUE(t.c_cflag & CSTOPB);
  EXPECT_FALSE(t.c_cflag & CRTSCTS);
  EXPECT_FALSE(t.c_iflag & (IXON | IXOFF));
  // The pty driver drops PARENB whatever is asked; the port reports odd.
  EXPECT_EQ(service.current(), linesettings{});
  EXPECT_EQ(service.portname(index), pty.path);
}

TEST_F(QtSerialServiceTest, MovesBytesBothWays) {
  std::vector<uint8_t> got;
  service.ondataavailable([&] {
    auto more = service.readall();
    got.insert(got.end(), more.begin(), more.end());
  });
  const auto frame = testing::hex("14 B9 0A 01 00 00 D8");
  ASSERT_EQ(::write(pty.master, frame.data(), frame.size()), 7);
  EXPECT_TRUE(waitfor([&] { return got.size() == 7; }));
  EXPECT_EQ(got, frame);

  service.write(testing::hex("01 B9 01 BB"));
  uint8_t buf[16];
  ASSERT_TRUE(waitfor([&] {
    pollfd p{pty.master, POLLIN, 0};
    return ::poll(&p, 1, 0) == 1;
  }));
  EXPECT_EQ(::read(pty.master, buf, sizeof buf), 4);
  EXPECT_EQ(testing::tohex(std::span(buf, 4)), "01 B9 01 BB");
}

TEST_F(QtSerialServiceTest, ClosesAPortWhoseOtherSideWentAway) {
  int lost = 0;
  service.onlost([&] { ++lost; });
  ::close(pty.master);
  pty.master = -1;
  EXPECT_TRUE(waitfor([&] { return lost > 0; }));
  waitfor([] { return false; }, 200);
  EXPECT_EQ(lost, 1);
  EXPECT_FALSE(service.isopen());
}

TEST(QtSerialService, OpenOutsideTheListFails) {
  qtserialservice service{{"/dev/kx90-no-such-port"}};
  const int n = static_cast<int>(service.portnames().size());
  EXPECT_FALSE(service.open(n));
  EXPECT_FALSE(service.open(n - 2));  // the path; the simulated keyboard is last
  EXPECT_FALSE(service.open(-1));
  EXPECT_FALSE(service.isopen());
  EXPECT_EQ(service.portname(n), "");
}

}  // namespace
}  // namespace kx90
