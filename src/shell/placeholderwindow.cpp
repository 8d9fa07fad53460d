// Stand-in main window.
#include "shell/placeholderwindow.h"

#include <QFormLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace kx90 {

placeholderwindow::placeholderwindow(q9sr& sr, portselect& chooser)
    : sr_(sr),
      chooser_(chooser),
      ports_(new QComboBox),
      leds_(new QLabel),
      pcb_(new QLabel),
      core_(new QLabel),
      main_(new QLabel) {
  setWindowTitle("KX-90USB ");
  resize(740, 425);
  auto* form = new QFormLayout;
  form->addRow("Port", ports_);
  form->addRow("LEDs", leds_);
  for (int i = 0; i < kLines; ++i) {
    lines_[i] = new QLabel;
    lines_[i]->setTextFormat(Qt::PlainText);
    form->addRow(QString("Line %1").arg(i), lines_[i]);
  }
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(pcb_);
  layout->addWidget(core_);
  layout->addWidget(main_);
  layout->addStretch();
  UpdLED();
  chooser_.changed = [this] { fillchooser(); };
  connect(ports_, &QComboBox::activated, this, [this](int row) { chooser_.select(row); });
}

void placeholderwindow::fillchooser() {
  const QSignalBlocker block(ports_);
  ports_->clear();
  for (const auto& row : chooser_.rows()) ports_->addItem(QString::fromStdString(row));
  ports_->setCurrentIndex(chooser_.selected());
}

void placeholderwindow::UpdLED() {
  QString bits;
  for (int key = 0; key < 22; ++key) bits += (sr_.leddata[key / 8] >> (key % 8)) & 1 ? "●" : "○";
  leds_->setText(bits);
}

void placeholderwindow::lcddata(int line, const std::string& text) {
  if (line < 0 || line >= kLines) return;
  lines_[line]->setText(QString::fromLatin1(text));
}

}  // namespace kx90
