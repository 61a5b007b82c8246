#include "channel/pages/frmautoset.h"

#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "channel/pages/chancells.h"
#include "channel/pages/frmchannel.h"
#include "channel/cellrules.h"
#include "channel/freqcheck.h"
#include "channel/tonetables.h"
#include "core/chanrows.h"
#include "core/modeltables.h"
#include "core/modpublic.h"
#include "core/pages/pagekit.h"
#include "app/program.h"
#include "core/pages/updown.h"
#include "platform/base/appinfo.h"
#include "platform/base/strtable.h"
#include "platform/base/vbtext.h"
#include "platform/gui/helpviewer.h"
#include "platform/gui/settingskit.h"

using namespace autoset;

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

void place(QWidget* w, int left, int top, int width, int height) {
  w->setGeometry(vbui::twipsToPixels(left), vbui::twipsToPixels(top), vbui::twipsToPixels(width),
                 vbui::twipsToPixels(height));
}

// Left edge and width (twips) of each template column, rows at 990 and 1260.
constexpr int kColumnLeft[kCells] = {780, 1380, 2400, 3720, 4320, 4920, 5520, 6120, 6720, 7320, 7920, 8520, 9120};
// The step column is as wide as its head ("Reference") needs.
constexpr int kColumnWidth[kCells] = {600, 840, 1080, 600, 600, 600, 600, 600, 600, 600, 600, 600, 600};
constexpr int kRowTop[FrmAutoSet::kRows] = {990, 1260};
constexpr int kCellHeight = 270;
constexpr int kMaxLength[kCells] = {3, 5, 9, 3, 4, 3, 5, 5, 3, 1, 1, 1, 2};

// The editor's cells as the range fill writes them: a cell written runs the
// editor's change handler; the tone columns go into the grid directly.
class EditorFill : public FillTarget {
 public:
  explicit EditorFill(FrmChannel& e) : e_(e) {}
  int scrollValue() const override { return e_.vscChanPara->value(); }
  void setScrollValue(int value) override { e_.vscChanPara->setValue(value); }
  void setCell(int cell, int visibleRow, const std::string& text) override {
    // The row becomes the template's channel: a tone the old channel held
    // beyond the tables does not come with it.
    if (cell == kFreq) forgetKeptTone(e_.data, e_.vscChanPara->value() + visibleRow);
    e_.setCellText(cell, visibleRow, text);
  }
  void setGridText(int gridRow, int column, const std::string& text) override {
    modPublic.strChanPara(gridRow, column) = text;
  }

 private:
  FrmChannel& e_;
};

static_assert(static_cast<int>(kPMFM) == FrmChannel::kPMFM && static_cast<int>(kCTCSS) == FrmChannel::kCTCSS,
              "the template's columns are the editor's");

}  // namespace

void FrmAutoSet::open(FrmChannel& editor) {
  // One dialog at a time: a screen reader can reach the editor's menu past
  // the open dialog.
  static bool opened = false;
  if (opened) return;
  opened = true;
  FrmAutoSet dialog(editor);
  dialog.showModal();
  opened = false;
  // The keyboard goes back to the editor, also where no window manager
  // hands it back.
  if (editor.isVisible()) editor.activateWindow();
}

FrmAutoSet::FrmAutoSet(FrmChannel& editor) : Page(&editor), editor_(editor) {
  setObjectName("frmAutoSet");
  auto* root = new QVBoxLayout(this);
  root->setContentsMargins(0, 0, 0, 0);
  menuBar = new QMenuBar(this);
  mnuHelp = menuBar->addAction(q(LoadResString(1406)));
  root->setMenuBar(menuBar);
  connect(mnuHelp, &QAction::triggered, this, [this] { mnuHelp_Click(); });

  body_ = new QWidget(this);
  body_->setFixedSize(vbui::twipsToPixels(9960), vbui::twipsToPixels(3480));
  root->addWidget(body_);
  events_ = new kit::Events(this);
  // What the dialog writes itself, what a lost-focus check puts back and what
  // is typed into the cell being edited is no entry from outside.
  outside_ = std::make_unique<kit::OutsideEntries>(
      this, this, [this](QLineEdit* box) { return writing_ > 0 || events_->leaving() || box == current_; },
      [this] { return writing_ > 0 || events_->leaving() || events_->quiet; },
      [this](QLineEdit* box) { return takeEntry(box); });

  labTitle = new QLabel(body_);
  QFont title = labTitle->font();
  title.setBold(true);
  title.setPointSize(title.pointSize() + 2);
  labTitle->setFont(title);
  place(labTitle, 1192, 120, 7000, 360);

  buildTemplate(body_);
  buildFields(body_);
  buildPopups(body_);
  bindEvents();
  editor_.installEventFilter(this);

  // Tab walks the template row by row, then the sign, step and range, Set, Exit.
  QWidget* previous = nullptr;
  for (int r = 0; r < kRows; ++r)
    for (int k = 0; k < kColumns; ++k) {
      if (previous) setTabOrder(previous, cell(k, r));
      previous = cell(k, r);
    }
  for (QWidget* w : {static_cast<QWidget*>(lstSign), static_cast<QWidget*>(txtValue), static_cast<QWidget*>(txtStartNo),
                     static_cast<QWidget*>(txtEndNo), static_cast<QWidget*>(CmdAction[1]),
                     static_cast<QWidget*>(CmdAction[0])}) {
    setTabOrder(previous, w);
    previous = w;
  }
  noDefaultButtons(this);
}

