#include "shell/kxapp.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <stdexcept>

#include "support/fakes.h"

namespace kx90 {
namespace {

struct KxappTest : ::testing::Test {
  testing::recordingboxes boxes;
  kxapp& app = *static_cast<kxapp*>(QCoreApplication::instance());
  void SetUp() override { app.setmessageboxes(&boxes); }
  void TearDown() override { app.setmessageboxes(nullptr); }
  void spin(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  }
};

class throwingwidget : public QWidget {
 protected:
  void paintEvent(QPaintEvent*) override { throw std::out_of_range("paint"); }
};

TEST_F(KxappTest, OutOfRangeFromAnyHandlerIsShownOncePerOccurrence) {
  QTimer::singleShot(0, [] { throw std::out_of_range("single shot"); });
  QTimer timer;
  int ticks = 0;
  QObject::connect(&timer, &QTimer::timeout, [&] {
    if (++ticks <= 2) throw std::out_of_range("timer");
  });
  timer.start(5);
  QObject receiver;
  QMetaObject::invokeMethod(
      &receiver, [] { throw std::out_of_range("queued"); }, Qt::QueuedConnection);
  spin(100);
  EXPECT_GT(ticks, 3);  // the timer kept running after its failures
  EXPECT_EQ(boxes.texts.size(), 4u);
  for (const auto& text : boxes.texts)
    EXPECT_EQ(text, "An OutOfBounds Exception error has occurred!");

  boxes.texts.clear();
  throwingwidget w;
  w.resize(20, 20);
  (void)w.grab();
  EXPECT_EQ(boxes.texts.size(), 1u);
}

TEST_F(KxappTest, OtherErrorsAreSwallowedSilently) {
  QTimer::singleShot(0, [] { throw std::runtime_error("other"); });
  QTimer::singleShot(0, [] { throw 42; });
  bool after = false;
  QTimer::singleShot(10, [&] { after = true; });
  spin(50);
  EXPECT_TRUE(after);
  EXPECT_TRUE(boxes.texts.empty());
  EXPECT_TRUE(app.Event_UnhandledException(std::make_exception_ptr(std::logic_error("x"))));
}

}  // namespace
}  // namespace kx90
