// The traffic view `q9view`: lists frames sent and echoed frames received,
// newest at the top, while it is open.
#pragma once

#include <QListWidget>
#include <QPushButton>
#include <QWidget>

#include "link/frame.h"
#include "link/q9sr.h"

namespace kx90 {

class q9view : public QWidget, public trafficlog {
 public:
  explicit q9view(q9sr& sr, QWidget* parent = nullptr);

  bool isvisible() const override { return isVisible(); }
  void Disp_string(const frame& f) override { Disp_mb(f); }
  void Disp_mb(std::span<const uint8_t> bytes, const std::string& prefix = {});
  void Disp_array(const framebuffer& buffer, const std::string& prefix) override;
  void Clearall() { q9list->clear(); }
  void cyshow_action();

  QListWidget* q9list;
  QPushButton* cyshow;

 private:
  q9sr& sr_;
};

}  // namespace kx90
