// Modal message boxes shown with QMessageBox.
#include "platform/qtmessageboxes.h"

#include <QMessageBox>

namespace kx90 {

void qtmessageboxes::alert(const std::string& text) {
  QMessageBox box(QMessageBox::Warning, QString(), QString::fromStdString(text), QMessageBox::Ok);
  box.exec();
}

}  // namespace kx90
