// The setup window `Configw`, as far as the rest of the program uses it so
// far: created hidden, shown and hidden from the menu, and told when a
// configuration read has ended. Its menus of settings come with the setup
// definitions file.
#pragma once

#include <QDialog>

namespace kx90 {

class Configw : public QDialog {
 public:
  explicit Configw(QWidget* parent = nullptr);

  // Reads the setup definitions file; there is none to read yet.
  void load() {}
  void init() {}
  void Setvisible(bool visible);
  void Togvisible() { Setvisible(!fvisible); }
  // Fills the menus from the configuration blocks just read.
  void Menuwrite() { ++menuwrites; }

  bool fvisible = false;
  int menuwrites = 0;

 protected:
  void hideEvent(QHideEvent* event) override;
};

}  // namespace kx90
