// Start-up and the menu commands of the whole application, without a port.
#include "shell/app.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QMenu>
#include <fstream>

#include "support/fakes.h"

namespace kx90 {
namespace {

struct AppTest : ::testing::Test {
  testing::tempfolder folder;
  std::unique_ptr<app> program;

  void start(const std::string& ini = {}) {
    if (!ini.empty()) std::ofstream(folder.path() / "KX-90.ini") << ini;
    program =
        std::make_unique<app>(*static_cast<kxapp*>(QCoreApplication::instance()), folder.path());
    program->start();
  }
};

TEST_F(AppTest, WithoutASettingsFileThePanelIsAsCreated) {
  start();
  auto& m = program->mainwindow();
  EXPECT_EQ(m.windowTitle(), "KX-90USB ");
  EXPECT_EQ(m.panel()->width(), 740);
  EXPECT_EQ(m.Line1(0)->text(), " The Dis");
  EXPECT_EQ(m.macrokey(0)->tag, 0);
  EXPECT_FALSE(program->preferences().isVisible());
  EXPECT_FALSE(program->setup().isVisible());
  EXPECT_FALSE(program->trafficview().isVisible());
  // The start-up configuration read replaced the key read.
  EXPECT_EQ(m.controller().tmode, panelcontroller::kConfigBlock0);
  for (int i = 0; i < 5; ++i) EXPECT_FALSE(program->preferences().rb1(i)->isChecked());
}

TEST_F(AppTest, StoredModelAndKeyCodesAreRestored) {
  start("keyboard\n3\njog\ntrue\nmacrokey5\n42\nnumbk2\n7\n");
  auto& m = program->mainwindow();
  EXPECT_EQ(m.windowTitle(), "HBW-VS");
  EXPECT_EQ(m.macrokey(5)->tag, 42);
  EXPECT_EQ(m.numbk(2)->tag, 7);
  EXPECT_TRUE(program->preferences().rb1(3)->isChecked());
  EXPECT_TRUE(program->preferences().jog()->isChecked());
  EXPECT_FALSE(m.jogwheel()->isHidden());
}

TEST_F(AppTest, ViewMenuCommands) {
  start();
  auto& c = program->mainwindow().controller();
  program->ViewPrefw_Action();
  EXPECT_TRUE(program->preferences().isVisible());
  EXPECT_EQ(c.tmode, panelcontroller::kRevisions);
  c.tmode = panelcontroller::kIdle;
  program->ViewPrefw_Action();
  EXPECT_FALSE(program->preferences().isVisible());
  EXPECT_EQ(c.tmode, panelcontroller::kIdle);

  for (bool shown : {true, false}) {
    c.tmode = panelcontroller::kIdle;
    program->ViewSetupMenu_Action();
    EXPECT_EQ(program->setup().fvisible, shown);
    EXPECT_EQ(c.tmode, panelcontroller::kConfigBlock0);  // a read either way
  }
  program->ViewQ9View_Action();
  EXPECT_TRUE(program->trafficview().isVisible());
}

TEST_F(AppTest, ChoosingAModelInThePreferencesLaysOutAndStoresIt) {
  start();
  program->preferences().rb1(1)->click();
  EXPECT_EQ(program->mainwindow().windowTitle(), "MQ-90usb");
  std::ifstream ini(folder.path() / "KX-90.ini");
  std::string text((std::istreambuf_iterator<char>(ini)), {});
  EXPECT_NE(text.find("keyboard\n1\n"), std::string::npos);
}

}  // namespace
}  // namespace kx90

namespace kx90 {
namespace {

QAction* menuitem(QMenuBar* bar, const QString& text) {
  for (QAction* menu : bar->actions()) {
    for (QAction* item : menu->menu()->actions())
      if (item->text() == text) return item;
  }
  return nullptr;
}

TEST_F(AppTest, EditMenuWorksOnTheFocusedTextField) {
  start();
  QLineEdit field("macro text");
  field.show();
  QApplication::setActiveWindow(&field);
  field.setFocus();
  ASSERT_EQ(QApplication::focusWidget(), &field);
  QMenuBar* bar = program->mainwindow().menuBar();
  menuitem(bar, "Select &All")->trigger();
  EXPECT_EQ(field.selectedText(), "macro text");
  menuitem(bar, "Cu&t")->trigger();
  EXPECT_EQ(field.text(), "");
  menuitem(bar, "&Undo")->trigger();
  EXPECT_EQ(field.text(), "macro text");
  ASSERT_NE(menuitem(bar, "Save"), nullptr);
  menuitem(bar, "Save")->trigger();  // does nothing
}

}  // namespace
}  // namespace kx90
