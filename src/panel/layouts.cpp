// The model layout routines, step by step in their order.
#include "panel/layouts.h"

#include <initializer_list>

namespace kx90::layouts {

namespace {

using controlset::group;
using controlset::keyref;

keyref mk(int i) {
  return {group::macrokey, i};
}
keyref nk(int i) {
  return {group::numbk, i};
}

void place(panelsurface& p, keyref k, int w, int h, int left, int top) {
  p.sizekey(k, w, h);
  p.movekey(k, left, top);
}

// A run of macro keys first..last, stepping left by `step`.
void row(panelsurface& p, int first, int last, int size, int top, int left0, int step) {
  for (int i = first; i <= last; ++i) place(p, mk(i), size, size, left0 + step * (i - first), top);
}

// Macro keys 0..21 in three rows, the first row's top given: the block
// that the KX-90usb and the KX-VS panels share.
void macroblock(panelsurface& p, int top) {
  row(p, 0, 7, 65, top, 10, 65);
  place(p, mk(8), 65, 65, 560, top);
  place(p, mk(9), 65, 65, 625, top);
  row(p, 10, 14, 75, top + 95, 10, 75);
  place(p, mk(15), 75, 75, 405, top + 95);
  row(p, 16, 20, 75, top + 200, 10, 75);
  place(p, mk(21), 75, 75, 405, top + 200);
}

void showmacro(panelsurface& p, int first, int last) {
  for (int i = first; i <= last; ++i) p.showkey(mk(i), true);
}

void shownum(panelsurface& p, int first, int last, bool visible = true) {
  for (int i = first; i <= last; ++i) p.showkey(nk(i), visible);
}

void nofled(panelsurface& p, std::initializer_list<int> keys) {
  for (int i : keys) p.clearfled(mk(i));
}

void textdisplay(panelsurface& p) {
  p.placerectangle({37, 14, 653, 96});
  for (int c = 0; c < 5; ++c) {
    p.setcellleft(c, 75 + 113 * c);
    p.setcelltop(c, 32);
    p.setcellwidth(c, 114);
    p.setcellleft(c + 5, 75 + 113 * c);
    p.setcelltop(c + 5, 62);
  }
  for (int c = 0; c < controlset::kCells; ++c) p.showcell(c, true);
  p.setcelltext(0, " The Dis");
  p.setcelltext(2, "l update");
  p.showrectangle(true);
}

// Keys 7 8 9 / 4 5 6 / 1 2 3 / 10 0 11 over columns c and rows r.
void keypad(panelsurface& p, int size, const int (&c)[3], const int (&r)[4]) {
  const int grid[4][3] = {{7, 8, 9}, {4, 5, 6}, {1, 2, 3}, {10, 0, 11}};
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 3; ++x) {
      const keyref k = nk(grid[y][x]);
      place(p, k, size, size, c[x], r[y]);
      p.clearfmacro(k);
    }
  }
  for (int d = 0; d <= 9; ++d) {
    p.setkeycaption(nk(d), std::to_string(d));
    p.setkeycolor(nk(d), "grey");
    p.clearfled(nk(d));
  }
}

void namedkey(panelsurface& p, int i, const char* caption, const char* colour) {
  p.setkeycaption(nk(i), caption);
  p.setkeycolor(nk(i), colour);
}

void graphiconly(panelsurface& p) {
  for (int c : {1, 3, 4, 5, 6, 7, 8, 9}) p.showcell(c, false);
}

// The keypad of the graphic models: hidden while it is set up.
void graphickeypad(panelsurface& p, const int (&c)[3], const int (&r)[4], int shiftleft) {
  shownum(p, 0, 12, false);
  p.sizekey(nk(12), 65, 65);
  p.clearfmacro(nk(12));
  keypad(p, 65, c, r);
  namedkey(p, 10, "Recall", "yellow");
  namedkey(p, 11, "Store", "yellow");
  namedkey(p, 12, "Shift", "yellow");
  p.movekey(nk(12), shiftleft, r[3]);
}

}  // namespace

void Setkbd(panelsurface& panel, int type) {
  static constexpr struct {
    void (*layout)(panelsurface&);
    const char* title;
  } kModelsTable[kModels] = {{Setkx90, "KX-90usb"},
                             {Setmq7, "MQ-90usb"},
                             {Setkxvs, "KX-VS"},
                             {Sethbw, "HBW-VS"},
                             {Setmqzn, "MQ-ZN"}};
  if (type < 0 || type >= kModels) return;
  kModelsTable[type].layout(panel);
  panel.settitle(kModelsTable[type].title);
}

void Setkx90(panelsurface& p) {
  p.setftft(false);
  p.setkmax(25);
  p.Hideall();
  textdisplay(p);
  p.setwindowsize(740, 425);
  macroblock(p, 130);
  showmacro(p, 0, 21);
  p.movejogwheel(525, 215);
  p.showjogwheel(true);
  p.Readkeys();
}

void Setmq7(panelsurface& p) {
  p.setwindowsize(780, 685);
  p.setkmax(36);
  p.setftft(false);
  p.Hideall();
  textdisplay(p);
  for (int i = 12; i <= 15; ++i) {
    p.sizekey(nk(i), 75, 75);
    p.clearfmacro(nk(i));
  }
  keypad(p, 75, {10, 85, 160}, {230, 305, 380, 455});
  namedkey(p, 10, "Recall", "yellow");
  namedkey(p, 11, "Enter", "yellow");
  namedkey(p, 12, "Shift", "yellow");
  namedkey(p, 13, "Esc", "yellow");
  namedkey(p, 14, "Prev Cue", "White");
  namedkey(p, 15, "Del", "White");
  row(p, 0, 8, 75, 130, 20, 75);
  row(p, 9, 14, 75, 230, 260, 75);
  row(p, 15, 20, 75, 305, 260, 75);
  row(p, 21, 26, 75, 380, 260, 75);
  for (int i : {27, 29, 30}) place(p, mk(i), 75, 75, 260 + 75 * (i - 27), 455);
  row(p, 31, 35, 75, 560, 10, 75);
  row(p, 36, 37, 75, 560, 395, 85);
  nofled(p, {15, 16, 19, 20, 27, 29, 30});
  showmacro(p, 0, 27);
  showmacro(p, 29, 37);
  p.movekey(nk(12), 335, 455);
  shownum(p, 0, 12);
  p.movejogwheel(570, 475);
  p.showjogwheel(true);
  p.Readkeys();
}

