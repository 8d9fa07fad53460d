// The macro key editor `macrow`: gives a key its macro code. Until the macro
// list is read from the setup definitions file, the code is entered as a
// number.
#pragma once

#include <QDialog>
#include <QSpinBox>
#include <cstdint>

namespace kx90 {

class macrow : public QDialog {
 public:
  explicit macrow(QWidget* parent = nullptr);

  void Setgroup() {}
  void Setindex(int32_t code);
  // Shows the window modally; okflag and keytag hold the result.
  void edit();

  bool okflag = false;
  int32_t keytag = 0;

 private:
  QSpinBox* code_;
};

}  // namespace kx90
