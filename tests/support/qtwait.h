// Runs the event loop until a condition holds or time runs out.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <functional>

namespace kx90::testing {

inline bool waitfor(const std::function<bool()>& done, int ms = 3000) {
  QElapsedTimer t;
  t.start();
  while (!done() && t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
  return done();
}

inline void spin(int ms) {
  waitfor([] { return false; }, ms);
}

}  // namespace kx90::testing
