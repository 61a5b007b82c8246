// Windows covered by a modal page or dialog stay inert, also to accessibility
// actions, which Qt's modality lets through; they come back as they were.
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QDialog>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>

#include "platform/base/appinfo.h"
#include "platform/gui/helpviewer.h"
#include "platform/gui/settingskit.h"
#include "platform/gui/vbui.h"
#include "support/testsupport.h"

namespace {

// Presses a control (or the first item of a menu bar) the way a screen
// reader or a test robot does, and lets a button's animated click finish.
void pressAccessibly(QObject* control, int child = -1) {
  QAccessibleInterface* i = QAccessible::queryAccessibleInterface(control);
  ASSERT_NE(i, nullptr);
  if (child >= 0) i = i->child(child);
  ASSERT_NE(i, nullptr);
  ASSERT_NE(i->actionInterface(), nullptr);
  i->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  QTest::qWait(250);
}

// A page with an action button, a button it disabled itself, a text box that
// counts the lost-focus moves it hears, and a Help menu.
class CountingPage : public Page {
 public:
  CountingPage() {
    auto* l = new QVBoxLayout(this);
    help = bar->addAction("Help");
    l->setMenuBar(bar);
    for (QWidget* w : std::initializer_list<QWidget*>{act, off, edit}) l->addWidget(w);
    off->setEnabled(false);
    connect(act, &QPushButton::clicked, this, [this] { ++clicks; });
    connect(help, &QAction::triggered, this, [this] { ++helps; });
    edit->installEventFilter(this);
  }
  bool eventFilter(QObject* o, QEvent* e) override {
    if (o == edit && e->type() == QEvent::FocusOut &&
        static_cast<QFocusEvent*>(e)->reason() != Qt::ActiveWindowFocusReason)
      ++leftBetweenControls;
    return Page::eventFilter(o, e);
  }
  QMenuBar* bar = new QMenuBar(this);
  QPushButton* act = new QPushButton("Act", this);
  QPushButton* off = new QPushButton("Off", this);
  QLineEdit* edit = new QLineEdit(this);
  QAction* help = nullptr;
  int clicks = 0, helps = 0, leftBetweenControls = 0;
};

void showActive(QWidget* w) {
  w->show();
  w->activateWindow();
  EXPECT_TRUE(QTest::qWaitForWindowActive(w));
}

}  // namespace

TEST(ModalCover, ACoveredPageIgnoresClicksAndPressesAndComesBackAsItWas) {
  CountingPage below;
  showActive(&below);
  below.edit->setFocus();
  pressAccessibly(below.act);  // uncovered, a press is a click
  pressAccessibly(below.bar, 0);
  ASSERT_EQ(below.clicks, 1);
  ASSERT_EQ(below.helps, 1);

  // A message box owned by the page, as the message service shows it.
  QDialog box(&below);
  auto* ok = new QPushButton("OK", &box);
  QObject::connect(ok, &QPushButton::clicked, &box, &QDialog::accept);
  bool okLive = false;
  QTimer::singleShot(0, &box, [&] {
    below.act->click();
    pressAccessibly(below.act);
    pressAccessibly(below.bar, 0);
    EXPECT_FALSE(below.act->isEnabled());
    okLive = ok->isEnabled();
    ok->click();
  });
  EXPECT_EQ(vbui::execModal(box), QDialog::Accepted);
  EXPECT_TRUE(okLive);
  EXPECT_EQ(below.clicks, 1);
  EXPECT_EQ(below.helps, 1);
  // The keyboard went to the box and comes back without a lost-focus move.
  EXPECT_EQ(below.leftBetweenControls, 0);
  EXPECT_EQ(below.focusWidget(), below.edit);
  EXPECT_TRUE(below.act->isEnabled());
  EXPECT_FALSE(below.off->isEnabled());
  EXPECT_TRUE(below.help->isEnabled());
  below.act->click();
  EXPECT_EQ(below.clicks, 2);
}