FrmAutoSet::~FrmAutoSet() = default;

void FrmAutoSet::buildTemplate(QWidget* body) {
  for (int k = 0; k < 14; ++k) {
    auto* l = new QLabel(body);
    l->setAlignment(Qt::AlignCenter);
    l->setAutoFillBackground(true);
    labChanParaEdit[static_cast<size_t>(k)] = l;
  }
  place(labChanParaEdit[0], 0, 660, 780, 330);
  for (int k = 0; k < kColumns; ++k)
    place(labChanParaEdit[static_cast<size_t>(gridColumn(k) + 1)], kColumnLeft[k], 660, kColumnWidth[k], 330);
  labChanParaKHz = new QLabel("KHz", body);
  labChanParaMHz = new QLabel("MHz", body);
  labChanParaKHz->setAlignment(Qt::AlignCenter);
  labChanParaMHz->setAlignment(Qt::AlignCenter);
  place(labChanParaKHz, kColumnLeft[kRef], 420, kColumnWidth[kRef], 240);
  place(labChanParaMHz, kColumnLeft[kFreq], 420, kColumnWidth[kFreq], 240);

  QFont cellFont = font();
  cellFont.setPixelSize(12);
  for (int r = 0; r < kRows; ++r) {
    labChanParaNo[static_cast<size_t>(r)] = new QLabel(body);
    labChanParaNo[static_cast<size_t>(r)]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    place(labChanParaNo[static_cast<size_t>(r)], 120, kRowTop[r], 300, kCellHeight);
    labChanParaTxRx[static_cast<size_t>(r)] = new QLabel(body);
    labChanParaTxRx[static_cast<size_t>(r)]->setAlignment(Qt::AlignCenter);
    place(labChanParaTxRx[static_cast<size_t>(r)], 420, kRowTop[r], 330, kCellHeight);
    for (int k = 0; k < kColumns; ++k) {
      auto* c = new QLineEdit(body);
      c->setObjectName(QString("template%1_%2").arg(k).arg(r));
      c->setFont(cellFont);
      c->setProperty("Tag", k);
      c->setTextMargins(0, 0, 0, 0);
      c->setMaxLength(kMaxLength[k]);
      c->setAlignment(k == kRef || k == kFreq ? Qt::AlignRight : Qt::AlignCenter);
      place(c, kColumnLeft[k], kRowTop[r], kColumnWidth[k], kCellHeight);
      vbui::setEnabledPainted(c, true);
      cells[static_cast<size_t>(k)][static_cast<size_t>(r)] = c;
      connect(c, &QLineEdit::textChanged, this, [this, k, r, c] {
        if (!outside_->put(c)) cellChange(k, r);
      });
    }
  }
  // Pasted or dropped text keeps what typing would: the digits and points
  // of it in the frequency cells.
  for (QLineEdit* c : txtFrequency) c->setValidator(new CharacterFilter(frequencyCharacter, nullptr, c));
  txtPrescaler[0]->setFocusPolicy(Qt::ClickFocus);
  txtPrescaler[1]->setFocusPolicy(Qt::ClickFocus);
  const char* tips[kCells] = {nullptr,
                              "1:2.50KHz  2:5.00KHz   3:6.25KHz   4:10.00KHz   5:12.50KHz",
                              nullptr,
                              "1:WIDE   2:NARROW   3:4KHz",
                              "1:Simplex   2:Semiduplex   3:Duplex   4:Repeater",
                              "1:ON   2:OFF",
                              "1:HIGH   2:LOW",
                              nullptr,
                              nullptr,
                              "1:1   2:NON",
                              "1:1   2:NON",
                              "1:1   2:NON",
                              "1:PM   2:FM"};
  for (int k = 0; k < kColumns; ++k)
    if (tips[k])
      for (QLineEdit* c : cells[static_cast<size_t>(k)]) c->setToolTip(tips[k]);
}

