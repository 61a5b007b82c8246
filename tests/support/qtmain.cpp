// Test entry for suites that drive real widgets: a QApplication on the
// offscreen platform, then every test.
#include <QApplication>
#include <gtest/gtest.h>

#include "platform/base/strtable.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  strtable::load(std::string(), "en");
  return RUN_ALL_TESTS();
}
