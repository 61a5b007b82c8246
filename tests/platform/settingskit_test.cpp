// The settings-page kit on real widgets: mask rows, the check-first handlers,
// the focus sink and the code boxes' overwrite editor.
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>
#include <QRegularExpressionValidator>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <functional>

#include "platform/gui/settingskit.h"
#include "platform/gui/vbui.h"
#include "support/outside.h"
#include "support/keys.h"

namespace {

bool grey(QWidget* w) { return w->palette().color(QPalette::Base) == vbui::color(0xC0C0C0); }

// A page of three boxes, a combo and a two-entry list, whose check refuses
// the text "bad" in any box.
struct Harness {
  QWidget page;
  QLineEdit* a = new QLineEdit(&page);
  QLineEdit* b = new QLineEdit(&page);
  QComboBox* combo = new QComboBox(&page);
  kit::UpDownList* yesNo = new kit::UpDownList(&page, {"OFF", "ON"}, "Yes no");
  std::string savedA = "a0", savedB = "b0", savedCombo = "0", savedList = "0";
  int checks = 0, restores = 0, arrivals = 0, bLeft = 0;
  kit::SettingsKit kit{&page, [this] { return check(); }, [this] { restore(); }};

  Harness() {
    auto* l = new QVBoxLayout(&page);
    for (QWidget* w : std::initializer_list<QWidget*>{a, b, combo, yesNo}) l->addWidget(w);
    combo->addItems({"x", "y", "z"});
    kit.makeSink([this] { ++arrivals; });
    kit.events->lostFocus(a, [this] { kit.leaveField(a, savedA); });
    kit.events->lostFocus(b, [this] { ++bLeft; kit.leaveField(b, savedB); });
    kit.events->gotFocus(yesNo->list, [this] { kit.listGotFocus(yesNo->list, savedList); });
    kit.events->lostFocus(yesNo->list, [this] { kit.listLostFocus(yesNo->list, savedList); });
    restore();
    page.show();
    page.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&page));
  }
  bool check() {
    ++checks;
    return a->text() != "bad" && b->text() != "bad";
  }
  void restore() {
    ++restores;
    kit::Busy::Hold hold(kit.busy);
    a->setText(QString::fromStdString(savedA));
    b->setText(QString::fromStdString(savedB));
    combo->setCurrentIndex(std::stoi(savedCombo));
  }
};


}  // namespace

TEST(SettingsKit, MaskCharacterEnablesItsRowAndPaintsOnlyValueControls) {
  QWidget page;
  auto* label = new QLabel("Row 2", &page);
  auto* box = new QLineEdit(&page);
  auto* other = new QLineEdit(&page);
  kit::MaskRows rows;
  rows.add(2, {label}, {box});
  rows.add(40, {}, {other});
  rows.apply("0100000000");  // character 2 on; a short row leaves 40 off
  EXPECT_TRUE(label->isEnabled());
  EXPECT_TRUE(box->isEnabled());
  EXPECT_FALSE(grey(box));
  EXPECT_FALSE(other->isEnabled());
  EXPECT_TRUE(grey(other));
  rows.apply("1011111111111111111111111111111111111111");
  EXPECT_FALSE(label->isEnabled());
  EXPECT_TRUE(grey(box));
  EXPECT_TRUE(other->isEnabled());
  EXPECT_EQ(other->palette().color(QPalette::Base), QApplication::palette(other).color(QPalette::Base));
  EXPECT_NE(label->palette().color(QPalette::Base), vbui::color(0xC0C0C0));  // labels are not painted
}