void FrmAutoSet::buildPopups(QWidget* body) {
  auto frame = [&](QGroupBox*& box, const char* caption, int left, int width, int height) {
    box = new QGroupBox(caption, body);
    place(box, left, 0, width, height);
    box->setAutoFillBackground(true);
    box->hide();
  };
  auto options = [&](QGroupBox* box, QRadioButton** buttons, int column, std::initializer_list<const char*> captions) {
    int i = 0;
    for (const char* caption : captions) {
      auto* b = new QRadioButton(caption, box);
      b->setGeometry(vbui::twipsToPixels(360), vbui::twipsToPixels(270 + 300 * i), box->width() - vbui::twipsToPixels(420),
                     vbui::twipsToPixels(270));
      // Chosen with the mouse or by its digit in the cell; the focus stays in
      // the cell until the choice moves it on.
      b->setFocusPolicy(Qt::NoFocus);
      connect(b, &QRadioButton::clicked, this, [this, column, i] { optionClick(column, i); });
      auto* digit = new QLabel(QString::number(i + 1), box);
      digit->setGeometry(vbui::twipsToPixels(120), vbui::twipsToPixels(270 + 300 * i), vbui::twipsToPixels(210),
                         vbui::twipsToPixels(270));
      if (box == fraReference && i == 0) Label1[8] = digit;
      else if (box == fraWNSelect && i == 2) Label1[9] = digit;
      else digitLabels.push_back(digit);
      buttons[i++] = b;
    }
  };
  frame(fraReference, "Reference", 2220, 1500, 1848);
  options(fraReference, optReference.data(), kRef, {"  2.50KHz", "  5.00KHz", " 6.25KHz", "10.00KHz", "12.50KHz"});
  frame(fraWNSelect, "W/N", 4320, 1530, 1230);
  options(fraWNSelect, optWideNarrow.data(), kWN, {" WIDE", " NARROW", "4KHz"});
  frame(fraMode, "Mode", 4935, 1770, 1545);
  options(fraMode, optMode.data(), kMode, {"Simplex", "Semiduplex", "Duplex", "Repeater"});
  frame(fraScan, "Scan", 5550, 1200, 945);
  options(fraScan, optScan.data(), kScan, {"ON", "OFF"});
  frame(fraTxPower, "TxPower", 4320, 1200, 945);
  options(fraTxPower, optTxPower.data(), kTxPower, {"HIGH", "LOW"});
  frame(fraPMFM, "PM/FM", 7920, 1200, 960);
  options(fraPMFM, optPMFM.data(), kPMFM, {"PM", "FM"});
  frame(fraINV, "INV", 6120, 1200, 945);
  options(fraINV, optINV.data(), kINV, {"  1", "NON"});
  frame(fraSH, "SH", 6765, 1200, 945);
  options(fraSH, optSH.data(), kSH, {"  1", "NON"});
  frame(fraSR, "SCR", 7320, 1200, 945);
  options(fraSR, optSR.data(), kSR, {"  1", "NON"});
  // Family "1" has neither a 2.5 kHz step nor 4 kHz channels: these open
  // only for the other families.
  optReference[0]->hide();
  Label1[8]->hide();
  optWideNarrow[2]->hide();
  Label1[9]->hide();
}

