// A plain stand-in for the main window until the keyboard panel exists: it
// shows the port chooser, the LED bits, the display lines and the revisions
// the keyboard reports.
#pragma once

#include <QComboBox>
#include <QLabel>
#include <QWidget>
#include <array>

#include "link/parseq9.h"
#include "link/portselect.h"

namespace kx90 {

class placeholderwindow : public QWidget, public q9consumer {
 public:
  static constexpr int kLines = 10;

  placeholderwindow(q9sr& sr, portselect& chooser);

  void UpdLED() override;
  void lcddata(int line, const std::string& text) override;
  int macrokeycount() const override { return 0; }
  void settag(int, int32_t) override {}
  void pcbrev(const std::string& text) override { pcb_->setText(QString::fromLatin1(text)); }
  void corerev(const std::string& text) override { core_->setText(QString::fromLatin1(text)); }
  void mainrev(const std::string& text) override { main_->setText(QString::fromLatin1(text)); }
  void rxdatarq() override {}

 private:
  void fillchooser();

  q9sr& sr_;
  portselect& chooser_;
  QComboBox* ports_;
  QLabel* leds_;
  std::array<QLabel*, kLines> lines_{};
  QLabel* pcb_;
  QLabel* core_;
  QLabel* main_;
};

}  // namespace kx90
