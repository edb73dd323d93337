#include <gtest/gtest.h>

#include <QCoreApplication>

// The command line's tests run the real program; they need no display.
int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