void FrmAutoSet::buildFields(QWidget* body) {
  // The sign list is one entry high, its arrows beside it; it takes some of
  // the room of the label before it so that its sign stays readable.
  Label3 = new QLabel(body);
  place(Label3, 315, 1995, 510, 270);
  signRow = new kit::UpDownList(body, {"+", "-"}, QString());
  place(signRow, 825, 1980, 720, 300);
  lstSign = signRow->list;
  lstSign->item(0)->setData(Qt::UserRole, 0);
  lstSign->item(1)->setData(Qt::UserRole, 1);
  signRow->oneRowHigh();
  updSignUp = signRow->up;
  updSignDown = signRow->down;
  connect(updSignUp, &QToolButton::clicked, this, [this] { updSignSelect_UpClick(); });
  connect(updSignDown, &QToolButton::clicked, this, [this] { updSignSelect_DownClick(); });
  connect(lstSign, &QListWidget::currentRowChanged, this, [this] { lstSign_Scroll(); });
  txtValue = new QLineEdit(body);
  txtValue->setObjectName("txtValue");
  // Typed steps are judged by value; the formatted text of the largest one
  // ("999.99000") is nine characters and is shown whole.
  txtValue->setMaxLength(9);
  place(txtValue, 1545, 1995, 915, 270);
  Label1[22] = new QLabel(body);
  place(Label1[22], 2505, 2010, 435, 270);
  Label1[0] = new QLabel(body);
  place(Label1[0], 3195, 1995, 1050, 270);
  txtStartNo = new QLineEdit(body);
  txtStartNo->setObjectName("txtStartNo");
  txtStartNo->setMaxLength(3);
  place(txtStartNo, 4245, 1980, 915, 270);
  Label2 = new QLabel(body);
  place(Label2, 3195, 2340, 1050, 270);
  txtEndNo = new QLineEdit(body);
  txtEndNo->setObjectName("txtEndNo");
  txtEndNo->setMaxLength(3);
  place(txtEndNo, 4245, 2340, 915, 270);

  fraAction = new QGroupBox(body);
  place(fraAction, 6480, 1890, 2625, 915);
  CmdAction[1] = new QPushButton(fraAction);
  CmdAction[1]->setObjectName("CmdAction1");
  place(CmdAction[1], 315, 300, 870, 375);
  CmdAction[0] = new QPushButton(fraAction);
  CmdAction[0]->setObjectName("CmdAction0");
  place(CmdAction[0], 1485, 315, 870, 375);
  connect(CmdAction[1], &QPushButton::clicked, this, [this] { CmdAction_Click(1); });
  connect(CmdAction[0], &QPushButton::clicked, this, [this] { CmdAction_Click(0); });
}

// ---------------------------------------------------------------- load, activate, unload

void FrmAutoSet::Form_Load() {
  ModPublic& m = modPublic;
  Move(editor_.Left() + 100, editor_.Top() + 330);
  setCaption(std::string(app::kTitle) + "-AutoSet");
  labTitle->setText(q(LoadResString(1300)));
  const uint32_t colour = vb::ColorValue(m.strLabelColor);
  vbui::setBackColor(this, colour);
  vbui::setBackColor(fraAction, colour);
  plainButtonColours(this);
  m.blnResult = blnChanLabChange(1000);
  m.blnResult = blnChanLabColor(m.strLabelColor);
  intTemplateEndRow = 1;
  intSignIndex = 0;
  family_ = m.family();

  Label3->setText(q(LoadResString(1450)));
  Label1[22]->setText(q(LoadResString(1451)));
  Label1[0]->setText(q(LoadResString(1452)));
  Label2->setText(q(LoadResString(1453)));
  for (QLabel* field : {Label3, Label1[0], Label2}) fitCaption(field);
  fraAction->setTitle(q(LoadResString(161)));
  CmdAction[1]->setText(q(LoadResString(1454)));
  CmdAction[0]->setText(q(LoadResString(1080)));
  CmdAction[0]->setToolTip(q(LoadResString(1439)));
  lstSign->setAccessibleName(Label3->text() + " +/-");
  updSignUp->setAccessibleName(lstSign->accessibleName() + " " + q(LoadResString(1420)));
  updSignDown->setAccessibleName(lstSign->accessibleName() + " " + q(LoadResString(1421)));
  txtValue->setAccessibleName(Label3->text());
  fitStepField();
  txtStartNo->setAccessibleName(Label1[0]->text());
  txtEndNo->setAccessibleName(Label2->text());
  signRow->showValue(intSignIndex);

  float sngIF = 0;
  std::string name, band;
  if (family_ < 0 || !currentModel(sngIF, name, band)) {
    // Without its model row there is no IF to check a receive frequency with.
    message(SoundKind::Attention, LoadResString(10081), "Form_Load");
    loadFailed_ = true;
    Unload();
    return;
  }
  if (family_ == 1)
    for (QLineEdit* c : txtReference) c->setToolTip("2:5.00KHz   3:6.25KHz   4:10.00KHz   5:12.50KHz");
  m.blnResult = blnChanIniSet(sngIF);
  editorHelpMenuShown_ = editor_.LabHelpMenu->isVisible();
}

void FrmAutoSet::Form_Activate() {
  if (loadFailed_) return;
  focusCell(kFreq, 0);
}

void FrmAutoSet::Form_Unload(bool& cancel) {
  (void)cancel;  // closing never cancels
  editor_.fraHelp->hide();
  editor_.picShadow->hide();
  if (family_ >= 0) {
    editor_.fraCTC[static_cast<size_t>(family_)]->hide();
    editor_.fraDCS[static_cast<size_t>(family_)]->hide();
  }
  if (!loadFailed_) editor_.LabHelpMenu->setVisible(editorHelpMenuShown_);
  // The cells' lost-focus checks are no longer wanted once the dialog goes.
  events_->quiet = true;
}

