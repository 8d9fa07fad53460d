// The whole program against the keyboard emulator over a pseudo-terminal:
// start-up traffic, and a click on a key that the keyboard answers.
#include <gtest/gtest.h>

#include <QTest>
#include <fstream>

#include "e2e/ptykeyboard.h"
#include "shell/app.h"
#include "support/fakes.h"
#include "support/qtwait.h"

namespace kx90 {
namespace {

using testing::framesof;

using testing::waitfor;

struct AppE2e : ::testing::Test {
  std::unique_ptr<testing::ptykeyboard> keyboard;
  testing::tempfolder folder;
  std::unique_ptr<app> program;

  void start(int model) {
    keyboard = std::make_unique<testing::ptykeyboard>(model);
    auto& pty = *keyboard;
    ASSERT_FALSE(pty.path.empty());
    std::ofstream ini(folder.path() / "KX-90.ini");
    ini << "serport0\n" << pty.path << "\nkeyboard\n" << model << "\n";
    ini.close();
    program = std::make_unique<app>(*static_cast<kxapp*>(QCoreApplication::instance()),
                                    folder.path(), std::vector<std::string>{pty.path});
    program->start();
  }
};

TEST_F(AppE2e, StartUpReadsTheConfigurationThenPolls) {
  start(0);
  auto& pty = *keyboard;
  ASSERT_TRUE(waitfor([&] { return framesof(pty.heard).size() >= 18; }));
  const auto frames = framesof(pty.heard);
  std::vector<std::string> want;
  for (int block = 0; block < 4; ++block) {
    for (int offset = 0; offset < 32; offset += 8) {
      frame f = {0x02, 0xB2, static_cast<uint8_t>(block), static_cast<uint8_t>(offset)};
      q9sr::appendsum(f);
      want.push_back(testing::tohex(f));
    }
  }
  want.push_back("01 B9 01 BB");
  want.push_back("01 B9 02 BC");
  EXPECT_EQ(std::vector<std::string>(frames.begin(), frames.begin() + 18), want);
  // The first 32 key codes came in with block 1.
  EXPECT_TRUE(waitfor([&] { return program->mainwindow().macrokey(31)->tag == 31; }));
}

TEST_F(AppE2e, AClickReachesTheKeyboardAndItsReportLightsTheKey) {
  start(0);
  auto& pty = *keyboard;
  auto& panel = program->mainwindow();
  ASSERT_TRUE(waitfor([&] { return framesof(pty.heard).size() >= 18; }));
  macrok* key = panel.macrokey(3);
  QTest::mousePress(key, Qt::LeftButton, {}, QPoint(30, 30));
  EXPECT_EQ(panel.Lkey()->text(), "M3");
  ASSERT_TRUE(waitfor([&] { return pty.keyboard.ledLit(3); }, 100));  // within one tick
  QTest::mouseRelease(key, Qt::LeftButton, {}, QPoint(30, 30));
  key->setlit(false);  // forget the click's own toggle: the report must light it
  ASSERT_TRUE(waitfor([&] { return key->lit; }, 1000));
  EXPECT_EQ(program->preferences().isVisible(), false);
  ASSERT_TRUE(waitfor([&] { return panel.Line1(2)->text() == "Key 3"; }, 1000));
}

TEST_F(AppE2e, GraphicModelShowsTheTimecodeRegrouped) {
  start(2);
  auto& panel = program->mainwindow();
  EXPECT_EQ(panel.windowTitle(), "KX-VS");
  EXPECT_TRUE(waitfor([&] {
    return panel.Line1(2)->text().count(':') == 3 && panel.Line1(2)->text().size() == 11;
  }));
}

}  // namespace
}  // namespace kx90
