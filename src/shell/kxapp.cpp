// Application-wide exception handling.
#include "shell/kxapp.h"

#include <stdexcept>

namespace kx90 {

kxapp::kxapp(int& argc, char** argv) : QApplication(argc, argv) {}

bool kxapp::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    return Event_UnhandledException(std::current_exception());
  }
}

bool kxapp::Event_UnhandledException(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::out_of_range&) {
    if (boxes_) boxes_->alert(kOutOfBounds);
  } catch (...) {
  }
  return true;
}

}  // namespace kx90