void FrmAutoSet::reject() {
  // Escape closes nothing, as in the editor below; the window's close button
  // is Exit.
}

bool FrmAutoSet::eventFilter(QObject* watched, QEvent* event) {
  // The editor closed below the dialog (its Exit reached past the dialog by
  // a screen reader): there is nothing left to fill.
  if (watched == &editor_) {
    if (event->type() == QEvent::Hide && !editor_.isLoaded() && isLoaded())
      QTimer::singleShot(0, this, [this] {
        if (isLoaded()) Unload();
      });
    return Page::eventFilter(watched, event);
  }
  // A mouse press in the step, range or sign fields closes every pop-up.
  if (event->type() == QEvent::MouseButtonPress &&
      (watched == txtValue || watched == txtStartNo || watched == txtEndNo || watched == lstSign->viewport()))
    hidePopups();
  return Page::eventFilter(watched, event);
}

bool FrmAutoSet::blnChanLabChange(int base) {
  setColumnHeads(labChanParaEdit, base);
  return true;
}

bool FrmAutoSet::blnChanLabColor(const std::string& colour) {
  paintColumnHeads(labChanParaEdit, colour);
  return true;
}

bool FrmAutoSet::blnChanIniSet(float sngIF) {
  ModPublic& m = modPublic;
  dblIFOffsetHz = freq::ifHz(sngIF);
  intLastGridRow = chanrows::lastGridRow(family_, m.bytRadioData);
  std::vector<int> headers, bothRows, txRow;
  switch (family_) {
    case 0: headers = {5}; bothRows = {kMode, kINV}; txRow = {kSH}; break;
    case 1: headers = {5, 9}; bothRows = {kMode, kINV, kPMFM}; txRow = {kSH}; break;
    default: bothRows = {kINV, kSH}; txRow = {kWN, kMode}; break;
  }
  for (int h : headers) labChanParaEdit[static_cast<size_t>(h)]->setEnabled(false);
  for (int k : bothRows)
    for (int r = 0; r < kRows; ++r) setCellEnabled(k, r, false);
  for (int k : txRow) setCellEnabled(k, 1, false);
  // The tables are loaded afresh for every dialog: no code of a family shown
  // earlier in the run can be taken for one of this family.
  std::string failed;
  if (!tones::load(family_, strCtcssTable, strDcsTable, failed)) {
    intSoundMsgBox(SoundKind::Warning, tones::missingText(failed), "blnChanIniSet");
    program::End(1);
    return false;
  }
  setCellEnabled(kTxPower, 0, false);
  setCellEnabled(kScan, 1, false);
  for (int i = 0; i <= intTemplateEndRow; ++i) {
    labChanParaNo[static_cast<size_t>(i)]->setText(i == 0 ? "1" : "");
    labChanParaTxRx[static_cast<size_t>(i)]->setText(i == 0 ? "RX" : "TX");
  }
  // Screen readers name each cell by its column and row.
  for (int k = 0; k < kColumns; ++k)
    for (int r = 0; r < kRows; ++r)
      cell(k, r)->setAccessibleName(labChanParaEdit[static_cast<size_t>(gridColumn(k) + 1)]->text() + " " +
                                    labChanParaTxRx[static_cast<size_t>(r)]->text());
  intOptionSetting = 0;
  return true;
}

// ---------------------------------------------------------------- Set and Exit

void FrmAutoSet::CmdAction_Click(int index) {
  if (index == 0) {
    Unload();
    return;
  }
  if (index != 1) return;
  // A value refused as the click took the focus out of its field: the user
  // has a message to answer, not a fill to wait for.
  if (checkRefused_) {
    checkRefused_ = false;
    return;
  }
  QApplication::setOverrideCursor(Qt::WaitCursor);
  editor_.blnAutoSet = true;
  const bool done = blnChannelSet();
  editor_.blnAutoSet = false;
  QApplication::restoreOverrideCursor();
  if (done) Unload();
}

bool FrmAutoSet::blnChannelSet() {
  Template t = templateTexts();
  RangeFields fields;
  fields.value = txtValue->text().toStdString();
  fields.startNo = txtStartNo->text().toStdString();
  fields.endNo = txtEndNo->text().toStdString();
  fields.signIndex = intSignIndex;
  fields.lastGridRow = intLastGridRow;
  EditorFill target(editor_);
  // The editor pages through the range as the fill writes it; it is painted
  // once, at its first page, when the fill is over.
  editor_.setUpdatesEnabled(false);
  const Refusal r = autoset::blnChannelSet(t, fields, target);
  editor_.setUpdatesEnabled(true);
  applyTemplate(t);
  if (!r) return true;
  QApplication::restoreOverrideCursor();
  message(r.kind, r.text(), "blnChannelSet");
  QApplication::setOverrideCursor(Qt::WaitCursor);
  switch (r.focus) {
    case Field::TemplateFrequency0: focusCell(kFreq, 0); break;
    case Field::Value: txtValue->setFocus(Qt::OtherFocusReason); break;
    case Field::StartNo: txtStartNo->setFocus(Qt::OtherFocusReason); break;
    case Field::EndNo: txtEndNo->setFocus(Qt::OtherFocusReason); break;
    case Field::None: break;
  }
  return false;
}

