// The application's objects and how they are wired: the only place that
// knows the start-up order.
#pragma once

#include <QTimer>
#include <filesystem>

#include "link/parseq9.h"
#include "link/portselect.h"
#include "link/q9serial.h"
#include "link/q9sr.h"
#include "platform/qtmessageboxes.h"
#include "platform/qtserialservice.h"
#include "settings/config.h"
#include "shell/kxapp.h"
#include "shell/placeholderwindow.h"

namespace kx90 {

class app {
 public:
  static constexpr int kTimerPeriodMs = 50;

  app(kxapp& application, std::filesystem::path settingsfolder);
  void start();

 private:
  kxapp& application_;
  config settings_;
  qtmessageboxes boxes_;
  qtserialservice serial_;
  q9serial q9serial1_;
  q9sr sr_;
  portselect chooser_;
  placeholderwindow window_;
  QTimer timer1_;
};

}  // namespace kx90