TEST(SettingsKit, LeavingAFieldTakesItsTextOrPutsTheFocusBackAndMarksTheSink) {
  Harness h;
  h.a->setFocus();
  QApplication::processEvents();
  h.a->setText("a1");
  h.b->setFocus();  // a passing check takes the text
  QApplication::processEvents();
  EXPECT_EQ(h.savedA, "a1");
  EXPECT_FALSE(h.kit.sink->marked());

  h.b->setText("bad");
  h.bLeft = 0;
  h.a->setFocus();  // refused: b shows its saved text again and gets the focus back
  QApplication::processEvents();
  EXPECT_EQ(h.savedB, "b0");
  EXPECT_EQ(h.b->text(), "b0");
  EXPECT_TRUE(h.b->hasFocus());
  EXPECT_TRUE(h.kit.sink->marked());
  // Passing through a on the way back is not leaving a.
  EXPECT_EQ(h.savedA, "a1");
  EXPECT_EQ(h.bLeft, 1);

  // Tabbing from a refused field into the sink: that arrival only clears
  // the marker and the focus goes back; the next arrival closes.
  h.b->setText("bad");
  h.kit.sink->setFocus(Qt::TabFocusReason);
  QApplication::processEvents();
  EXPECT_FALSE(h.kit.sink->marked());
  EXPECT_EQ(h.arrivals, 0);
  EXPECT_TRUE(h.b->hasFocus());
  h.kit.sink->setFocus(Qt::TabFocusReason);
  QApplication::processEvents();
  EXPECT_EQ(h.arrivals, 1);

  // A marker left by a refusal that kept the focus (Esc in a list) sends the
  // focus back from the sink too.
  h.yesNo->list->setFocus();
  QApplication::processEvents();
  h.kit.sink->mark();
  h.kit.sink->setFocus(Qt::TabFocusReason);
  QApplication::processEvents();
  EXPECT_FALSE(h.kit.sink->marked());
  EXPECT_EQ(h.arrivals, 1);
  EXPECT_TRUE(h.yesNo->list->hasFocus());
}

TEST(SettingsKit, TextPutInFromOutsideIsJudgedAsLeavingTheBoxWouldJudgeIt) {
  Harness h;
  h.a->setFocus();
  QApplication::processEvents();
  // Into the box without the focus: taken as leaving it takes typed text.
  putFromOutside(h.b, "b1");
  EXPECT_EQ(h.savedB, "b1");
  EXPECT_EQ(h.bLeft, 1);
  EXPECT_TRUE(h.a->hasFocus());

  // Refused by the check: every control back, the message was the check's,
  // the focus goes to the box and the sink is marked.
  h.a->setText("a-typed");
  putFromOutside(h.b, "bad");
  QApplication::processEvents();
  EXPECT_EQ(h.savedB, "b1");
  EXPECT_EQ(h.b->text(), "b1");
  EXPECT_EQ(h.a->text(), "a0");
  EXPECT_TRUE(h.b->hasFocus());
  EXPECT_TRUE(h.kit.sink->marked());

  // What the page puts in itself, and typing into the box with the focus,
  // are no entries of their own.
  const int left = h.bLeft, checks = h.checks;
  {
    kit::Busy::Hold hold(h.kit.busy);
    h.a->setText("a2");
  }
  h.b->setText("b-typed");
  QApplication::processEvents();
  EXPECT_EQ(h.bLeft, left);
  EXPECT_EQ(h.checks, checks);
  EXPECT_EQ(h.savedA, "a0");
  EXPECT_EQ(h.savedB, "b1");
  h.a->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(h.savedB, "b-typed");

  // Text that typing could not have produced is refused without a check:
  // a character the validator refuses, a rule's refusal, a disabled box.
  h.b->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9b-]*"), h.b));
  bool ruleSays = false;
  int ruleRuns = 0;
  h.kit.entryRule(h.b, [&] {
    ++ruleRuns;
    return ruleSays;
  });
  const int restores = h.restores;
  putFromOutside(h.b, "b-x");
  EXPECT_EQ(ruleRuns, 0);
  putFromOutside(h.b, "b-2");
  EXPECT_EQ(ruleRuns, 1);
  h.b->setEnabled(false);
  putFromOutside(h.b, "b-3");
  h.b->setEnabled(true);
  EXPECT_EQ(h.restores, restores + 3);
  EXPECT_EQ(h.b->text(), "b-typed");
  EXPECT_EQ(h.savedB, "b-typed");
  EXPECT_EQ(h.bLeft, left + 1);
  ruleSays = true;
  putFromOutside(h.b, "b-4");
  EXPECT_EQ(h.savedB, "b-4");
}