void FrmAutoSet::mnuHelp_Click() { help::showTopic(modPublic.strHelpFile, "Auto Channel Set Menu"); }

// ---------------------------------------------------------------- sign, step and range

void FrmAutoSet::lstSign_GotFocus() {
  hidePopups();
  lstSign->setCurrentRow(intSignIndex);
}

void FrmAutoSet::lstSign_LostFocus() {
  // The chosen sign stays in view, without the highlight of a focused list.
  const QSignalBlocker block(lstSign);
  lstSign->setCurrentRow(-1);
  lstSign->clearSelection();
  signRow->showValue(intSignIndex);
}

void FrmAutoSet::lstSign_Scroll() {
  // Whatever moved the list (arrow keys, the wheel, a click), the sign shown
  // is the sign used.
  const int row = lstSign->currentRow();
  if (row >= 0) intSignIndex = row;
}

void FrmAutoSet::updSignSelect_UpClick() { signStep(0); }

void FrmAutoSet::updSignSelect_DownClick() { signStep(1); }

void FrmAutoSet::signStep(int direction) {
  hidePopups();
  intSignIndex = objUpDownControl().binUpDown(lstSign, direction, intSignIndex);
  signRow->showValue(intSignIndex);
  lstSign->setFocus(Qt::OtherFocusReason);
}

void FrmAutoSet::txtValue_GotFocus() {
  hidePopups();
  if (!txtValue->text().isEmpty()) txtValue->selectAll();
}

bool FrmAutoSet::fieldChecked(QLineEdit* box, const FieldCheck& check, const std::string& title, bool leaving) {
  if (leaving) checkRefused_ = false;
  if (check.empty) return false;
  if (check.refusal) {
    // A refused value leaves the field empty, and the focus in it.
    checkRefused_ = leaving;
    message(check.refusal.kind, check.refusal.text(), title);
    box->clear();
    refocus(box, false);
    return false;
  }
  box->setText(q(check.text));
  return true;
}

void FrmAutoSet::fitStepField() {
  // The largest step, formatted, shows whole in the dialog's font: the field
  // grows to its right as far as that needs, its unit label beside it.
  const QString longest = "999.99000";
  QStyleOptionFrame opt;
  opt.initFrom(txtValue);
  opt.lineWidth = txtValue->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, txtValue);
  const QMargins m = txtValue->textMargins();
  const int text = txtValue->fontMetrics().horizontalAdvance(longest) + kLineEditTextRoom + m.left() + m.right() + 1;
  const int needed =
      txtValue->style()->sizeFromContents(QStyle::CT_LineEdit, &opt, QSize(text, txtValue->height()), txtValue).width();
  const int width = std::max(vbui::twipsToPixels(915), needed);
  txtValue->resize(width, txtValue->height());
  Label1[22]->move(txtValue->x() + width + vbui::twipsToPixels(45), Label1[22]->y());
}

int FrmAutoSet::channels() const { return (intLastGridRow + 1) / 2; }

void FrmAutoSet::txtValue_KeyUp(int keyCode) {
  if (keyCode == 13 && fieldChecked(txtValue, checkStep(family_, txtValue->text().toStdString()), "txtValue_KeyUp", false))
    txtStartNo->setFocus(Qt::OtherFocusReason);
}

void FrmAutoSet::txtValue_LostFocus() {
  fieldChecked(txtValue, checkStep(family_, txtValue->text().toStdString()), "txtValue_LostFocus", true);
}

void FrmAutoSet::txtStartNo_KeyUp(int keyCode) {
  if (keyCode == 13 && fieldChecked(txtStartNo, checkStart(channels(), txtStartNo->text().toStdString()), "txtStartNo_KeyUp", false))
    txtEndNo->setFocus(Qt::OtherFocusReason);
}

void FrmAutoSet::txtStartNo_LostFocus() {
  fieldChecked(txtStartNo, checkStart(channels(), txtStartNo->text().toStdString()), "txtStartNo_LostFocus", true);
}

