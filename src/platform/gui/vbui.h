#pragma once
// The page binding: how the pages' original event model maps onto Qt.
// Twips stay the unit of placement; colours are "&H00bbggrr&" literals.
#include <QColor>
#include <QDialog>
#include <QPointer>
#include <functional>
#include <string>
#include <vector>

class QAction;
class QKeyEvent;
class QWidget;

namespace vbui {

// 15 twips per pixel (96 dpi), converted here and nowhere else.
constexpr int kTwipsPerPixel = 15;
inline int twipsToPixels(int twips) { return twips / kTwipsPerPixel; }
inline int pixelsToTwips(int px) { return px * kTwipsPerPixel; }

QColor color(uint32_t bgr);                    // 0x00bbggrr to a colour
QColor colorFromLiteral(const std::string& s);  // "&H0000C000&"
constexpr uint32_t kEnabledBack = 0xFFFFFF;
constexpr uint32_t kDisabledBack = 0xC0C0C0;

// Paints a control's back colour; on a page, frame or label the text turns
// black or white, whichever reads better on it (a family colour can be dark).
void setBackColor(QWidget* w, uint32_t bgr);
// Black or white: the one with the higher contrast against `back`.
QColor readableTextOn(const QColor& back);
// The contrast ratio of two colours (1 to 21).
double contrastRatio(const QColor& a, const QColor& b);
void setForeColor(QWidget* w, uint32_t bgr);
// Enables or disables a control; a disabled one stays visible and is painted grey.
void setEnabledPainted(QWidget* w, bool enabled);

// Key codes of the original runtime: 8 back, 9 tab, 13 enter, 27 escape,
// 33..40 page up/down, end, home, arrows, 45 insert, 46 delete, 48..57 digits,
// 65..90 letters, 112..123 F1..F12; 0 for others.
int keyCode(const QKeyEvent* e);
// Shift state: 1 shift, 2 ctrl, 4 alt.
int shiftState(const QKeyEvent* e);
// The typed character (judged by what the key produces), 0 when none.
int keyAscii(const QKeyEvent* e);

// While a modal page, message box or dialog is up, every other window of the
// program is inert. Qt's modality only holds back mouse and keyboard; an
// accessibility action or a timer-driven click would still reach a covered
// page and could unload or destroy a page that waits in its modal loop. So
// the covered windows are disabled (their menu items too) for the lifetime
// of this object, and given back as they were: a control the page disabled
// itself stays disabled, the control that had the keyboard gets it back.
// Taking the keyboard from a covered page is reported to it as the window
// losing activation, so lost-focus checks stay quiet. Scopes nest.
class ModalCover {
 public:
  explicit ModalCover(QWidget* modal);
  ~ModalCover();
  ModalCover(const ModalCover&) = delete;
  ModalCover& operator=(const ModalCover&) = delete;

 private:
  struct Held {
    QPointer<QWidget> window;
    QPointer<QWidget> focus;
  };
  std::vector<QPointer<QWidget>> disabled_;
  std::vector<Held> focus_;
  std::vector<QPointer<QAction>> menuItems_;
};

// Runs a dialog modally with the windows below it inert; returns exec()'s result.
int execModal(QDialog& dialog);

// Enter or keypad Enter on a page's focused push button presses it, as on the
// platform the pages were designed for (Qt presses only "default" buttons,
// which the pages switch off so that Enter in a text box presses nothing).
// Installed once for the whole program by the first page; a text box, the
// channel grid and message boxes keep their own Enter handling.
void installEnterPressesButton();

// The text of a disabled control, dark grey: readable on the grey a disabled
// control is painted (and on every covered page while a modal window is up),
// still set apart from an enabled control's black. The style's own disabled
// text is pale enough to vanish on &HC0C0C0. Set once on the application's
// palette by the first page.
constexpr uint32_t kDisabledText = 0x404040;
void keepDisabledTextReadable();

}  // namespace vbui

// A page of the program: a window with the load / activate / unload events
// the pages were designed for, and twips placement.
class Page : public QDialog {
  Q_OBJECT
 public:
  explicit Page(QWidget* parent = nullptr);
  ~Page() override;

  // Placement in twips (outer frame position).
  int Top() const;
  int Left() const;
  int Width() const;
  int Height() const;
  void Move(int leftTwips, int topTwips);
  void setTop(int twips);
  void setLeft(int twips);
  void setCaption(const std::string& caption);

  // Loads the page once (Form_Load) and shows it without waiting.
  void Show();
  // Loads the page once and shows it modally; returns when it has unloaded.
  // Every other window stays inert meanwhile (vbui::ModalCover).
  // Tests install a hook that drives the page instead of waiting on it.
  void showModal();
  // Unloads the page: Form_Unload, then it closes.
  void Unload();
  bool isLoaded() const { return loaded_; }

  using ModalHook = std::function<void(Page&)>;
  static void setModalHook(ModalHook hook);
  // The page in front (last shown, not yet unloaded).
  static Page* front();
  // The main menu, which the pages it opens place themselves against.
  static void setMainMenu(Page* menu);
  static Page* mainMenu();
  // The outer size (pixels) the page has, or will have when it first shows.
  QSize outerSizeToShow() const;
  // Places this page at the main menu's Top + dTop and Left + dLeft (twips),
  // moved back onto the screen where it would run past an edge.
  void placeFromMainMenu(int dTop, int dLeft);

 protected:
  virtual void Form_Load() {}
  // The page comes to the front inside the program: its first show, and each
  // time a page opened over it unloads. Not fired by message boxes.
  virtual void Form_Activate() {}
  // Set cancel to keep the page open.
  virtual void Form_Unload(bool& cancel) { (void)cancel; }

  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void reject() override;  // Escape does not close a page by itself

 private:
  void ensureLoaded();
  void pushFront();
  void popFront();
  bool loaded_ = false;
  bool unloading_ = false;
  bool activatedOnce_ = false;
  bool besideMainMenu_ = false;  // placed by placeFromMainMenu
  void keepOnScreen();
};
