// The application's objects and how they are wired: the only place that
// knows the start-up order and what each menu command does.
#pragma once

#include <QMenuBar>
#include <filesystem>
#include <memory>

#include "link/parseq9.h"
#include "link/portselect.h"
#include "link/q9serial.h"
#include "link/q9sr.h"
#include "panel/macrok.h"
#include "panel/main.h"
#include "platform/qtmessageboxes.h"
#include "platform/qtserialservice.h"
#include "prefs/prefw.h"
#include "settings/config.h"
#include "shell/kxapp.h"

namespace kx90 {

class app {
 public:
  // extraports: serial device paths to list beside the system's (tests).
  app(kxapp& application, std::filesystem::path settingsfolder,
      std::vector<std::string> extraports = {});
  void start();

  main& mainwindow() { return *main_; }
  prefw& preferences() { return *prefw_; }

  // Menu handlers.
  void ViewPrefw_Action();
  void ViewSetupMenu_Action();

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
  std::unique_ptr<main> main_;
  std::unique_ptr<prefw> prefw_;
};

}  // namespace kx90
