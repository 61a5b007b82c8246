// A page takes the keyboard back when a page opened over it closes: without
// a window manager nothing else would give it back.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QTimer>

#include "platform/gui/vbui.h"

namespace {
void settle() {
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}
}  // namespace

TEST(PageFocus, ThePageBelowAClosedModalPageIsActiveAgain) {
  Page menu;
  menu.Show();
  settle();
  ASSERT_EQ(QApplication::activeWindow(), &menu);
  Page modal;
  QTimer::singleShot(0, &modal, [&] {
    settle();
    EXPECT_EQ(QApplication::activeWindow(), &modal);
    modal.Unload();
  });
  modal.showModal();
  settle();
  EXPECT_EQ(QApplication::activeWindow(), &menu);
  menu.Unload();
}
