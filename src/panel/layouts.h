// The five keyboard models: each is a layout routine that hides the panel,
// then places, captions, colours and shows the keys and display cells the
// model has, sizes the window and ends with a key-table read.
#pragma once

#include <string>

#include "panel/controlset.h"

namespace kx90 {

// What a layout routine does to the main window. Only what a routine sets
// changes; everything else keeps what the previous layout left.
class panelsurface {
 public:
  using keyref = controlset::keyref;
  virtual ~panelsurface() = default;

  virtual void settitle(const std::string& title) = 0;
  virtual void setwindowsize(int width, int height) = 0;
  virtual void setkmax(int kmax) = 0;
  virtual void setftft(bool ftft) = 0;
  // Hides the display rectangle and every key, not the cells or the wheel.
  virtual void Hideall() = 0;
  virtual void Readkeys() = 0;
  virtual bool jog() = 0;  // the "jog" setting

  // The height goes through the key's setheight, the width is set directly.
  virtual void sizekey(keyref key, int width, int height) = 0;
  virtual void movekey(keyref key, int left, int top) = 0;
  virtual void showkey(keyref key, bool visible) = 0;
  virtual void setkeycaption(keyref key, const std::string& caption) = 0;
  virtual void setkeycolor(keyref key, const std::string& colour) = 0;
  virtual void clearfled(keyref key) = 0;
  virtual void clearfmacro(keyref key) = 0;

  virtual void placerectangle(const controlset::box& at) = 0;
  virtual void showrectangle(bool visible) = 0;
  virtual void setcellleft(int cell, int left) = 0;
  virtual void setcelltop(int cell, int top) = 0;
  virtual void setcellwidth(int cell, int width) = 0;
  virtual void setcelltext(int cell, const std::string& text) = 0;
  virtual void showcell(int cell, bool visible) = 0;
  virtual void movejogwheel(int left, int top) = 0;
  virtual void showjogwheel(bool visible) = 0;
};

namespace layouts {

constexpr int kModels = 5;

// Applies model type; any other number changes nothing.
void Setkbd(panelsurface& panel, int type);

void Setkx90(panelsurface& panel);
void Setmq7(panelsurface& panel);
void Setkxvs(panelsurface& panel);
void Sethbw(panelsurface& panel);
void Setmqzn(panelsurface& panel);

}  // namespace layouts
}  // namespace kx90
