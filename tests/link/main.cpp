#include <gtest/gtest.h>

#include <QCoreApplication>

#include "platform/base/appinfo.h"
#include "platform/base/strtable.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  strtable::load(app::path(), "en");
  return RUN_ALL_TESTS();
}
