// The main window `main`: the keyboard panel with its fixed control set, the
// panel controller's timer, and the receiver of everything the keyboard
// reports. Layouts move and show its controls; nothing is created later.
#pragma once

#include <QLabel>
#include <QMainWindow>
#include <QTimer>
#include <array>
#include <memory>

#include "link/parseq9.h"
#include "panel/controlset.h"
#include "panel/layouts.h"
#include "panel/macrok.h"
#include "shell/panelcontroller.h"

namespace kx90 {

class config;
class prefw;
class Configw;
class macrow;

class main : public QMainWindow,
             public panelhost,
             public panelsurface,
             public q9consumer,
             public macrokowner {
 public:
  main(q9sr& sr, config& settings, messageboxes& boxes);

  // The arrays by index; an index that was not created yields null.
  macrok* macrokey(int i) const;
  macrok* numbk(int i) const;
  QLabel* Line1(int i) const;
  QWidget* Rectangle1() const { return rectangle_; }
  QWidget* jogwheel() const { return jogwheel_; }
  QLabel* Lkey() const { return lkey_; }
  QTimer& Timer1() { return timer1_; }
  panelcontroller& controller() { return controller_; }
  QWidget* panel() const { return centralWidget(); }

  void setmacros(const macrolookup& macros);
  void setprefs(prefw* prefs) { prefs_ = prefs; }
  void setwindows(Configw* setup, macrow* editor) { setup_ = setup, editor_ = editor; }
  // Every key's own open sequence, then the stored model.
  void openkeys();
  void Setkbd(int type) { layouts::Setkbd(*this, type); }

  // panelhost
  bool testf() const override;
  int macrokeycount() const override { return controlset::kMacroKeys; }
  void setlit(int key, bool lit) override;
  void write2kx90(int key) override;
  int linecount() const override { return controlset::kCells; }
  void setline(int cell, const std::string& text) override;
  void setLkey(const std::string& caption) override;
  bool setupvisible() const override;
  void Menuwrite() override;

  // q9consumer
  void UpdLED() override { controller_.UpdLED(); }
  void lcddata(int line, const std::string& text) override { controller_.lcddata(line, text); }
  void settag(int idx, int32_t code) override;
  void pcbrev(const std::string& text) override;
  void corerev(const std::string& text) override;
  void mainrev(const std::string& text) override;
  void rxdatarq() override {}

  // macrokowner
  void action(macrok& key) override;
  bool Macrolocked() override { return controller_.Macrolocked(); }
  std::optional<int32_t> openeditor(macrok& key) override;

  // panelsurface
  void settitle(const std::string& title) override;
  void setwindowsize(int width, int height) override;
  void setkmax(int kmax) override { controller_.kmax = kmax; }
  void setftft(bool ftft) override { controller_.ftft = ftft; }
  void Hideall() override;
  void Readkeys() override { controller_.Readkeys(); }
  bool jog() override;
  void sizekey(keyref key, int width, int height) override;
  void movekey(keyref key, int left, int top) override;
  void showkey(keyref key, bool visible) override;
  void setkeycaption(keyref key, const std::string& caption) override;
  void setkeycolor(keyref key, const std::string& colour) override;
  void clearfled(keyref key) override;
  void clearfmacro(keyref key) override;
  void placerectangle(const controlset::box& at) override;
  void showrectangle(bool visible) override;
  void setcellleft(int cell, int left) override;
  void setcelltop(int cell, int top) override;
  void setcellwidth(int cell, int width) override;
  void setcelltext(int cell, const std::string& text) override;
  void showcell(int cell, bool visible) override;
  void movejogwheel(int left, int top) override;
  void showjogwheel(bool visible) override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void createcontrols();
  void fitpanel();
  macrok* createkey(controlset::keyref ref);
  macrok& key(keyref ref);

  q9sr& sr_;
  config& settings_;
  panelcontroller controller_;
  QWidget* rectangle_ = nullptr;
  std::array<QLabel*, controlset::kCells> cells_{};
  QWidget* jogwheel_ = nullptr;
  std::array<macrok*, controlset::kMacroKeys> macrokeys_{};
  std::array<macrok*, controlset::kNumKeys> numbks_{};
  QLabel* lkey_ = nullptr;
  QTimer timer1_;
  prefw* prefs_ = nullptr;
  Configw* setup_ = nullptr;
  macrow* editor_ = nullptr;
};

}  // namespace kx90
