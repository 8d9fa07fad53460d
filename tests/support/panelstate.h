// A panel that keeps what the layout routines set, starting from the
// control set as created, and logs the steps that must come in order.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "panel/controlset.h"
#include "panel/layouts.h"

namespace kx90::testing {

struct keystate {
  controlset::box at;
  bool visible = false;
  std::string caption = "Caption";
  std::string colour;
  bool fled = true;
  bool fmacro = true;
};

struct cellstate {
  controlset::box at;
  bool visible = true;
  std::string text;
};

class panelstate : public panelsurface {
 public:
  std::array<keystate, controlset::kMacroKeys> macrokey;
  std::array<keystate, controlset::kNumKeys> numbk;
  std::array<cellstate, controlset::kCells> cells;
  controlset::box rectangle = controlset::kRectangle1;
  bool rectanglevisible = false;
  controlset::box jogwheel = controlset::kJogwheel;
  bool jogvisible = true;
  std::string title = controlset::kTitle;
  int width = controlset::kWindowWidth;
  int height = controlset::kWindowHeight;
  int kmax = 23;
  bool ftft = false;
  bool jogsetting = false;
  std::vector<std::string> log;

  panelstate() {
    for (int i = 0; i < controlset::kMacroKeys; ++i) {
      macrokey[i].at = controlset::macrokeys()[i].at;
      macrokey[i].visible = controlset::macrokeys()[i].visible;
    }
    for (int i = 0; i < controlset::kNumKeys; ++i) {
      numbk[i].at = controlset::numbks()[i].at;
      numbk[i].visible = controlset::numbks()[i].visible;
    }
    for (int c = 0; c < controlset::kCells; ++c)
      cells[c] = {controlset::cells()[c], true, controlset::celltexts()[c]};
  }

  keystate& key(keyref k) {
    return k.in == controlset::group::macrokey ? macrokey.at(k.index) : numbk.at(k.index);
  }

  void settitle(const std::string& t) override { title = t; }
  void setwindowsize(int w, int h) override { width = w, height = h; }
  void setkmax(int k) override { kmax = k; }
  void setftft(bool f) override { ftft = f; }
  void Hideall() override {
    log.push_back("Hideall");
    rectanglevisible = false;
    for (auto& k : macrokey) k.visible = false;
    for (auto& k : numbk) k.visible = false;
  }
  void Readkeys() override { log.push_back("Readkeys"); }
  bool jog() override { return jogsetting; }
  void sizekey(keyref k, int w, int h) override { key(k).at.width = w, key(k).at.height = h; }
  void movekey(keyref k, int l, int t) override { key(k).at.left = l, key(k).at.top = t; }
  void showkey(keyref k, bool v) override { key(k).visible = v; }
  void setkeycaption(keyref k, const std::string& c) override { key(k).caption = c; }
  void setkeycolor(keyref k, const std::string& c) override { key(k).colour = c; }
  void clearfled(keyref k) override { key(k).fled = false; }
  void clearfmacro(keyref k) override { key(k).fmacro = false; }
  void placerectangle(const controlset::box& at) override { rectangle = at; }
  void showrectangle(bool v) override { rectanglevisible = v; }
  void setcellleft(int c, int l) override { cells.at(c).at.left = l; }
  void setcelltop(int c, int t) override { cells.at(c).at.top = t; }
  void setcellwidth(int c, int w) override { cells.at(c).at.width = w; }
  void setcelltext(int c, const std::string& t) override { cells.at(c).text = t; }
  void showcell(int c, bool v) override {
    cells.at(c).visible = v;
    log.push_back("showcell " + std::to_string(c) + (v ? " on" : " off"));
  }
  void movejogwheel(int l, int t) override { jogwheel.left = l, jogwheel.top = t; }
  void showjogwheel(bool v) override { jogvisible = v; }
};

}  // namespace kx90::testing
