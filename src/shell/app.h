// The application's objects and how they are wired: the only place that
// knows the start-up order and what each menu command does.
#pragma once

#include <QMenuBar>
#include <filesystem>
#include <memory>

#include "keys/macrow.h"
#include "link/parseq9.h"
#include "link/portselect.h"
#include "link/q9serial.h"
#include "link/q9sr.h"
#include "link/q9view.h"
#include "panel/macrok.h"
#include "panel/main.h"
#include "platform/qtmessageboxes.h"
#include "platform/qtserialservice.h"
#include "prefs/prefw.h"
#include "settings/config.h"
#include "setup/configw.h"
#include "shell/kxapp.h"

namespace kx90 {

class app {
 public:
  // extraports: serial device paths to list beside the system's (tests).
  app(kxapp& application, std::filesystem::path settingsfolder,
      std::vector<std::string> extraports = {});
  ~app();
  app(const app&) = delete;
  app& operator=(const app&) = delete;
  void start();

  main& mainwindow() { return *main_; }
  prefw& preferences() { return *prefw_; }
  Configw& setup() { return *configw_; }
  q9view& trafficview() { return *q9view_; }

  // Menu handlers.
  void ViewPrefw_Action();
  void ViewSetupMenu_Action();
  void ViewQ9View_Action() { q9view_->show(); }

 private:
  void buildmenus(QMenuBar& bar);
  void Event_Open();

  kxapp& application_;
  config settings_;
  qtmessageboxes boxes_;
  qtserialservice serial_;
  q9serial q9serial1_;
  q9sr sr_;
  portselect chooser_;
  emptymacros macros_;
  std::unique_ptr<Configw> configw_;
  std::unique_ptr<macrow> macrow_;
  std::unique_ptr<main> main_;
  std::unique_ptr<q9view> q9view_;
  std::unique_ptr<prefw> prefw_;
};

}  // namespace kx90
