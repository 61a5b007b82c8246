#pragma once
// The settings-page kit: what the settings pages (configuration, encode,
// decode, miscellaneous, scan, priority channel) share. Each page keeps one
// saved text per control, the last value that passed its input check; the
// kit runs the check before a value is taken and, when it fails, lets the
// page put every control back from its saved values.
//
//   - MaskRows: a mask row of "1"/"0" enables rows of labels and controls and
//     paints the value controls (grey when disabled, window colour when not).
//   - Busy: raised while a page fills its own controls, so change handlers
//     ignore what the page does itself.
//   - Events: GotFocus, LostFocus, KeyDown, KeyUp and MouseUp per control; a
//     lost-focus handler is not re-entered, and a message box or menu taking
//     the focus is not leaving the field.
//   - OutsideEntries: text put into a box that lacks the focus (by a
//     screen reader or test tool) is an entry of its own, taken up later;
//     the settings pages judge it as leaving the box would judge typed
//     text.
//   - FocusSink: the hidden last stop of the tab order ("txtEndForcus") that
//     closes the page, with its one-shot marker after a refused entry.
//   - SettingsKit: the check-first handlers of fields, combo boxes and the
//     two-entry lists stepped by up-down arrows.
//   - CodeBoxes: the overwrite editor of digit-code boxes.
#include <QLineEdit>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QComboBox;
class QGroupBox;
class QKeyEvent;
class QPushButton;
class QListWidget;
class QToolButton;

namespace kit {

// ---- Enabling and painting ----

// Paints a value control (text, list or combo box) for its Enabled state:
// &HC0C0C0 when disabled, the system window colour when enabled.
void paintByState(QWidget* control);
// Enables or disables a value control and paints it.
void setEnabledPainted(QWidget* control, bool enabled);

// Which controls each character of a page's mask row governs.
class MaskRows {
 public:
  // Character `ch` (1-based) enables or disables the `plain` widgets (labels,
  // unit labels, arrows, option buttons) and the `values`, which are painted too.
  void add(int ch, std::vector<QWidget*> plain, std::vector<QWidget*> values = {});
  // "1" enables a row; any other character, or none, disables it.
  void apply(const std::string& mask) const;

 private:
  struct Row {
    int ch;
    std::vector<QWidget*> plain;
    std::vector<QWidget*> values;
  };
  std::vector<Row> rows_;
};

// ---- Busy flag ----

class Busy {
 public:
  bool on() const { return depth_ > 0; }
  // Raised for the life of the returned object; holds nest, so a routine that
  // raises it inside another one does not lower it early.
  class Hold {
   public:
    explicit Hold(Busy& b) : b_(b) { ++b_.depth_; }
    ~Hold() { --b_.depth_; }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

   private:
    Busy& b_;
  };

 private:
  int depth_ = 0;
};

// ---- Events of controls ----

class Events : public QObject {
 public:
  explicit Events(QObject* parent);
  // Runs when the control gets the focus from another control of the page;
  // also when a list box gets it back with its window while it shows no
  // entry (so that it shows its saved one, not Qt's first).
  void gotFocus(QWidget* w, std::function<void()> fn);
  // Runs when the control loses the focus to another control of the program;
  // not while another control's lost-focus handler runs (its message box and
  // its putting the focus back are part of it).
  void lostFocus(QWidget* w, std::function<void()> fn);
  // A key pressed in the control, before the control handles it; answer true
  // to swallow the key.
  void keyDown(QWidget* w, std::function<bool(QKeyEvent*)> fn);
  void keyUp(QWidget* w, std::function<void(QKeyEvent*)> fn);
  // The mouse button released over the control.
  void mouseUp(QWidget* w, std::function<void()> fn);
  // Runs the control's lost-focus handler as leaving it would, unless one
  // runs already. False when none ran.
  bool leave(QWidget* w);
  // True while a lost-focus handler runs.
  bool leaving() const { return leaving_; }
  // Told of each text box as it gets its lost-focus handler.
  std::function<void(QLineEdit*)> textBoxBound;
  // While quiet, focus handlers do nothing (the kit is putting the focus back
  // after a refused entry, through whatever control took it meanwhile).
  bool quiet = false;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Handlers {
    std::function<void()> gotFocus, lostFocus, mouseUp;
    std::function<bool(QKeyEvent*)> keyDown;
    std::function<void(QKeyEvent*)> keyUp;
  };
  Handlers& of(QWidget* w);
  void runLeaving(const std::function<void()>& fn);
  std::vector<std::pair<QObject*, Handlers>> handlers_;
  bool leaving_ = false;
};

// A typed character outside `accepted`: true when the key types a character
// that the box does not take. Backspace and keys that type nothing pass.
bool refusedCharacter(const QKeyEvent* e, const std::string& accepted);

// ---- Focus sink ----

// The last stop of the page's tab order, not visible. Its text is a marker:
// "1" after a refused entry, so that the focus arriving next only clears it;
// with an empty marker the arrival runs the page's closing handler.
class FocusSink : public QLineEdit {
 public:
  FocusSink(QWidget* page, std::function<void()> arrive);
  void mark() { setText("1"); }
  void clearMark() { clear(); }
  bool marked() const { return !text().isEmpty(); }
  // Puts it last in the tab order of the page's current chain.
  void placeLast();

