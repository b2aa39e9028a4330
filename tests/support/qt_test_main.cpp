#include <QApplication>
#include <cstdlib>

#include <gtest/gtest.h>

// Every suite gets a QApplication on the offscreen platform, so widget and
// clipboard tests run without a display.
int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication application(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
