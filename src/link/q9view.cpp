// Traffic view.
#include "link/q9view.h"

#include "keys/cbsr.h"

namespace kx90 {

q9view::q9view(q9sr& sr, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowMinimizeButtonHint),
      q9list(new QListWidget(this)),
      cyshow(new QPushButton("show Cyclic", this)),
      sr_(sr) {
  setWindowTitle("Q9 Communications View");
  resize(544, 365);
  q9list->setUniformItemSizes(true);
  q9list->setGeometry(19, 14, 505, 301);
  cyshow->setGeometry(166, 327, 155, 22);
  cyshow->setCheckable(true);
  connect(cyshow, &QPushButton::clicked, this, [this] { cyshow_action(); });
  auto* clear = new QPushButton("Clear", this);
  clear->setGeometry(362, 327, 60, 22);
  connect(clear, &QPushButton::clicked, this, [this] { Clearall(); });
  auto* close = new QPushButton("Close", this);
  close->setGeometry(451, 327, 60, 22);
  connect(close, &QPushButton::clicked, this, &QWidget::hide);
}

void q9view::Disp_mb(std::span<const uint8_t> bytes, const std::string& prefix) {
  std::string row = prefix;
  for (uint8_t b : bytes) row += cbsr::byte2hex(b) + " ";
  q9list->insertItem(0, QString::fromStdString(row));
}

void q9view::Disp_array(const framebuffer& buffer, const std::string& prefix) {
  const int n = framedatalength(buffer[0]);
  Disp_mb(std::span(buffer).first(n + 3), prefix);
}

void q9view::cyshow_action() {
  sr_.showcyclic = cyshow->isChecked();
}

}  // namespace kx90
