// A page takes the keyboard back when a page opened over it closes: without
// a window manager nothing else would give it back.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "platform/gui/vbui.h"
#include "support/keys.h"

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

// A page placed beside the main menu that would run past the screen's edge
// moves back onto it; one that fits keeps its place.
TEST(PagePlacement, APageBesideTheMainMenuStaysOnTheScreen) {
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  Page menu;
  menu.resize(200, 150);
  menu.move(area.left() + 100, area.top() + 80);
  Page::setMainMenu(&menu);
  Page fits;
  fits.resize(100, 100);
  fits.placeFromMainMenu(150, 300);  // 10 and 20 pixels further
  EXPECT_EQ(fits.pos(), QPoint(area.left() + 120, area.top() + 90));
  Page small;  // never sized: it shows at its size hint, which fits
  small.setMinimumSize(120, 80);
  small.placeFromMainMenu(1500, 3000);
  EXPECT_EQ(small.pos(), QPoint(area.left() + 300, area.top() + 180));
  Page wide;
  wide.setMinimumSize(area.width() - 50, area.height() - 40);
  wide.placeFromMainMenu(1500, 3000);
  EXPECT_EQ(wide.pos(), QPoint(area.right() + 1 - wide.width(), area.bottom() + 1 - wide.height()));
  // A page that grows while it loads is held on the screen as it shows.
  Page grows;
  grows.resize(100, 100);
  grows.placeFromMainMenu(0, 0);
  grows.setMinimumSize(area.width() - 60, 100);
  grows.Show();
  EXPECT_EQ(grows.frameGeometry().right(), area.right());
  grows.Unload();
  menu.move(area.left(), area.top());
  Page left;
  left.resize(100, 100);
  left.placeFromMainMenu(-300, -750);
  EXPECT_EQ(left.pos(), area.topLeft());
  Page::setMainMenu(nullptr);
}

// Enter and keypad Enter press a page's focused button, as on the platform
// the pages were designed for, once per press; other keys' owners keep them.
TEST(PageKeys, EnterPressesTheFocusedButtonOnce) {
  Page page;
  auto* button = new QPushButton("Act", &page);
  auto* box = new QLineEdit(&page);
  button->setAutoDefault(false);  // as the pages have them: Enter in a text box presses nothing
  button->move(0, 40);
  int clicks = 0;
  QObject::connect(button, &QPushButton::clicked, [&] { ++clicks; });
  page.Show();
  key(button, Qt::Key_Return);
  EXPECT_EQ(clicks, 1);
  key(button, Qt::Key_Enter, QString(), Qt::KeypadModifier);
  EXPECT_EQ(clicks, 2);
  key(button, Qt::Key_Return, QString(), Qt::ControlModifier);
  QKeyEvent held(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
  QCoreApplication::sendEvent(button, &held);
  key(box, Qt::Key_Return, "\r");
  EXPECT_EQ(clicks, 2);
  page.Unload();

  // A dialog's own buttons are pressed by Qt, still once.
  QDialog dialog;
  auto* ok = new QPushButton("OK", &dialog);
  int oks = 0;
  QObject::connect(ok, &QPushButton::clicked, [&] { ++oks; });
  dialog.show();
  key(ok, Qt::Key_Return);
  EXPECT_EQ(oks, 1);
  dialog.hide();
}
