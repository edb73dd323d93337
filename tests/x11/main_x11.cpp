#include <gtest/gtest.h>

#include <QApplication>
#include <cstdio>

// The tests in this folder need a real X server: CTest runs them under xvfb-run.
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("DISPLAY")) {
    std::fprintf(stderr, "cpe_x11_tests needs an X server; run it under xvfb-run -a\n");
    return 1;
  }
  qputenv("QT_QPA_PLATFORM", "xcb");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
