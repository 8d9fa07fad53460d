// The preferences window: the serial port, the keyboard model, the jog
// option, the switch that stops idle polling, and the keyboard's revisions.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QTabBar>
#include <QWidget>
#include <array>

#include "link/portselect.h"
#include "platform/messageboxes.h"
#include "settings/config.h"

namespace kx90 {

class main;

class prefw : public QWidget {
 public:
  static constexpr int kModels = 5;

  prefw(main& panel, portselect& chooser, config& settings, messageboxes& boxes,
        QWidget* parent = nullptr);

  // Runs once, when the window is created at start-up.
  void Event_Open();
  void Setkeyboard(int n);
  bool testf() const { return testf_->isChecked(); }

  QLabel* pcbrev() const { return pcbrev_; }
  QLabel* corerev() const { return corerev_; }
  QLabel* mainrev() const { return mainrev_; }
  QComboBox* portselect1() const { return ports_; }
  QRadioButton* rb1(int i) const { return i >= 0 && i < kModels ? rb1_[i] : nullptr; }
  QCheckBox* jog() const { return jog_; }

 private:
  void buildfirsttab(QWidget* tab);
  void buildsecondtab(QWidget* tab);
  void fillchooser();
  void rb1_Action(int i);
  void jog_Action();

  main& panel_;
  portselect& chooser_;
  config& settings_;
  messageboxes& boxes_;
  QTabBar* tabs_;
  std::array<QWidget*, 2> pages_{};
  QGroupBox* keyboard_ = nullptr;
  std::array<QRadioButton*, kModels> rb1_{};
  QCheckBox* jog_ = nullptr;
  QComboBox* ports_ = nullptr;
  QLabel* pcbrev_ = nullptr;
  QLabel* corerev_ = nullptr;
  QLabel* mainrev_ = nullptr;
  QListWidget* lb1_ = nullptr;
  QCheckBox* testf_ = nullptr;
};

}  // namespace kx90
