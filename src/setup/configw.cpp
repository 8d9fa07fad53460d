// Setup window shell.
#include "setup/configw.h"

#include <QLabel>

namespace kx90 {

Configw::Configw(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Setup");
  setFixedSize(748, 397);
  setWindowModality(Qt::ApplicationModal);
  auto* note =
      new QLabel("The unit's settings appear here once the setup definitions are read.", this);
  note->setGeometry(20, 20, 700, 20);
}

void Configw::Setvisible(bool visible) {
  setVisible(visible);
  fvisible = visible;
}

// However the window goes (its close button, Escape), the flag follows.
void Configw::hideEvent(QHideEvent* event) {
  fvisible = false;
  QDialog::hideEvent(event);
}

}  // namespace kx90
