// Port chooser: listing, restoring the saved port, opening the picked one.
#include "link/portselect.h"

#include <algorithm>
#include <cctype>

namespace kx90 {

namespace {

bool sametext(const std::string& a, const std::string& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](unsigned char x, unsigned char y) {
    return std::tolower(x) == std::tolower(y);
  });
}

}  // namespace

portselect::portselect(serialservice& ports, config& settings, q9serial& link)
    : ports_(ports), settings_(settings), link_(link) {}

void portselect::refresh() {
  rows_ = {"none"};
  for (auto& name : ports_.portnames()) rows_.push_back(std::move(name));
  selected_ = -1;
  notify();
}

void portselect::Event_Open() {
  refresh();
  const std::string saved = settings_.getstring(settingskey());
  const auto it = std::find_if(rows_.begin(), rows_.end(),
                               [&](const std::string& row) { return sametext(row, saved); });
  if (it != rows_.end()) select(static_cast<int>(it - rows_.begin()));
}

void portselect::select(int row) {
  if (row < 0 || row >= static_cast<int>(rows_.size())) return;
  selected_ = row;
  notify();
  Event_Change();
}

void portselect::Event_Change() {
  settings_.putconfig(settingskey(), rows_[selected_]);
  link_.portopen(selected_ - 1);
}

}  // namespace kx90
