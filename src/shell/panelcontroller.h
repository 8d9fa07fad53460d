// The panel controller: the one timer that paces every frame sent to the
// keyboard, the bulk transfers it runs, and the mirroring of the keyboard's
// LEDs and display text onto the panel. Free of Qt; the main window supplies
// the timer and the controls through panelhost.
#pragma once

#include <cstdint>
#include <string>

#include "link/q9sr.h"
#include "platform/messageboxes.h"

namespace kx90 {

// What the controller needs of the windows around it.
class panelhost {
 public:
  virtual ~panelhost() = default;
  // The preferences window's "Test" box: no polls while it is ticked.
  virtual bool testf() const = 0;
  // Macro keys on the panel; the controller asks only for 0 <= macrokey < count.
  virtual int macrokeycount() const = 0;
  virtual void setlit(int macrokey, bool lit) = 0;
  // The key sends its own command code (03 B1 01 index code).
  virtual void write2kx90(int macrokey) = 0;
  // Display cells on the panel; the controller asks only for 0 <= cell < count.
  virtual int linecount() const = 0;
  virtual void setline(int cell, const std::string& text) = 0;
  // The label naming the last clicked key.
  virtual void setLkey(const std::string& caption) = 0;
  // The setup window's fvisible flag and its redraw of every menu.
  virtual bool setupvisible() const = 0;
  virtual void Menuwrite() = 0;
};

class panelcontroller {
 public:
  // Transfer modes of the timer.
  static constexpr int32_t kIdle = 0;
  static constexpr int32_t kWriteKeys = 1;
  static constexpr int32_t kReadKeys = 2;
  static constexpr int32_t kConfigBlock0 = 3;
  static constexpr int32_t kConfigBlock3 = 6;
  static constexpr int32_t kRevisions = 7;

  // The macro-lock byte in configuration block 0.
  static constexpr int kLockByte = 16;

  panelcontroller(q9sr& sr, panelhost& host, messageboxes& boxes)
      : sr_(sr), host_(host), boxes_(boxes) {}

  // One tick: exactly one frame, or none, depending on tmode.
  void Timer1_Action();

  // Each starts its transfer from the beginning, abandoning any running one.
  void Readkeys();
  void Writekeys();
  void Readconfig();

  void UpdLED();
  void lcddata(int line, const std::string& text);

  void macrokey_action(int index);
  void numbk_action(int index);

  // True, after telling the user why, when the key table may not be written.
  bool Macrolocked();
  void lockmacros(bool lock);

  // The graphic displays' time-code cell: "ab:cd:ef:gh" from "abcdefgh".
  static std::string timecode(const std::string& text);

  int32_t tmode = kIdle;
  int32_t tindex = 0;
  int32_t kmax = 23;
  bool ftft = false;
  std::string caption0;
  std::string caption1;

 private:
  void start(int32_t mode);
  void finish(int32_t next);
  void showline(int cell, const std::string& text);

  q9sr& sr_;
  panelhost& host_;
  messageboxes& boxes_;
};

}  // namespace kx90
