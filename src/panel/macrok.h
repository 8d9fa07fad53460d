// The macro key: one custom-drawn key of the on-screen keyboard, with its LED,
// its caption and the macro number it remembers in the settings.
#pragma once

#include <QFont>
#include <QWidget>
#include <cstdint>
#include <optional>
#include <string>

namespace kx90 {

class config;
class q9sr;
class macrok;

// The macro list as a key needs it: what a macro is called and how its key is coloured.
class macrolookup {
 public:
  virtual ~macrolookup() = default;
  virtual std::string getcaption(int32_t code) const = 0;
  virtual std::string getcolor(int32_t code) const = 0;
};

// A list without entries answers every code the way a full list answers an unknown one.
class emptymacros : public macrolookup {
 public:
  std::string getcaption(int32_t code) const override { return std::to_string(code); }
  std::string getcolor(int32_t) const override { return "silver"; }
};

// The window that holds the key.
class macrokowner {
 public:
  virtual ~macrokowner() = default;
  // At the start of every press on the key, plain or contextual.
  virtual void action(macrok& key) = 0;
  // True when macro assignment is refused; the owner has told the user already.
  virtual bool Macrolocked() = 0;
  // Runs the macro editor modally on key.tag; the chosen code, or nothing when cancelled.
  virtual std::optional<int32_t> openeditor(macrok& key) = 0;
};

class macrok : public QWidget {
  Q_OBJECT

 public:
  static constexpr uint32_t kGrey = 0x666666;

  // name and index: the key's array on the panel ("macrokey", "numbk") and its place in it;
  // the index is also the key number on the wire.
  macrok(q9sr& sr, config& settings, std::string name, int index, QWidget* parent = nullptr);

  // Both may be replaced once the macro editor and the main window exist; without an
  // owner a key has no editor and is never locked.
  void setmacros(const macrolookup& macros) { macros_ = &macros; }
  void setowner(macrokowner* owner) { owner_ = owner; }

  const std::string Name;
  const int Index;

  uint32_t bgcolor = 0x00FF40;
  bool lit = false;
  std::string caption;
  std::string Textfont = "tahoma";
  uint32_t Textcolor = 0x000000;
  int32_t textsize = 12;
  bool Bold = true;
  bool underline = false;
  bool Italic = false;
  int32_t rad = 0;
  bool border = true;
  int32_t CenterY = 0;
  int32_t tag = -2;
  std::string mname;
  int32_t borderwidth = 3;
  uint32_t ledcolor = 0xFFFFFF;
  bool fmacro = true;
  bool fled = true;
  bool twoline = false;
  std::string caption1;
  std::string caption2;

  // The window calls this for every key before its own open handling.
  void Event_Open();
  // contextual: the secondary (right) button. The result says whether the release counts.
  bool Event_MouseDown(bool contextual);
  void Event_MouseUp();

  void redraw(QPainter& g);
  void setcaption(const std::string& s);
  void setlit(bool on);
  void setcolor(const std::string& name);
  void setheight(int32_t h);
  void setrad(int32_t r);
  void settextsize(int32_t size);
  void settag(int32_t t);
  void Init();
  void write2kx90();

  // The caption font as drawn, so that callers can measure with the same metrics.
  QFont captionfont() const;
  // Where the tag is kept in the settings: mname followed by Index.
  std::string settingsname() const { return mname + std::to_string(Index); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void repaintkey() { update(); }

  q9sr& sr_;
  config& settings_;
  const macrolookup* macros_;
  macrokowner* owner_ = nullptr;
  bool releasedue_ = false;
};

}  // namespace kx90