TEST(ModalCover, NestedModalsCoverEachOtherAndNoPageDiesInItsLoop) {
  // The menu owns the page it opens; its button would destroy that page, as
  // a menu opening another page in its place does.
  CountingPage menu;
  showActive(&menu);
  auto open = std::make_unique<CountingPage>();
  QPointer<CountingPage> page = open.get();
  QObject::connect(menu.act, &QPushButton::clicked, &menu, [&] { open.reset(); });
  QObject::connect(page->act, &QPushButton::clicked, page, [&] { page->Unload(); });

  bool innerSeen = false;
  Page::setModalHook([&](Page& p) {
    EXPECT_EQ(&p, page.data());
    menu.act->click();
    pressAccessibly(menu.act);
    ASSERT_TRUE(page);
    EXPECT_TRUE(page->isLoaded());

    // A box above the open page: now that page is covered too, the menu still.
    QDialog box(page);
    QTimer::singleShot(0, &box, [&] {
      innerSeen = true;
      page->act->click();
      pressAccessibly(page->act);
      EXPECT_TRUE(page->isLoaded());
      box.accept();
    });
    vbui::execModal(box);
    EXPECT_TRUE(innerSeen);
    EXPECT_TRUE(page->act->isEnabled());
    EXPECT_FALSE(menu.act->isEnabled());
    menu.act->click();
    ASSERT_TRUE(page);
    page->act->click();  // the page in front works as usual: it unloads
    EXPECT_FALSE(page->isLoaded());
  });
  page->showModal();
  Page::setModalHook(nullptr);
  ASSERT_TRUE(page);
  EXPECT_EQ(menu.clicks, 0);
  EXPECT_EQ(page->clicks, 1);
  EXPECT_TRUE(menu.act->isEnabled());
  menu.act->click();  // uncovered again: the menu does what its button says
  EXPECT_FALSE(page);
}

TEST(ModalCover, HelpLeftOpenBelowComesAliveForTheModalPageThatAsks) {
  TempDir dir;
  app::setPath(dir.str());
  std::ofstream(dir.file("guide.hlp")) << "[Menu]\r\nmenu help\r\n[Page]\r\npage help\r\n";
  CountingPage menu;
  showActive(&menu);
  ASSERT_TRUE(help::showTopic("guide.hlp", "Menu", &menu));
  QPointer<QDialog> viewer = help::viewer();
  ASSERT_TRUE(viewer);
  CountingPage page;
  Page::setModalHook([&](Page& p) {
    EXPECT_FALSE(viewer->isEnabled());  // covered with the menu it belongs to
    ASSERT_TRUE(help::showTopic("guide.hlp", "Page", &p));
    EXPECT_EQ(help::viewer(), viewer.data());
    EXPECT_TRUE(viewer->isEnabled());
  });
  page.showModal();
  Page::setModalHook(nullptr);
  EXPECT_TRUE(menu.act->isEnabled());
  delete viewer.data();
  app::setPath(std::string());
}

// Under a message box every control of the page below is disabled; a cell
// painted grey, as a disabled control is, must still show its value, and so
// must the captions and buttons. Judged on the palette, not on pixels, so no
// font decides it: dark text at a readable contrast on &HC0C0C0, set apart
// from an enabled control's text.
TEST(ModalCover, CoveredControlsKeepReadableTextOnTheirGrey) {
  CountingPage below;
  auto* cell = new QLineEdit("145.01250", &below);
  QPalette cp = cell->palette();
  cp.setColor(QPalette::Disabled, QPalette::Base, vbui::color(vbui::kDisabledBack));
  cell->setPalette(cp);
  auto* caption = new QLabel("Frequency", &below);
  // A caption the page paints grey itself, and a value box of the settings kit.
  auto* greyCaption = new QLabel("POW OFF Time", &below);
  vbui::setBackColor(greyCaption, vbui::kDisabledBack);
  auto* value = new QLineEdit("OFF", &below);
  kit::paintByState(value);
  showActive(&below);
  QDialog box(&below);
  bool checked = false;
  QTimer::singleShot(0, &box, [&] {
    const QColor grey = vbui::color(vbui::kDisabledBack);
    for (QWidget* w : std::initializer_list<QWidget*>{cell, below.act, caption, greyCaption, value}) {
      ASSERT_FALSE(w->isEnabled());
      const QPalette::ColorRole role = w->foregroundRole() == QPalette::ButtonText ? QPalette::ButtonText
                                       : qobject_cast<QLineEdit*>(w)                ? QPalette::Text
                                                                                    : QPalette::WindowText;
      const QColor text = w->palette().color(QPalette::Disabled, role);
      EXPECT_GE(vbui::contrastRatio(text, grey), 4.5) << w->metaObject()->className() << " " << text.name().toStdString();
      EXPECT_NE(text, w->palette().color(QPalette::Active, role));
    }
    EXPECT_EQ(cell->palette().color(QPalette::Disabled, QPalette::Base), grey);
    checked = true;
    box.accept();
  });
  vbui::execModal(box);
  EXPECT_TRUE(checked);
  EXPECT_TRUE(cell->isEnabled());
}