 protected:
  void focusInEvent(QFocusEvent* e) override;

 private:
  std::function<void()> arrive_;
  QPointer<QWidget> cameFrom_;
};

// ---- Entries from outside ----

// Text put into a box from outside: a screen reader or test tool setting it
// through the accessibility interface while the box lacks the focus. Such a
// change is an entry of its own, taken up at a later turn of the event loop:
// the tool that set the text gets its answer before a message can wait for
// the user, and the page's own change handlers have done with the text.
// Entries wait while the page is held off (disabled under a modal window, or
// `held` says a check, its message or a closing is in progress); they are
// dropped once the page has unloaded, and one is taken only while its box
// still shows the text it brought.
class OutsideEntries {
 public:
  // `own(box)`: the change is the page's own doing, or typing into the box
  // being edited; no entry. `take(box)` judges an entry and answers false
  // when it was refused; the entries after it then wait for the next turn
  // (a refusal may put their boxes back). Queued calls and connections go
  // through `context` and stop with this object.
  OutsideEntries(QWidget* page, QObject* context, std::function<bool(QLineEdit*)> own, std::function<bool()> held,
                 std::function<bool(QLineEdit*)> take);
  OutsideEntries(const OutsideEntries&) = delete;
  OutsideEntries& operator=(const OutsideEntries&) = delete;
  // The box's text changes go to put().
  void watch(QLineEdit* box);
  // A change of the box's text: true when it is an entry (the box lacks the
  // focus and the page did not make the change), which then waits its turn.
  bool put(QLineEdit* box);
  // Takes back the entry waiting in `box`, for the page to judge it now
  // (the box is about to take the focus). True when there was one and the
  // box still shows its text.
  bool withdraw(QLineEdit* box);
  // Drops every entry waiting: the page shows other texts in its boxes.
  void drop() { entries_.clear(); }

 private:
  void takeLater(int ms);
  void takeAll();

  QWidget* page_;
  QObject* context_;
  std::function<bool(QLineEdit*)> own_;
  std::function<bool()> held_;
  std::function<bool(QLineEdit*)> take_;
  // The entries waiting, with the text each brought.
  std::vector<std::pair<QPointer<QLineEdit>, QString>> entries_;
  bool due_ = false;
  std::shared_ptr<int> life_ = std::make_shared<int>(0);
};

// ---- The check-first handlers ----

class SettingsKit {
 public:
  // `check` shows its own message and answers false when a value is refused;
  // `restore` puts every control back from the page's saved values.
  SettingsKit(QWidget* page, std::function<bool()> check, std::function<void()> restore);
  SettingsKit(const SettingsKit&) = delete;
  SettingsKit& operator=(const SettingsKit&) = delete;

  Busy busy;
  Events* events = nullptr;
  FocusSink* sink = nullptr;  // made by makeSink()

  // Makes the page's focus sink; `arrive` runs when the focus reaches it with
  // an empty marker.
  FocusSink* makeSink(std::function<void()> arrive);

  // Runs the check; when it fails the controls are restored. True when it passed.
  bool checked();
  // A refused entry: the controls are restored, the focus goes back to the
  // control (after the focus change in progress) with its text selected, and
  // the sink is marked when `marks`.
  void refuse(QWidget* control, bool marks = true);
  // Leaving a text box: a passing check takes its text as the saved value and
  // clears the marker (when `marks`); a failing one refuses the entry.
  // Answers whether the text was taken.
  bool leaveField(QLineEdit* box, std::string& saved, bool marks = true);
  // A combo box's selection changed: ignored while busy or with nothing
  // selected; else a passing check takes the index, a failing one restores.
  bool comboChanged(QComboBox* combo, std::string& saved);
  // A button pressed without taking the focus (by an accessibility tool):
  // the focus moves to it as a click would move it, so the field being
  // edited is left, checked and taken first. False when that field's entry
  // was refused.
  bool leaveFocusedField(QWidget* to);

  // Text put into a box from outside while the box lacks the focus and the
  // page is not busy (a screen reader or test tool setting it through the
  // accessibility interface) is an entry of its own, taken up at the
  // next turn of the event loop. It must be text that typing could have
  // produced: the box enabled, its validator not refusing it and its rule
  // (below) passing; else the controls are restored. Then it is judged as
  // leaving the box would judge it: the box's lost-focus handler runs, which
  // takes it, or refuses it with its message and puts the focus back.
  // `rule` stands for the box's key handling: it may make the text what
  // typing would have made of it, or refuse it (false) with the message
  // typing would have shown, if any.
  void entryRule(QLineEdit* box, std::function<bool()> rule);