TEST(SettingsKit, SinkIsLastInTheTabOrderAndOutOfSight) {
  Harness h;
  QWidget* w = h.a;
  QWidget* last = nullptr;
  for (int i = 0; i < 20 && w != &h.page; ++i, w = w->nextInFocusChain())
    if (w->focusPolicy() & Qt::TabFocus) last = w;
  EXPECT_EQ(last, h.kit.sink);
  EXPECT_FALSE(h.page.rect().intersects(h.kit.sink->geometry()));
}

TEST(SettingsKit, CombosTakeUserChoicesNotThePagesOwnAndRestoreOnRefusal) {
  Harness h;
  QObject::connect(h.combo, &QComboBox::currentIndexChanged, [&h] { h.kit.comboChanged(h.combo, h.savedCombo); });
  h.combo->setCurrentIndex(2);
  EXPECT_EQ(h.savedCombo, "2");
  {
    kit::Busy::Hold outer(h.kit.busy);
    { kit::Busy::Hold inner(h.kit.busy); }
    h.combo->setCurrentIndex(1);  // still busy after the inner hold ended
  }
  EXPECT_EQ(h.savedCombo, "2");
  h.a->setText("bad");
  h.combo->setCurrentIndex(0);
  EXPECT_EQ(h.savedCombo, "2");
  EXPECT_EQ(h.combo->currentIndex(), 2);
  EXPECT_EQ(h.a->text(), "a0");
}

TEST(SettingsKit, TwoEntryListShowsItsEntryOnlyWithFocusAndStepsFromTheSavedValue) {
  Harness h;
  h.savedList = "1";
  h.yesNo->list->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(h.yesNo->list->currentRow(), 1);
  h.yesNo->list->setCurrentRow(0);
  h.a->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(h.savedList, "0");
  EXPECT_EQ(h.yesNo->list->currentRow(), -1);

  h.kit.listStep(h.yesNo->list, h.savedList, 0);  // already first: stays, list focused
  QApplication::processEvents();
  EXPECT_EQ(h.savedList, "0");
  EXPECT_EQ(h.yesNo->list->currentRow(), 0);
  EXPECT_TRUE(h.yesNo->list->hasFocus());
  h.kit.listStep(h.yesNo->list, h.savedList, 1);
  h.kit.listStep(h.yesNo->list, h.savedList, 1);  // already last
  EXPECT_EQ(h.savedList, "1");

  h.a->setText("bad");
  const int restores = h.restores;
  h.kit.listStep(h.yesNo->list, h.savedList, 0);
  EXPECT_EQ(h.savedList, "1");
  EXPECT_EQ(h.restores, restores + 1);
  EXPECT_EQ(kit::stepIndex(2, 7, 1), 1);

  // A list that goes on showing its entry: taken after a passing check and
  // left shown; a failing check restores and takes nothing.
  h.yesNo->list->setCurrentRow(0);
  EXPECT_TRUE(h.kit.listTake(h.yesNo->list, h.savedList));
  EXPECT_EQ(h.savedList, "0");
  EXPECT_EQ(h.yesNo->list->currentRow(), 0);
  h.a->setText("bad");
  h.yesNo->list->setCurrentRow(1);
  EXPECT_FALSE(h.kit.listTake(h.yesNo->list, h.savedList));
  EXPECT_EQ(h.savedList, "0");
  EXPECT_EQ(h.a->text(), "a0");

  // One entry high, the row is about as tall as a text box: the arrows share
  // the list's height.
  h.yesNo->oneRowHigh();
  h.page.show();
  QApplication::processEvents();
  const int list = h.yesNo->list->height();
  EXPECT_LE(h.yesNo->up->height() + h.yesNo->down->height(), list + 2);
  EXPECT_LE(h.yesNo->sizeHint().height(), list + 2);
}

namespace {
struct CodeHarness {
  QWidget page;
  QLineEdit* box = new QLineEdit(&page);
  kit::Events* events = new kit::Events(&page);
  kit::CodeBoxes codes;
  CodeHarness(const char* alphabet, const char* fill, const char* text) {
    codes.alphabet = alphabet;
    codes.fill = fill;
    kit::CodeBoxes::prepare(box, 8);
    box->setText(text);
    events->keyDown(box, [this](QKeyEvent* e) {
      const kit::CodeKey k = kit::CodeKey::of(e);
      if (k.kind == kit::CodeKey::Tab) return false;
      codes.press(box, k);
      return true;
    });
    codes.focus(box);
  }
  void type(const QString& keys) {
    for (QChar c : keys) key(box, c.isLetter() ? Qt::Key_A + (c.toUpper().unicode() - 'A') : Qt::Key_0, c);
  }
  std::string text() const { return box->text().toStdString(); }
  QString selected() const { return box->selectedText(); }
};
}  // namespace

