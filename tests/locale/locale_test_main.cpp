#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

// The locale is the one a German user has; ZENDRA_TEST_LC_ALL names another one (C, for
// comparison). It is built for the test run into the build tree, so the machine need not
// have it installed.
int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  setenv("LOCPATH", ZENDRA_TEST_LOCPATH, 1);
  const char* wanted = std::getenv("ZENDRA_TEST_LC_ALL");
  setenv("LC_ALL", wanted != nullptr ? wanted : "de_DE.UTF-8", 1);
  QApplication application(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
