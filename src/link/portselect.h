// The port chooser's logic: its rows ("none" and every serial port), the
// saved choice restored at start, and opening whatever the user picks. The
// preferences window shows it as a pop-up list.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "link/q9serial.h"
#include "platform/serialservice.h"
#include "settings/config.h"

namespace kx90 {

class portselect {
 public:
  // The program has one chooser; its number names its settings key.
  static constexpr int kNumber = 0;
  static std::string settingskey() { return "serport" + std::to_string(kNumber); }

  portselect(serialservice& ports, config& settings, q9serial& link);

  void refresh();
  // When the chooser is created: list the ports and reopen the saved one.
  void Event_Open();
  // The user (or the saved choice) selects a row.
  void select(int row);

  const std::vector<std::string>& rows() const { return rows_; }
  // The selected row, or -1 when nothing is selected.
  int selected() const { return selected_; }

  // Lets the widget that shows the chooser follow its rows and selection.
  std::function<void()> changed;

 private:
  void Event_Change();
  void notify() const {
    if (changed) changed();
  }

  serialservice& ports_;
  config& settings_;
  q9serial& link_;
  std::vector<std::string> rows_;
  int selected_ = -1;
};

}  // namespace kx90
