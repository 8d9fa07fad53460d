#include "link/portselect.h"

#include <gtest/gtest.h>

#include "support/linkparts.h"

namespace kx90 {
namespace {

struct PortselectTest : ::testing::Test, testing::linkparts {
  portselect chooser{port, settings, link};
  std::vector<std::string> names;

  void SetUp() override {
    link.newname = [this](const std::string& n) { names.push_back(n); };
  }
};

TEST_F(PortselectTest, RowsAreNoneThenThePorts) {
  chooser.refresh();
  EXPECT_EQ(chooser.rows(), (std::vector<std::string>{"none", "ttyUSB0", "ttyS0"}));
  EXPECT_EQ(chooser.selected(), -1);
}

TEST_F(PortselectTest, OpenRestoresTheSavedPortIgnoringCase) {
  settings.putconfig(portselect::settingskey(), "TTYs0");
  chooser.Event_Open();
  EXPECT_EQ(chooser.selected(), 2);
  EXPECT_TRUE(link.serialopen);
  EXPECT_EQ(port.openedindex, 1);
  // The same text in other letter case is no change to store.
  EXPECT_EQ(settings.getstring("serport0"), "TTYs0");
  EXPECT_EQ(names, std::vector<std::string>{"ttyS0"});
}

TEST_F(PortselectTest, OpenWithAPortNoLongerListedOpensNothing) {
  for (const char* saved : {"ttyACM3", ""}) {
    settings.putconfig(portselect::settingskey(), saved);
    chooser.Event_Open();
    EXPECT_EQ(chooser.selected(), -1);
    EXPECT_FALSE(link.serialopen);
    EXPECT_TRUE(names.empty());
  }
}

TEST_F(PortselectTest, PickingRowsStoresAndOpens) {
  chooser.refresh();
  chooser.select(1);
  EXPECT_TRUE(link.serialopen);
  EXPECT_EQ(port.openedindex, 0);
  chooser.select(0);
  EXPECT_FALSE(link.serialopen);
  EXPECT_EQ(link.portname, "None");
  EXPECT_EQ(settings.getstring("serport0"), "none");
  EXPECT_TRUE(boxes.texts.empty());
  chooser.select(7);  // no such row
  EXPECT_EQ(chooser.selected(), 0);
  EXPECT_EQ(names, (std::vector<std::string>{"ttyUSB0", "None"}));
}

}  // namespace
}  // namespace kx90