void FrmAutoSet::txtEndNo_KeyUp(int keyCode) {
  if (keyCode != 13) return;
  fieldChecked(txtEndNo, checkEnd(channels(), txtStartNo->text().toStdString(), txtEndNo->text().toStdString()),
               "txtEndNo_KeyUp", false);
}

void FrmAutoSet::txtEndNo_LostFocus() {
  fieldChecked(txtEndNo, checkEnd(channels(), txtStartNo->text().toStdString(), txtEndNo->text().toStdString()),
               "txtEndNo_LostFocus", true);
}

// ---------------------------------------------------------------- events

void FrmAutoSet::bindEvents() {
  kit::Events& ev = *events_;
  // A key release counts only in the control that saw the key go down: the
  // Enter that closed a message box is not an Enter in the cell below it.
  // Up and Down are the exception: they move on key down, and the cell they
  // arrive in takes their release.
  auto pressed = [this](QWidget* w, const QKeyEvent* k) {
    pressedIn_ = w;
    pressedKey_ = k->key();
  };
  auto released = [this](QWidget* w, const QKeyEvent* k) {
    const bool ours = pressedIn_ == w && pressedKey_ == k->key();
    if (ours) pressedIn_ = nullptr;
    return ours || k->key() == Qt::Key_Up || k->key() == Qt::Key_Down;
  };
  for (int k = 0; k < kColumns; ++k)
    for (int r = 0; r < kRows; ++r) {
      QLineEdit* c = cell(k, r);
      ev.gotFocus(c, [this, k, r, c] {
        // Text put in from outside and still waiting is judged first: the
        // cell's visit starts from what was taken. A refusal with a message
        // began the visit already.
        if (outside_->withdraw(c) && !judgeEntry(c) && current_ == c) return;
        current_ = c;
        cellGotFocus(k, r);
      });
      ev.lostFocus(c, [this, k, r, c] {
        if (current_ == c) current_ = nullptr;
        if (isLoaded()) cellLostFocus(k, r);
        judged_[static_cast<size_t>(k)][static_cast<size_t>(r)] = cellText(k, r);
      });
      ev.mouseUp(c, [this, k, r] { cellMouseUp(k, r); });
      ev.keyDown(c, [this, k, r, c, pressed](QKeyEvent* e) {
        if (e->isAutoRepeat() && e->key() == Qt::Key_Return) return true;
        pressed(c, e);
        const int code = vbui::keyCode(e);
        const int shift = vbui::shiftState(e);
        if (code == 9) return false;  // Tab: the standard focus order
        if (cellKeyDown(k, r, code, shift)) return true;
        // A key that moved the focus is not typed into the cell it left.
        if (QApplication::focusWidget() != c) return true;
        if (shift & 6) return false;  // Ctrl and Alt keys are commands, not characters
        const int ascii = vbui::keyAscii(e);
        if ((ascii == 8 || ascii == 13 || ascii >= 32) && !cellKeyPress(k, r, ascii)) return true;
        return false;
      });
      ev.keyUp(c, [this, k, r, c, released](QKeyEvent* e) {
        if (e->isAutoRepeat() || e->key() == Qt::Key_Shift || e->key() == Qt::Key_Control || e->key() == Qt::Key_Alt)
          return;
        if (!released(c, e)) return;
        cellKeyUp(k, r, vbui::keyCode(e), vbui::shiftState(e));
      });
    }

  ev.gotFocus(lstSign, [this] { lstSign_GotFocus(); });
  ev.lostFocus(lstSign, [this] { lstSign_LostFocus(); });
  struct Field {
    QLineEdit* box;
    void (FrmAutoSet::*keyUp)(int);
    void (FrmAutoSet::*lostFocus)();
  };
  const Field fields[] = {{txtValue, &FrmAutoSet::txtValue_KeyUp, &FrmAutoSet::txtValue_LostFocus},
                          {txtStartNo, &FrmAutoSet::txtStartNo_KeyUp, &FrmAutoSet::txtStartNo_LostFocus},
                          {txtEndNo, &FrmAutoSet::txtEndNo_KeyUp, &FrmAutoSet::txtEndNo_LostFocus}};
  for (const Field& f : fields) {
    QLineEdit* box = f.box;
    ev.gotFocus(box, [this, box] {
      if (box == txtValue) {
        txtValue_GotFocus();
        return;
      }
      hidePopups();
      if (!box->text().isEmpty()) box->selectAll();
    });
    ev.lostFocus(box, [this, f] {
      if (isLoaded()) (this->*f.lostFocus)();
    });
    ev.keyDown(box, [box, pressed](QKeyEvent* e) {
      pressed(box, e);
      return vbui::keyCode(e) == 13;  // Enter types nothing; its check runs on release
    });
    ev.keyUp(box, [this, f, released](QKeyEvent* e) {
      if (!e->isAutoRepeat() && released(f.box, e)) (this->*f.keyUp)(vbui::keyCode(e));
    });
    // Clicking into a field closes every pop-up.
    box->installEventFilter(this);
    outside_->watch(box);
  }
  lstSign->viewport()->installEventFilter(this);
}