void Setkxvs(panelsurface& p) {
  p.setftft(true);
  p.Hideall();
  p.placerectangle({60, 5, 300, 260});
  p.setcelltop(0, 62);
  p.setcellwidth(0, 300);
  p.setcelltext(0, "Error Message");
  p.setcellleft(2, 100);
  p.setcelltop(2, 32);
  p.setcellwidth(2, 250);
  p.setcelltext(2, "Timecode");
  p.showrectangle(true);
  p.setkmax(31);
  p.setwindowsize(740, 700);
  macroblock(p, 410);
  graphickeypad(p, {495, 560, 625}, {5, 70, 135, 200}, 400);
  for (int i = 22; i <= 24; ++i) place(p, mk(i), 65, 65, 400, 5 + 65 * (i - 22));
  for (int i = 25; i <= 31; ++i) {
    place(p, mk(i), 95, 93, 20 + 95 * (i - 25), 290);
    p.clearfled(mk(i));
  }
  shownum(p, 0, 12);
  showmacro(p, 0, 31);
  p.movejogwheel(525, 495);
  p.showjogwheel(true);
  p.Readkeys();
  graphiconly(p);
}

void Sethbw(panelsurface& p) {
  p.setftft(true);
  p.Hideall();
  p.placerectangle({26, 42, 300, 260});
  p.setcellleft(2, 45);
  p.setcelltop(2, 80);
  p.setcellwidth(2, 250);
  p.setcelltext(2, "Timecode");
  p.setcellleft(0, 45);
  p.setcelltop(0, 110);
  p.setcellwidth(0, 250);
  p.setcelltext(0, "Error Message");
  p.showrectangle(true);
  p.setkmax(25);
  p.setwindowsize(680, 700);
  graphickeypad(p, {453, 518, 583}, {42, 107, 172, 237}, 360);
  for (int i = 22; i <= 24; ++i) place(p, mk(i), 65, 65, 360, 42 + 65 * (i - 22));
  auto bigkey = [&](int i, int left, int top) {
    place(p, mk(i), 95, 80, left, top);
    p.clearfled(mk(i));
  };
  for (int i = 0; i <= 3; ++i) bigkey(i, 40 + 95 * i, 336);
  for (int i = 4; i <= 5; ++i) bigkey(i, 70 + 95 * i, 336);
  for (int i = 6; i <= 10; ++i) bigkey(i, 40 + 95 * (i - 6), 446);
  bigkey(11, 545, 446);
  for (int i = 12; i <= 16; ++i) bigkey(i, 40 + 95 * (i - 12), 556);
  bigkey(17, 545, 556);
  shownum(p, 0, 12);
  showmacro(p, 22, 24);
  if (p.jog()) {
    p.movejogwheel(445, 441);
    p.showjogwheel(true);
    showmacro(p, 0, 9);
    showmacro(p, 12, 15);
  } else {
    p.showjogwheel(false);
    showmacro(p, 0, 17);
  }
  p.Readkeys();
  graphiconly(p);
}

void Setmqzn(panelsurface& p) {
  p.setwindowsize(780, 685);
  p.setkmax(36);
  p.setftft(false);
  p.Hideall();
  textdisplay(p);
  keypad(p, 75, {10, 85, 160}, {230, 305, 380, 455});
  namedkey(p, 10, "00", "grey");
  namedkey(p, 11, "Enter", "yellow");
  row(p, 0, 8, 75, 130, 20, 75);
  showmacro(p, 0, 8);
  struct functionrow {
    int top;
    int numbk;
    const char* captions[3];
    int macro[3];
    int macros;
  };
  static constexpr functionrow kRows[] = {
      {230, 12, {"Esc", "Prev cue", "DEL"}, {12, 13, 14}, 3},
      {305, 15, {"Trim -", "/\\", "Trim +"}, {18, 19, 20}, 3},
      {380, 18, {"<", "\\/", ">"}, {24, 25, 26}, 3},
      {455, 21, {"Shift", "Next cue", "Enter"}, {30}, 1},
  };
  for (const auto& r : kRows) {
    for (int j = 0; j < 3; ++j) {
      const keyref k = nk(r.numbk + j);
      place(p, k, 75, 75, 260 + 75 * j, r.top);
      p.setkeycaption(k, r.captions[j]);
      p.setkeycolor(k, "lightgrey");
      p.clearfmacro(k);
      p.showkey(k, true);
    }
    for (int j = 0; j < r.macros; ++j) {
      place(p, mk(r.macro[j]), 75, 75, 485 + 75 * j, r.top);
      p.showkey(mk(r.macro[j]), true);
    }
  }
  row(p, 31, 35, 75, 560, 10, 75);
  row(p, 36, 37, 75, 560, 395, 85);
  showmacro(p, 31, 37);
  nofled(p, {15, 16, 19, 20, 27, 29, 30});
  shownum(p, 0, 12);
  p.movejogwheel(570, 475);
  p.showjogwheel(true);
  p.Readkeys();
}

}  // namespace kx90::layouts
