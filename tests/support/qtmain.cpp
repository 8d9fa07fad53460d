// Test entry for programs that need a QApplication (offscreen, scale 1).
#include <gtest/gtest.h>

#include <QApplication>

#include "shell/kxapp.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("QT_SCALE_FACTOR", "1");
  ::testing::InitGoogleTest(&argc, argv);
  kx90::kxapp application(argc, argv);
  return RUN_ALL_TESTS();
}