void FrmAutoSet::message(SoundKind kind, const std::string& text, const std::string& title) {
  intSoundMsgBox(kind, text, title);
}

void FrmAutoSet::refocus(QLineEdit* box, bool select) {
  // The focus comes back without running the got-focus handler.
  current_ = cellOf(box).first >= 0 ? box : nullptr;
  QPointer<QLineEdit> target(box);
  kit::Events* ev = events_;
  ev->quiet = true;
  QTimer::singleShot(0, this, [target, ev, select] {
    if (target) {
      target->setFocus(Qt::OtherFocusReason);
      if (select) target->selectAll();
    }
    ev->quiet = false;
  });
}

// ---------------------------------------------------------------- helpers

std::string FrmAutoSet::cellText(int column, int row) const { return cell(column, row)->text().toStdString(); }

void FrmAutoSet::setCellText(int column, int row, const std::string& text) {
  QLineEdit* c = cell(column, row);
  const QString t = q(text);
  if (c->text() != t) {
    ++writing_;
    c->setText(t);
    --writing_;
  }
  judged_[static_cast<size_t>(column)][static_cast<size_t>(row)] = c->text().toStdString();
}

void FrmAutoSet::focusCell(int column, int row) {
  if (column < 0 || column >= kColumns || row < 0 || row >= kRows) return;
  cell(column, row)->setFocus(Qt::OtherFocusReason);
}

void FrmAutoSet::selectAll(QLineEdit* box) {
  // A cell the focus has left shows no selection: it would look like the one
  // being typed into. The cell that gets the focus back when a message box
  // closes has not been left.
  if (box->hasFocus() || box->window()->focusWidget() == box) box->setSelection(0, static_cast<int>(box->text().size()));
  else box->deselect();
}

void FrmAutoSet::setCellEnabled(int column, int row, bool enabled) { vbui::setEnabledPainted(cell(column, row), enabled); }

void FrmAutoSet::paintGrey(int column, int row) {
  QLineEdit* c = cell(column, row);
  QPalette p = c->palette();
  for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
    p.setColor(group, QPalette::Base, vbui::color(vbui::kDisabledBack));
  c->setPalette(p);
}

void FrmAutoSet::setTabStop(int column, int row, bool on) {
  cell(column, row)->setFocusPolicy(on ? Qt::StrongFocus : Qt::ClickFocus);
}

bool FrmAutoSet::tabStop(int column, int row) const { return cell(column, row)->focusPolicy() == Qt::StrongFocus; }

Template FrmAutoSet::templateTexts() const {
  Template t;
  t.family = family_;
  t.ifHz = dblIFOffsetHz;
  t.freqOnFocus = strFreqOnFocus;
  for (int r = 0; r < kRows; ++r)
    for (int k = 0; k < kColumns; ++k) t.text(r, k) = cellText(k, r);
  return t;
}

void FrmAutoSet::applyTemplate(const Template& t) {
  for (int r = 0; r < kRows; ++r)
    for (int k = 0; k < kColumns; ++k) setCellText(k, r, t.text(r, k));
}

QGroupBox* FrmAutoSet::popup(int column) const {
  switch (column) {
    case kRef: return fraReference;
    case kWN: return fraWNSelect;
    case kMode: return fraMode;
    case kScan: return fraScan;
    case kTxPower: return fraTxPower;
    case kPMFM: return fraPMFM;
    case kINV: return fraINV;
    case kSH: return fraSH;
    case kSR: return fraSR;
    default: return nullptr;
  }
}

void FrmAutoSet::hidePopups(QGroupBox* keep, int keepTone) {
  for (QGroupBox* f : {fraMode, fraWNSelect, fraScan, fraTxPower, fraPMFM, fraINV, fraSH, fraSR, fraReference})
    if (f != keep && f->isVisible()) f->hide();
  if (family_ >= 0) {
    if (keepTone != kCTCSS) editor_.fraCTC[static_cast<size_t>(family_)]->hide();
    if (keepTone != kDCS) editor_.fraDCS[static_cast<size_t>(family_)]->hide();
  }
  editor_.fraHelp->hide();
  editor_.picShadow->hide();
}