TEST(CodeBoxes, TypingOverwritesTheSelectedDigitAndStaysOnTheLast) {
  CodeHarness h("1234567890ABCDEF", "F", "FFFFFFFF");
  EXPECT_EQ(h.selected(), "F");
  h.type("12");
  EXPECT_EQ(h.text(), "12FFFFFF");
  EXPECT_EQ(h.codes.cursor, 2);
  h.type("a");  // a lower-case letter counts as its capital
  EXPECT_EQ(h.text(), "12AFFFFF");
  key(h.box, Qt::Key_G, "g");
  key(h.box, Qt::Key_Home);
  key(h.box, Qt::Key_C, "c", Qt::ControlModifier);
  EXPECT_EQ(h.text(), "12AFFFFF");
  EXPECT_EQ(h.codes.cursor, 3);
  key(h.box, Qt::Key_B, "B", Qt::ShiftModifier);  // a capital typed with Shift
  h.type("4567");
  EXPECT_EQ(h.text(), "12AB4567");
  EXPECT_EQ(h.codes.cursor, 7);
  h.type("9");
  EXPECT_EQ(h.text(), "12AB4569");
  EXPECT_EQ(h.selected(), "9");
  EXPECT_EQ(h.box->text().size(), 8);
  key(h.box, Qt::Key_V, "\x16", Qt::ControlModifier);  // no paste
  EXPECT_EQ(h.text(), "12AB4569");
}

TEST(CodeBoxes, TextFromOutsideIsTakenAsTypingWouldHaveMadeIt) {
  CodeHarness h("1234567890ABCDEF", "F", "12345678");
  h.box->setText("a0b");
  EXPECT_TRUE(h.codes.take(h.box));
  EXPECT_EQ(h.text(), "A0BFFFFF");
  h.box->setText("12G4");  // no hex digit
  EXPECT_FALSE(h.codes.take(h.box));
  EXPECT_EQ(h.text(), "12G4");
  h.box->setText(QString::fromUtf8("1\u00e9"));
  EXPECT_FALSE(h.codes.take(h.box));
  CodeHarness dtmf("123456789D0*#ABC", "C", "12345678");
  dtmf.box->setText("*#d");
  EXPECT_TRUE(dtmf.codes.take(dtmf.box));
  EXPECT_EQ(dtmf.text(), "*#DCCCCC");
  dtmf.box->setText("E1");
  EXPECT_FALSE(dtmf.codes.take(dtmf.box));
}

TEST(CodeBoxes, BackspaceAndDeleteRemoveTheDigitAndRefillAtTheEnd) {
  CodeHarness h("1234567890ABCDEF", "F", "12345678");
  key(h.box, Qt::Key_Right);
  key(h.box, Qt::Key_Up);  // Up selects the next digit too
  EXPECT_EQ(h.selected(), "3");
  key(h.box, Qt::Key_Backspace);
  EXPECT_EQ(h.text(), "1245678F");
  EXPECT_EQ(h.selected(), "2");
  h.box->setText("12345678");
  h.codes.cursor = 2;
  key(h.box, Qt::Key_Delete);
  EXPECT_EQ(h.text(), "1245678F");
  EXPECT_EQ(h.selected(), "4");
  key(h.box, Qt::Key_Down);
  key(h.box, Qt::Key_Left);
  key(h.box, Qt::Key_Left);
  EXPECT_EQ(h.codes.cursor, 0);
  key(h.box, Qt::Key_Backspace);  // the first digit: the cursor stays on it
  EXPECT_EQ(h.text(), "245678FF");
  EXPECT_EQ(h.codes.cursor, 0);

  CodeHarness dtmf("123456789D0*#ABC", "C", "12345678");
  key(dtmf.box, Qt::Key_Delete);
  EXPECT_EQ(dtmf.text(), "2345678C");
  key(dtmf.box, Qt::Key_Asterisk, "*", Qt::KeypadModifier);
  key(dtmf.box, Qt::Key_NumberSign, "#", Qt::ShiftModifier);
  dtmf.type("E");  // not a DTMF key
  key(dtmf.box, Qt::Key_0, "0", Qt::KeypadModifier);
  EXPECT_EQ(dtmf.text(), "*#05678C");
}

