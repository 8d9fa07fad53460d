#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include "platform/qtserialservice.h"
#include "support/hex.h"
#include "support/qtwait.h"

namespace kx90 {
namespace {

using testing::spin;
using testing::waitfor;

TEST(SimulatedKeyboard, IsListedLastAndAnswersThroughTheEventLoop) {
  int model = 2;
  qtserialservice service{{"/dev/kx90-extra"}, [&] { return model; }};
  const auto names = service.portnames();
  ASSERT_GE(names.size(), 2u);
  EXPECT_EQ(names.back(), "Simulated keyboard");
  EXPECT_EQ(names[names.size() - 2], "/dev/kx90-extra");
  const int index = static_cast<int>(names.size()) - 1;
  ASSERT_TRUE(service.open(index));
  ASSERT_NE(service.simulated(), nullptr);
  EXPECT_EQ(service.simulated()->model(), 2);

  std::vector<uint8_t> got;
  bool inwrite = false;
  service.ondataavailable([&] {
    EXPECT_FALSE(inwrite);
    auto more = service.readall();
    got.insert(got.end(), more.begin(), more.end());
  });
  inwrite = true;
  service.write(testing::hex("01 B9 01 BB"));
  inwrite = false;
  EXPECT_TRUE(got.empty());
  ASSERT_TRUE(waitfor([&] { return got.size() >= 7; }));
  EXPECT_EQ(testing::tohex(got), "14 B9 0A 00 00 00 D7");

  // The keyboard keeps its memory when the port is closed and reopened.
  service.write(testing::hex("03 B1 01 05 2A E4"));
  service.close();
  EXPECT_FALSE(service.isopen());
  service.write(testing::hex("03 B1 01 05 2B E5"));  // goes nowhere
  ASSERT_TRUE(service.open(index));
  EXPECT_EQ(service.simulated()->keytable()[5], 0x2A);
}

}  // namespace
}  // namespace kx90
