// Macro key editor.
#include "keys/macrow.h"

#include <QDialogButtonBox>
#include <QFormLayout>

namespace kx90 {

macrow::macrow(QWidget* parent) : QDialog(parent), code_(new QSpinBox) {
  setWindowTitle("Macro Key");
  setFixedSize(600, 400);
  setModal(true);
  code_->setRange(0, 255);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* form = new QFormLayout(this);
  form->addRow("Cmd", code_);
  form->addRow(buttons);
}

void macrow::Setindex(int32_t code) {
  if (code >= 0 && code <= 255) code_->setValue(code);
}

void macrow::edit() {
  okflag = exec() == QDialog::Accepted;
  if (okflag) keytag = code_->value();
}

}  // namespace kx90
