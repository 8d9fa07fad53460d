// The seam to modal message boxes: the only way failures reach the user.
#pragma once

#include <string>

namespace kx90 {

class messageboxes {
 public:
  virtual ~messageboxes() = default;
  virtual void alert(const std::string& text) = 0;
};

}  // namespace kx90
