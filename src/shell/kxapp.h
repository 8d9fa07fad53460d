// The application object: a QApplication whose event delivery catches every
// exception that escapes a handler, so one failing handler never ends the
// program.
#pragma once

#include <QApplication>
#include <exception>

#include "platform/messageboxes.h"

namespace kx90 {

class kxapp : public QApplication {
 public:
  static constexpr const char* kOutOfBounds = "An OutOfBounds Exception error has occurred!";

  kxapp(int& argc, char** argv);

  // Where the out-of-range message goes; null shows nothing.
  void setmessageboxes(messageboxes* boxes) { boxes_ = boxes; }

  bool notify(QObject* receiver, QEvent* event) override;
  // Every error counts as handled; an index out of range is also shown.
  bool Event_UnhandledException(std::exception_ptr error);

 private:
  messageboxes* boxes_ = nullptr;
};

}  // namespace kx90