namespace {
// A message box in front of the page for a moment: the page's window loses
// the focus and gets it back when the box is gone. `meanwhile` runs while
// the box is up (what the page does after its check, say).
void messageBoxInFront(QWidget& page, const std::function<void()>& meanwhile) {
  QWidget box;
  box.show();
  box.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&box));
  meanwhile();
  box.close();
  page.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&page));
  QApplication::processEvents();
}
}  // namespace

TEST(SettingsKit, TwoEntryListComingBackWithItsWindowShowsTheSavedEntryNotTheFirst) {
  Harness h;
  h.savedList = "1";
  QListWidget* list = h.yesNo->list;
  list->setFocus();
  QApplication::processEvents();
  ASSERT_EQ(list->currentRow(), 1);
  // The page shows its saved values again while the box is up; the list,
  // not focused then, shows no entry.
  messageBoxInFront(h.page, [list] {
    list->setCurrentRow(-1);
    list->clearSelection();
  });
  EXPECT_TRUE(list->hasFocus());
  EXPECT_EQ(list->currentRow(), 1);
  h.a->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(h.savedList, "1");

  // A refusal sends the focus to the list while the box is still up.
  messageBoxInFront(h.page, [list] { list->setFocus(Qt::OtherFocusReason); });
  EXPECT_TRUE(list->hasFocus());
  EXPECT_EQ(list->currentRow(), 1);
  h.a->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(h.savedList, "1");
}

TEST(SettingsKit, WheelOverAOneRowListNeverShowsAnEntryThatIsNotItsValue) {
  Harness h;
  h.yesNo->oneRowHigh();
  h.yesNo->showValue(0);
  QApplication::processEvents();
  QListWidget* list = h.yesNo->list;
  auto shown = [list] { return list->indexAt(QPoint(4, 2)).row(); };
  ASSERT_EQ(shown(), 0);
  for (int delta : {-120, -120, 120, -120}) {
    const QPointF at(4, 2);
    QWheelEvent wheel(at, list->viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(list->viewport(), &wheel);
    QApplication::processEvents();
    EXPECT_EQ(shown(), 0) << delta;
  }
  EXPECT_EQ(h.savedList, "0");
}

TEST(SettingsKit, ALostFocusHandlerIsNotReenteredAndAnEntryIsJudgedOnce) {
  Harness h;
  // A handler that moves the focus about, as a message box and putting the
  // focus back do: neither its own box nor another box is left meanwhile.
  int aLeft = 0;
  h.kit.events->lostFocus(h.a, [&] {
    ++aLeft;
    h.b->setFocus();
    h.a->setFocus();
    h.combo->setFocus();
  });
  h.a->setFocus();
  QApplication::processEvents();
  h.bLeft = 0;
  h.b->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(aLeft, 1);
  EXPECT_EQ(h.bLeft, 0);
  EXPECT_FALSE(h.kit.events->leaving());
  // Once it has run, leaving works again.
  h.b->setFocus();
  QApplication::processEvents();
  h.a->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(h.bLeft, 1);

  // Text typed into the box with the focus is judged when the box is left,
  // once; text put in from outside is judged once too, however long the
  // page then waits.
  h.kit.events->lostFocus(h.a, [&] { h.kit.leaveField(h.a, h.savedA); });
  h.b->setFocus();
  QApplication::processEvents();
  int checks = h.checks;
  type(h.b, "7");
  h.a->setFocus();
  QApplication::processEvents();
  QTest::qWait(120);
  EXPECT_EQ(h.checks, checks + 1);
  EXPECT_EQ(h.savedB, "b07");
  checks = h.checks;
  const int left = h.bLeft;
  putFromOutside(h.b, "b8");
  QTest::qWait(120);
  EXPECT_EQ(h.checks, checks + 1);
  EXPECT_EQ(h.bLeft, left + 1);
  EXPECT_EQ(h.savedB, "b8");
}