  // Two-entry lists stepped by arrows show their entry only while they have
  // the focus. Getting the focus selects the saved entry; leaving takes the
  // selected entry after a passing check (a failing one restores); either way
  // the list then shows no entry.
  void listGotFocus(QListWidget* list, const std::string& saved);
  void listLostFocus(QListWidget* list, std::string& saved);
  // Leaving a list that goes on showing its entry: after a passing check the
  // selected entry is taken (a failing one restores). Answers whether the
  // entry was taken; what the list shows is the page's to decide.
  bool listTake(QListWidget* list, std::string& saved);
  // An arrow: after a passing check, one entry back (0) or forward (1) from
  // the saved value, never beyond the ends; the list gets the focus.
  void listStep(QListWidget* list, std::string& saved, int direction);

 private:
  void watch(QLineEdit* box);
  bool takeEntry(QLineEdit* box);

  QWidget* page_;
  std::function<bool()> check_;
  std::function<void()> restore_;
  int refusals_ = 0;
  // Raised while the kit runs the page's check or restore: what they put
  // into the boxes is the page's own.
  Busy judging_;
  std::unique_ptr<OutsideEntries> outside_;
  std::vector<QLineEdit*> watched_;
  std::vector<std::pair<QLineEdit*, std::function<bool()>>> rules_;
};

// One step of an up-down arrow over a list of `count` entries: direction 0
// lowers an index of 1 or more by one, 1 raises an index below count - 1 by
// one, any other direction keeps it; never wraps.
int stepIndex(int count, int direction, int index);

// A two-entry list box with its up-down arrows beside it, as one row widget.
class UpDownList : public QWidget {
 public:
  UpDownList(QWidget* parent, const QStringList& entries, const QString& accessibleName);
  QListWidget* list = nullptr;
  QToolButton* up = nullptr;    // previous entry
  QToolButton* down = nullptr;  // next entry
  // The arrows follow the list's mask character; arrows beside a disabled
  // list do nothing.
  void setArrowsEnabled(bool enabled);
  // One entry high: while the list has no focus it shows its value (see
  // showValue) instead of two entries of which none is highlighted.
  void oneRowHigh();
  // Scrolls the entry `index` into view without selecting it and names it as
  // the list's accessible description, so the value stays readable.
  void showValue(int index);

 protected:
  // The mouse wheel does nothing over the list: in a list one entry high it
  // would bring the other entry into sight without choosing it.
  bool eventFilter(QObject* watched, QEvent* event) override;
};

// The frame "Action" of a settings page with its Exit button (the page's
// CmdAction(1), tool tip "Close this menu"); captions come at load.
struct ActionFrame {
  QGroupBox* frame = nullptr;
  QPushButton* exit = nullptr;
};
ActionFrame makeActionFrame(QWidget* parent);

// ---- Widths ----

// Makes a box wide enough to show `length` characters (its maxLength when
// -1), each as wide as the widest of `characters`, in its own font, with its
// frame and margins: a code or number is never cut, whatever the font.
void fitWidth(QLineEdit* box, const QString& characters, int length = -1);
// Every character a digit-code box shows: the hex digits and the DTMF keys.
inline const char* const kCodeCharacters = "0123456789ABCDEF*#";
inline const char* const kDigitCharacters = "0123456789";

// ---- Digit-code boxes ----

// A key as the code boxes judge it: a typed character (letters as capitals)
// or an editing or moving key.
struct CodeKey {
  enum Kind { Typed, Backspace, Delete, Left, Right, Up, Down, Escape, Tab, Other };
  Kind kind = Other;
  char ch = 0;  // Typed only
  static CodeKey of(const QKeyEvent* e);
};

// The overwrite editor of a page's code boxes. A box always holds its full
// length (its maxLength) and one digit, at the cursor, is selected: typing a
// character of the current alphabet replaces it and selects the next one;
// Backspace and Delete remove it, shift the rest left and refill the box at
// its end with the empty digit (Backspace then selects the digit before);
// Left and Down select the previous digit, Right and Up the next; any other
// key changes nothing. Paste, drag and drop and the context menu are off.
class CodeBoxes {
 public:
  std::string alphabet;  // characters a box accepts
  std::string fill = "F";  // the empty digit that refills a box
  int cursor = 0;          // one cursor for all the page's boxes

  // Makes `box` a code box of `length` digits.
  static void prepare(QLineEdit* box, int length);
  // GotFocus and a mouse click: the first digit is selected.
  void focus(QLineEdit* box);
  // Applies a key (not Escape or Tab, which the page handles) to the box.
  void press(QLineEdit* box, const CodeKey& key);
  // Selects the digit at the cursor.
  void select(QLineEdit* box) const;
  // Text put into the box from outside, made what typing could have made of
  // it: letters as capitals, a short code followed by empty digits. False
  // (the box unchanged) when a character is outside the alphabet.
  bool take(QLineEdit* box) const;
};

}  // namespace kit
