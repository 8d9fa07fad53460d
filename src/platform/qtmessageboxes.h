// Modal message boxes shown with QMessageBox.
#pragma once

#include "platform/messageboxes.h"

namespace kx90 {

class qtmessageboxes : public messageboxes {
 public:
  void alert(const std::string& text) override;
};

}  // namespace kx90
