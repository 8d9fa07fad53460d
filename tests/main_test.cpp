// The main window's widgets follow the layouts exactly as the plain panel
// model does, from the control set as created through model changes.
#include "panel/main.h"

#include <gtest/gtest.h>

#include <QTest>

#include "settings/config.h"
#include "support/fakes.h"
#include "support/panelstate.h"

namespace kx90 {
namespace {

using controlset::box;

box boxof(const QWidget* w) {
  return {w->x(), w->y(), w->width(), w->height()};
}

struct MainTest : ::testing::Test {
  testing::tempfolder folder;
  config settings{folder.path()};
  testing::recordingwriter link;
  testing::recordingboxes boxes;
  q9sr sr{link};
  std::unique_ptr<main> window;

  void SetUp() override {
    settings.initconfig("KX-90");
    window = std::make_unique<main>(sr, settings, boxes);
    window->openkeys();
  }

  // Hidden widgets report isVisible() false, so compare the explicit state.
  static bool shown(const QWidget* w) { return !w->isHidden(); }

  void expectsame(const testing::panelstate& want, const std::string& where) {
    const auto& m = *window;
    for (int i = 0; i < controlset::kMacroKeys; ++i) {
      const auto& k = want.macrokey[i];
      EXPECT_EQ(boxof(m.macrokey(i)), k.at) << where << " macrokey " << i;
      EXPECT_EQ(shown(m.macrokey(i)), k.visible) << where << " macrokey " << i;
      EXPECT_EQ(m.macrokey(i)->fled, k.fled) << where << " macrokey " << i;
    }
    for (int i = 0; i < controlset::kNumKeys; ++i) {
      const auto& k = want.numbk[i];
      EXPECT_EQ(boxof(m.numbk(i)), k.at) << where << " numbk " << i;
      EXPECT_EQ(shown(m.numbk(i)), k.visible) << where << " numbk " << i;
      EXPECT_EQ(m.numbk(i)->fled, k.fled) << where << " numbk " << i;
      EXPECT_EQ(m.numbk(i)->fmacro, k.fmacro) << where << " numbk " << i;
      if (k.caption != "Caption") {
        EXPECT_EQ(m.numbk(i)->caption, k.caption) << where << " numbk " << i;
      }
    }
    for (int c = 0; c < controlset::kCells; ++c) {
      EXPECT_EQ(boxof(m.Line1(c)), want.cells[c].at) << where << " cell " << c;
      EXPECT_EQ(shown(m.Line1(c)), want.cells[c].visible) << where << " cell " << c;
      EXPECT_EQ(m.Line1(c)->text().toStdString(), want.cells[c].text) << where << " cell " << c;
    }
    EXPECT_EQ(boxof(m.Rectangle1()), want.rectangle) << where;
    EXPECT_EQ(shown(m.Rectangle1()), want.rectanglevisible) << where;
    EXPECT_EQ(boxof(m.jogwheel()), want.jogwheel) << where;
    EXPECT_EQ(shown(m.jogwheel()), want.jogvisible) << where;
    EXPECT_EQ(m.windowTitle().toStdString(), want.title) << where;
    EXPECT_EQ(m.panel()->width(), want.width) << where;
    EXPECT_EQ(m.panel()->height(), want.height) << where;
  }
};

TEST_F(MainTest, WidgetsFollowEveryLayoutAndWhatItLeavesAlone) {
  testing::panelstate want;
  expectsame(want, "as created");
  for (int type : {3, 2, 0, 1, 4, 3, 7, 0}) {
    want.jogsetting = settings.getbool("jog");
    layouts::Setkbd(want, type);
    window->Setkbd(type);
    expectsame(want, "model " + std::to_string(type));
    settings.putbool("jog", !settings.getbool("jog"));
  }
}

TEST_F(MainTest, IndicesBeyondTheArraysYieldNoControl) {
  for (int i : {-1, 40, 63, 1000}) EXPECT_EQ(window->macrokey(i), nullptr);
  for (int i : {-1, 24}) EXPECT_EQ(window->numbk(i), nullptr);
  EXPECT_EQ(window->Line1(10), nullptr);
  window->settag(50, 7);  // a key record for a key the panel does not have
  window->setlit(40, true);
  window->setline(12, "x");
}

TEST_F(MainTest, AKeyClickNamesTheKeyAndGoesOutOnTheNextIdleTick) {
  window->Setkbd(1);
  QTest::mousePress(window->numbk(11), Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_EQ(window->Lkey()->text(), "N11");
  window->controller().tmode = panelcontroller::kIdle;
  window->controller().Timer1_Action();
  ASSERT_FALSE(link.frames.empty());
  EXPECT_EQ(link.frames.back(), "02 B8 0B 00 C5");
}

}  // namespace
}  // namespace kx90
