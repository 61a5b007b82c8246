#include "channel/pages/frmchannel.h"

#include <QAction>
#include <QApplication>
#include <QFocusEvent>
#include <QFont>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>
#include <QValidator>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <exception>

#include "channel/cellrules.h"
#include "channel/freqcheck.h"
#include "channel/pages/chancells.h"
#include "channel/pages/choicecells.h"
#include "channel/tonetables.h"
#include "core/modeltables.h"
#include "core/modpublic.h"
#include "core/pages/pagekit.h"
#include "app/program.h"
#include "core/soundmsg.h"
#include "platform/base/appinfo.h"
#include "platform/base/msgservice.h"
#include "platform/base/strtable.h"
#include "platform/base/vbtext.h"
#include "platform/gui/helpviewer.h"
#include "platform/gui/settingskit.h"

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

FrmChannel::AutoSetOpener& autoSetOpener() {
  static FrmChannel::AutoSetOpener opener;
  return opener;
}

// Keeps the cells' change handlers quiet while the page writes cells itself,
// and gives the lock back as it was (the page's routines nest).
class CellLock {
 public:
  explicit CellLock(int& lock) : lock_(lock), before_(lock) { lock_ = 1; }
  ~CellLock() { lock_ = before_; }

 private:
  int& lock_;
  int before_;
};

// Placement in twips inside the page's body.
void place(QWidget* w, int left, int top, int width, int height) {
  w->setGeometry(vbui::twipsToPixels(left), vbui::twipsToPixels(top), vbui::twipsToPixels(width),
                 vbui::twipsToPixels(height));
}

// Left edge and width (twips) of each navigation column's cells.
constexpr int kColumnLeft[FrmChannel::kColumns] = {960, 1560, 2460, 3720, 4320, 4920, 5520, 6120, 6780, 7380, 7980, 8580, 9180};
constexpr int kColumnWidth[FrmChannel::kColumns] = {600, 900, 1260, 600, 600, 600, 600, 660, 600, 600, 600, 600, 600};
constexpr int kFirstCellTop = 1050;
constexpr int kRowHeight = 270;
constexpr int kGridColumn[FrmChannel::kColumns] = {0, 1, 2, 3, 4, 5, 6, 7, 9, 10, 11, 12, 8};
constexpr uint32_t kPopupBack = 0xE0FFFF;  // the key help and code tables stand out over the grid

// Cells carry one palette: white while enabled, grey (&HC0C0C0) while
// disabled, so enabling a cell on or off repaints it without a palette change
// (the RX/TX rules flip dozens of cells on every one-row scroll). Only a cell
// painted grey while it stays enabled gets a palette of its own.
QPalette cellPalette(const QPalette& base, bool greyWhenEnabled) {
  QPalette p = base;
  const QColor white = vbui::color(vbui::kEnabledBack);
  const QColor grey = vbui::color(vbui::kDisabledBack);
  p.setColor(QPalette::Active, QPalette::Base, greyWhenEnabled ? grey : white);
  p.setColor(QPalette::Inactive, QPalette::Base, greyWhenEnabled ? grey : white);
  p.setColor(QPalette::Disabled, QPalette::Base, grey);
  return p;
}

std::string ifText(float sngIF, const char* pattern) {
  return std::string(sngIF < 0 ? "- " : "+ ") + vb::Format(std::fabs(static_cast<double>(sngIF)), pattern);
}

const char* const kHelpKeys[][2] = {
    {"[KEY]", ":       - Function -"}, {"F3", ": Special Channel Set"}, {"F11", ": Select Channel No."},
    {"", ""},                            {"Ctrl+D", ": Delete Channel Data"}, {"\u2191", ": Cursor Up"},
    {"\u2193", ": Cursor Down"},         {"PageUP", ": Page Up"},             {"PageDW", ": Page Down"},
    {"Home", ": Top of Page"},           {"End", ": End of Page"}};

}  // namespace

int FrmChannel::gridColumn(int nav) { return kGridColumn[nav]; }

void FrmChannel::setAutoSetOpener(AutoSetOpener opener) { autoSetOpener() = std::move(opener); }

FrmChannel::FrmChannel(QWidget* parent) : Page(parent) {
  setObjectName("frmChannel");
  auto* root = new QVBoxLayout(this);
  root->setContentsMargins(0, 0, 0, 0);
  menuBar = new QMenuBar(this);
  QMenu* editHelp = menuBar->addMenu("Edit Help");
  mnuEditHelp = editHelp->addAction("Edit Help");
  mnuEditHelp->setShortcut(QKeySequence(Qt::Key_F1));
  QMenu* autoSet = menuBar->addMenu("Auto Set");
  mnuAutoSet = autoSet->addAction("Auto Set");
  mnuAutoSet->setShortcut(QKeySequence(Qt::Key_F3));
  QMenu* freqDel = menuBar->addMenu("Freq.Del");
  mnuFreqDel = freqDel->addAction("Freq.Del");
  mnuFreqDel->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
  mnuHelp = menuBar->addAction(q(LoadResString(1406)));
  root->setMenuBar(menuBar);
  connect(mnuEditHelp, &QAction::triggered, this, [this] { mnuEditHelp_Click(); });
  connect(mnuAutoSet, &QAction::triggered, this, [this] { mnuAutoSet_Click(); });
  connect(mnuFreqDel, &QAction::triggered, this, [this] { mnuFreqDel_Click(); });
  connect(mnuHelp, &QAction::triggered, this, [this] { mnuHelp_Click(); });

  body_ = new QWidget(this);
  body_->setFixedSize(vbui::twipsToPixels(10260), vbui::twipsToPixels(6420));
  root->addWidget(body_);

  labTitle = new QLabel(body_);
  QFont title = labTitle->font();
  title.setBold(true);
  title.setPointSize(title.pointSize() + 3);
  labTitle->setFont(title);
  place(labTitle, 120, 120, 5000, 360);
  for (int i = 0; i < 2; ++i) {
    Labinfo[static_cast<size_t>(i)] = new QLabel(body_);
    Labinfo[static_cast<size_t>(i)]->setObjectName(QString("Labinfo%1").arg(i));
    place(Labinfo[static_cast<size_t>(i)], 5400, 90 + 255 * i, 4600, 255);
  }

  for (int k = 0; k < kColumns; ++k) columns_[static_cast<size_t>(k)] = makeChannelColumn(*this, k);
  // What the page writes itself (a page move refills every cell) and what
  // is typed into the cell being edited is no entry from outside.
  outside_ = std::make_unique<kit::OutsideEntries>(
      this, this, [this](QLineEdit* c) { return pageWrites_ || intCellLock == 1 || c == focusCell_; },
      [this] { return boxOpen_ || checking_ || closing_ || jumping_; },
      [this](QLineEdit* c) { return takeCellEntry(c); });
  buildGrid(body_);

  for (int k = 0; k < 5; ++k) {
    auto* l = new QLabel(body_);
    l->setObjectName(QString("LabFuncMenu%1").arg(k));
    l->setAutoFillBackground(true);
    LabFuncMenu[static_cast<size_t>(k)] = l;
  }
  for (int k = 0; k < 4; ++k) place(LabFuncMenu[static_cast<size_t>(k)], 120 + 2280 * k, 5520, 2160, 255);
  LabHelpMenu = new QLabel(body_);
  place(LabHelpMenu, 120, 5880, 2700, 255);
  place(LabFuncMenu[4], 4320, 5880, 1680, 255);
  txtInputChannel = new QLineEdit(body_);
  txtInputChannel->setObjectName("txtInputChannel");
  txtInputChannel->setMaxLength(3);
  txtInputChannel->setAccessibleName("Input Channel No.");
  txtInputChannel->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), txtInputChannel));
  txtInputChannel->installEventFilter(this);
  place(txtInputChannel, 6060, 5850, 720, 300);
  LabChannelRange = new QLabel(body_);
  LabChannelRange->setAutoFillBackground(true);
  place(LabChannelRange, 6840, 5880, 1560, 255);
  LabFuncMenu[4]->hide();
  txtInputChannel->hide();
  LabChannelRange->hide();

  fraAction = new QGroupBox(body_);
  place(fraAction, 8640, 5460, 1440, 780);
  CmdAction[0] = new QPushButton(fraAction);
  CmdAction[0]->setObjectName("CmdAction0");
  CmdAction[0]->setGeometry(vbui::twipsToPixels(180), vbui::twipsToPixels(210), vbui::twipsToPixels(1080),
                            vbui::twipsToPixels(420));
  connect(CmdAction[0], &QPushButton::clicked, this, [this] { CmdAction_Click(0); });

  buildPopups(body_);
  buildHelp();
  for (int f = 0; f < 3; ++f) {
    fraCTC[static_cast<size_t>(f)] = new QGroupBox("CTC/Hz  Code");
    fraDCS[static_cast<size_t>(f)] = new QGroupBox("DCS  Code");
    for (QGroupBox* table : {fraCTC[static_cast<size_t>(f)], fraDCS[static_cast<size_t>(f)]}) {
      floatOver(table);
      table->setAutoFillBackground(true);
      vbui::setBackColor(table, kPopupBack);
    }
  }
  for (auto& column : columns_) column->attach();

  // Tab walks the visible grid row by row in cursor order.
  QWidget* previous = nullptr;
  for (int r = 0; r < kVisibleRows; ++r)
    for (int k = 0; k < kColumns; ++k) {
      if (previous) setTabOrder(previous, cell(k, r));
      previous = cell(k, r);
    }
  // Panels of their own stay over other programs: they go when the user
  // turns to another program.
  connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
    if (state != Qt::ApplicationActive) hidePanels();
  });
  setTabOrder(previous, txtInputChannel);
  setTabOrder(txtInputChannel, CmdAction[0]);
  noDefaultButtons(this);
}

FrmChannel::~FrmChannel() {
  delete fraHelp;
  delete picShadow;
  for (QGroupBox* table : fraCTC) delete table;
  for (QGroupBox* table : fraDCS) delete table;
}

void FrmChannel::buildGrid(QWidget* body) {
  for (int k = 0; k < 14; ++k) {
    auto* l = new QLabel(body);
    l->setObjectName(QString("labChanParaEdit%1").arg(k));
    l->setAlignment(Qt::AlignCenter);
    l->setAutoFillBackground(true);
    labChanParaEdit[static_cast<size_t>(k)] = l;
  }
  place(labChanParaEdit[0], 120, 660, 780, 330);
  for (int k = 0; k < kColumns; ++k) {
    // Header k + 1 stands over grid column k.
    place(labChanParaEdit[static_cast<size_t>(kGridColumn[k] + 1)], kColumnLeft[k], 660, kColumnWidth[k], 330);
  }
  labChanParaKHz = new QLabel("KHz", body);
  labChanParaMHz = new QLabel("MHz", body);
  labChanParaKHz->setAlignment(Qt::AlignCenter);
  labChanParaMHz->setAlignment(Qt::AlignCenter);
  place(labChanParaKHz, kColumnLeft[kRef], 420, kColumnWidth[kRef], 240);
  place(labChanParaMHz, kColumnLeft[kFreq], 420, kColumnWidth[kFreq], 240);

  QFont cellFont = font();
  cellFont.setPixelSize(12);
  for (int r = 0; r < kVisibleRows; ++r) {
    // Each visible row in a strip of its own: a repaint then weighs a row's
    // fifteen widgets against each other, not the whole grid's.
    auto* line = new QWidget(body);
    place(line, 0, kFirstCellTop + kRowHeight * r, kColumnLeft[kPMFM] + kColumnWidth[kPMFM], kRowHeight);
    const int top = 0;
    auto* no = new QLabel(line);
    no->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    place(no, 120, top, 360, kRowHeight);
    auto* txrx = new QLabel(line);
    txrx->setAlignment(Qt::AlignCenter);
    place(txrx, 540, top, 360, kRowHeight);
    labChanParaNo[static_cast<size_t>(r)] = no;
    labChanParaTxRx[static_cast<size_t>(r)] = txrx;
    for (int k = 0; k < kColumns; ++k) {
      auto* c = new QLineEdit(line);
      c->setObjectName(QString("cell%1_%2").arg(k).arg(r));
      c->setFont(cellFont);
      c->setProperty("Tag", k);
      c->setTextMargins(0, 0, 0, 0);
      place(c, kColumnLeft[k], top, kColumnWidth[k], kRowHeight);
      ChannelColumn& column = *columns_[static_cast<size_t>(k)];
      c->setReadOnly(column.readOnly());
      // The prescaler hands the focus on to the step cell: Tab passes it by.
      if (k == kPres) c->setFocusPolicy(Qt::ClickFocus);
      if (k == kCTCSS) c->setMaxLength(5);
      if (k == kDCS) c->setMaxLength(3);
      // Texts the page writes itself pass as they are: a decoded frequency
      // may be negative (an RX row below its IF) and must show so.
      if (!column.readOnly())
        c->setValidator(new CharacterFilter([&column](QChar ch) { return column.accepts(ch); }, &pageWrites_, c));
      c->setPalette(cellPalette(c->palette(), false));
      c->installEventFilter(this);
      cells[static_cast<size_t>(k)][static_cast<size_t>(r)] = c;
      cellIndex_.emplace_back(c, k * kVisibleRows + r);
      connect(c, &QLineEdit::textChanged, this, [this, k, r, c] {
        // Text put in from outside reaches the grid only once it is judged.
        if (!loadFailed_ && !outside_->put(c)) columns_[static_cast<size_t>(k)]->Change(r);
      });
    }
  }
  std::sort(cellIndex_.begin(), cellIndex_.end());
  vscChanPara = new QScrollBar(Qt::Vertical, body);
  vscChanPara->setObjectName("vscChanPara");
  vscChanPara->setAccessibleName("Channel");
  vscChanPara->setFocusPolicy(Qt::NoFocus);
  vscChanPara->setSingleStep(2);
  vscChanPara->setPageStep(kVisibleRows);
  place(vscChanPara, 9810, kFirstCellTop, 270, kRowHeight * kVisibleRows);
  connect(vscChanPara, &QScrollBar::valueChanged, this, [this] { vscChanPara_Change(); });
}

void FrmChannel::buildPopups(QWidget* body) {
  auto frame = [&](QGroupBox*& box, const char* caption, int left, int options) {
    box = new QGroupBox(caption, body);
    place(box, left, 0, 1200, 330 + 270 * options);
    box->setAutoFillBackground(true);
    box->hide();
  };
  auto option = [&](QGroupBox* box, QRadioButton*& b, int index, const char* caption, int digitLabel,
                    const char* digit) {
    b = new QRadioButton(caption, box);
    b->setGeometry(vbui::twipsToPixels(330), vbui::twipsToPixels(270 + 270 * index), vbui::twipsToPixels(840),
                   vbui::twipsToPixels(270));
    QLabel* l = new QLabel(digit, box);
    l->setGeometry(vbui::twipsToPixels(90), vbui::twipsToPixels(270 + 270 * index), vbui::twipsToPixels(210),
                   vbui::twipsToPixels(270));
    if (digitLabel >= 0) Label1[static_cast<size_t>(digitLabel)] = l;
  };
  frame(fraReference, "Reference", 1200, 5);
  const char* steps[] = {"  2.50KHz", "  5.00KHz", "  6.25KHz", "10.00KHz", "12.50KHz"};
  const int stepLabels[] = {0, 1, 2, 3, 6};
  for (int i = 0; i < 5; ++i)
    option(fraReference, optReference[static_cast<size_t>(i)], i, steps[i], stepLabels[i], std::to_string(i + 1).c_str());
  optReference[0]->hide();
  Label1[0]->hide();
  frame(fraWNSelect, "W/N", 3420, 3);
  const char* widths[] = {" WIDE", " NARROW", "4KHz"};
  const int widthLabels[] = {4, 9, 10};
  for (int i = 0; i < 3; ++i)
    option(fraWNSelect, optWideNarrow[static_cast<size_t>(i)], i, widths[i], widthLabels[i], std::to_string(i + 1).c_str());
  optWideNarrow[2]->hide();
  Label1[10]->hide();
  frame(fraMode, "Mode", 4020, 4);
  const char* modes[] = {"Simplex", "Semiduplex", "Duplex", "Repeater"};
  const int modeLabels[] = {5, 13, 14, 15};
  for (int i = 0; i < 4; ++i)
    option(fraMode, optMode[static_cast<size_t>(i)], i, modes[i], modeLabels[i], std::to_string(i + 1).c_str());
  // The two-way choosers: option 0 and 1 with the digits "1" and "2".
  auto twoWay = [&](QGroupBox*& box, std::array<QRadioButton*, 2>& options, const char* caption, int left,
                    const char* first, const char* second, int label0, int label1) {
    frame(box, caption, left, 2);
    option(box, options[0], 0, first, label0, "1");
    option(box, options[1], 1, second, label1, "2");
  };
  twoWay(fraScan, optScan, "Scan", 4620, "ON", "OFF", 16, 17);
  twoWay(fraTxPower, optTxPower, "TxPower", 5220, "HIGH", "LOW", 11, 12);
  twoWay(fraINV, optINV, "INV", 7080, "  1", "NON", -1, -1);
  twoWay(fraSH, optSH, "SH", 7680, "  1", "NON", -1, -1);
  twoWay(fraSR, optSR, "SCR", 8280, "  1", "NON", -1, -1);
  twoWay(fraPMFM, optPMFM, "PM/FM", 8580, "PM", "FM", -1, -1);
}

void FrmChannel::buildHelp() {
  picShadow = new QFrame;
  floatOver(picShadow);
  picShadow->setAutoFillBackground(true);
  vbui::setBackColor(picShadow, 0x404040);
  picShadow->resize(vbui::twipsToPixels(3900), vbui::twipsToPixels(3615));
  fraHelp = new QGroupBox("Edit Help");
  floatOver(fraHelp);
  fraHelp->setAutoFillBackground(true);
  vbui::setBackColor(fraHelp, kPopupBack);
  fraHelp->resize(vbui::twipsToPixels(3900), vbui::twipsToPixels(3615));
  auto* grid = new QGridLayout(fraHelp);
  grid->setVerticalSpacing(0);
  grid->setContentsMargins(6, 2, 6, 2);
  int row = 0;
  for (const auto& line : kHelpKeys) {
    grid->addWidget(new QLabel(line[0], fraHelp), row, 0);
    grid->addWidget(new QLabel(line[1], fraHelp), row, 1);
    ++row;
  }
  auto* any = new QLabel("= Press Any Key ! =", fraHelp);
  any->setAlignment(Qt::AlignCenter);
  grid->addWidget(any, row, 0, 1, 2);
}

// The code tables shown by F2, built from the family's loaded tables: each
// entry is what may be typed, then the table's text in brackets.
void FrmChannel::buildCodeTables() {
  if (family_ < 0) return;
  QGroupBox* ctc = fraCTC[static_cast<size_t>(family_)];
  QGroupBox* dcs = fraDCS[static_cast<size_t>(family_)];
  if (ctc->layout()) return;
  const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  auto label = [&](QGroupBox* box, QGridLayout* grid, const QString& text, int row, int column) {
    auto* l = new QLabel(text, box);
    l->setFont(fixed);
    grid->addWidget(l, row, column);
  };
  auto* g = new QGridLayout(ctc);
  g->setVerticalSpacing(0);
  for (int i = 1; i <= tones::kCtcLast && i < static_cast<int>(data.strCtcTable.size()); ++i) {
    const QString value = q(data.strCtcTable[static_cast<size_t>(i)]);
    const int dot = value.lastIndexOf('.');
    const QString code = dot < 0 ? value : value.left(dot);
    // Numbers stand right-aligned in their columns; letter codes unpadded.
    const bool number = !code.isEmpty() && code.front().isDigit();
    label(ctc, g, number ? QString("%1(%2)").arg(code, 4).arg(value, 6) : code + "(" + value + ")", (i - 1) % 16,
          (i - 1) / 16);
  }
  label(ctc, g, "NON(Deleate)", 15, 3);
  auto* closeCtc = new QLabel("= Press Any Key ! =", ctc);
  closeCtc->setAlignment(Qt::AlignCenter);
  g->addWidget(closeCtc, 16, 0, 1, 4);
  ctc->adjustSize();

  auto* d = new QGridLayout(dcs);
  d->setVerticalSpacing(0);
  int n = 0;
  for (size_t i = 1; i < data.strDcsTable.size(); ++i) {
    if (data.strDcsTable[i].empty()) continue;
    label(dcs, d, q(data.strDcsTable[i]), n % 12, n / 12);
    ++n;
  }
  // "NON" closes the last column in its bottom row.
  const int lastColumn = n % 12 == 0 ? n / 12 : (n - 1) / 12;
  label(dcs, d, "NON", 11, lastColumn);
  auto* closeDcs = new QLabel("= Press Any Key ! =", dcs);
  closeDcs->setAlignment(Qt::AlignCenter);
  d->addWidget(closeDcs, 12, 0, 1, lastColumn + 1);
  dcs->adjustSize();
}

// ---------------------------------------------------------------- helpers

std::string FrmChannel::cellText(int nav, int row) const { return cell(nav, row)->text().toStdString(); }

void FrmChannel::setCellText(int nav, int row, const std::string& text) {
  QLineEdit* c = cell(nav, row);
  const QString t = q(text);
  if (c->text() == t) return;
  const bool before = pageWrites_;
  pageWrites_ = true;
  c->setText(t);
  pageWrites_ = before;
}

std::string FrmChannel::gridText(int nav, int row) const {
  const int g = topRow() + row;
  return g <= intMaxRow ? modPublic.strChanPara(g, kGridColumn[nav]) : std::string();
}

void FrmChannel::focusCell(int nav, int row) {
  if (nav < 0 || row < 0 || row >= kVisibleRows) return;
  cell(nav, row)->setFocus(Qt::OtherFocusReason);
}

void FrmChannel::selectAll(int nav, int row) {
  QLineEdit* c = cell(nav, row);
  // A cell the focus has left shows no selection: it would look like the
  // one being typed into. The cell that gets the focus back when a message
  // box closes has not been left.
  if (c->hasFocus() || window()->focusWidget() == c) c->setSelection(0, static_cast<int>(c->text().size()));
  else c->deselect();
}

// A cell's own state, whether or not a modal window above holds the whole
// page off meanwhile (the auto-set dialog fills and pages the grid then).
bool FrmChannel::cellEnabled(int nav, int row) const { return cell(nav, row)->isEnabledTo(this); }

void FrmChannel::setCellEnabled(int nav, int row, bool enabled) {
  QLineEdit* c = cell(nav, row);
  if (c->property("grey").toBool()) {
    c->setPalette(cellPalette(c->palette(), false));
    c->setProperty("grey", false);
  }
  if (c->isEnabledTo(this) != enabled) c->setEnabled(enabled);
}

void FrmChannel::paintCell(int nav, int row, bool grey) {
  QLineEdit* c = cell(nav, row);
  // Only the colour: enabling a focused cell off would move the focus.
  if (c->property("grey").toBool() == grey) return;
  c->setPalette(cellPalette(c->palette(), grey));
  c->setProperty("grey", grey);
}

void FrmChannel::setTabStop(int nav, int row, bool on) {
  cell(nav, row)->setFocusPolicy(on ? Qt::StrongFocus : Qt::ClickFocus);
}

bool FrmChannel::tabStop(int nav, int row) const { return cell(nav, row)->focusPolicy() == Qt::StrongFocus; }

void FrmChannel::setOptionTabStops(int row, bool on) {
  for (int k = kWN; k < kColumns; ++k) setTabStop(k, row, on);
}

void FrmChannel::setRowTabStops(int row) {
  // Tab reaches only cells that keep the focus: the step while the row has
  // no frequency, the options once it has one.
  const bool used = !cell(kFreq, row)->text().isEmpty();
  setTabStop(kRef, row, !used);
  setOptionTabStops(row, used);
}

int FrmChannel::topRow() const { return vscChanPara->value(); }

bool FrmChannel::isRxRow(int row) const {
  const auto g = static_cast<size_t>(topRow() + row);
  return g < modPublic.strChanParaTxRx.size() && modPublic.strChanParaTxRx[g] == "RX";
}

void FrmChannel::hidePopups() {
  for (QWidget* w : {static_cast<QWidget*>(fraMode), static_cast<QWidget*>(fraWNSelect), static_cast<QWidget*>(fraScan),
                     static_cast<QWidget*>(fraTxPower), static_cast<QWidget*>(fraPMFM), static_cast<QWidget*>(fraINV),
                     static_cast<QWidget*>(fraSH), static_cast<QWidget*>(fraSR), static_cast<QWidget*>(fraReference),
                     static_cast<QWidget*>(fraHelp), static_cast<QWidget*>(picShadow)})
    if (w->isVisible()) w->hide();
  if (family_ >= 0) {
    fraCTC[static_cast<size_t>(family_)]->hide();
    fraDCS[static_cast<size_t>(family_)]->hide();
  }
}

void FrmChannel::floatOver(QWidget* panel) {
  // A window of its own, without a frame and never taking the focus; owned
  // by no window, so that it is not greyed with the page while the auto-set
  // dialog holds the page off and shows it.
  panel->setWindowFlags(Qt::ToolTip);
  panel->setAttribute(Qt::WA_ShowWithoutActivating);
  panel->hide();
}

void FrmChannel::placePanel(QWidget* panel, int leftTwips, int topTwips) {
  panel->move(body_->mapToGlobal(QPoint(vbui::twipsToPixels(leftTwips), vbui::twipsToPixels(topTwips))));
}

void FrmChannel::showPanel(QWidget* panel, int leftTwips, int topTwips) {
  placePanel(panel, leftTwips, topTwips);
  panel->show();
  panel->raise();
}

void FrmChannel::hidePanels() {
  fraHelp->hide();
  picShadow->hide();
  for (QGroupBox* table : fraCTC) table->hide();
  for (QGroupBox* table : fraDCS) table->hide();
}

void FrmChannel::moveEvent(QMoveEvent* event) {
  hidePanels();
  Page::moveEvent(event);
}

void FrmChannel::hideEvent(QHideEvent* event) {
  hidePanels();
  Page::hideEvent(event);
}

std::string& FrmChannel::savedText(int nav) {
  switch (nav) {
    case kRef: return strSavedRef;
    case kFreq: return strSavedFreq;
    case kWN: return strSavedWN;
    case kMode: return strSavedMode;
    case kScan: return strSavedScan;
    case kTxPower: return strSavedTxPower;
    case kCTCSS: return strSavedCTCSS;
    case kDCS: return strSavedDCS;
    case kINV: return strSavedINV;
    case kSH: return strSavedSH;
    case kSR: return strSavedSR;
    case kPMFM: return strSavedPMFM;
    default: {
      static std::string none;  // the prescaler is never restored
      none.clear();
      return none;
    }
  }
}

void FrmChannel::message(SoundKind kind, const std::string& text, const std::string& title) {
  messageShown_ = true;
  const bool before = boxOpen_;
  boxOpen_ = true;
  intSoundMsgBox(kind, text, title);
  boxOpen_ = before;
}

// ---------------------------------------------------------------- set-up

bool FrmChannel::blnChanLabChange(int base) {
  setColumnHeads(labChanParaEdit, base);
  return true;
}

bool FrmChannel::blnChanLabColor(const std::string& colour) {
  paintColumnHeads(labChanParaEdit, colour);
  return true;
}

bool FrmChannel::blnChanIniSet(float sngIF) {
  std::string failed;
  if (!::blnChanIniSet(data, sngIF, &failed)) {
    if (!failed.empty()) {
      // Without its tone tables the editor cannot show or store a tone: the
      // program stops before anything is written.
      intSoundMsgBox(SoundKind::Warning, tones::missingText(failed), "blnChanIniSet");
      program::End(1);
    }
    return false;
  }
  intMaxRow = data.intMaxRow;
  {
    QSignalBlocker block(vscChanPara);
    vscChanPara->setMaximum(intMaxRow - intLastVisibleRow);
  }
  std::vector<int> headers;
  std::vector<int> allRows;
  std::vector<int> txRows;
  switch (family_) {
    case 0: headers = {5}; allRows = {kMode, kINV}; txRows = {kSH}; break;
    case 1: headers = {5, 9}; allRows = {kMode, kINV, kPMFM}; txRows = {kSH}; break;
    case 2: headers = {12}; allRows = {kINV, kSH}; txRows = {kWN, kMode}; break;
    default: break;
  }
  for (int h : headers) labChanParaEdit[static_cast<size_t>(h)]->setEnabled(false);
  for (int r = 0; r < kVisibleRows; ++r) {
    for (int k : allRows) setCellEnabled(k, r, false);
    if (r % 2 == 1)
      for (int k : txRows) setCellEnabled(k, r, false);
    setCellEnabled(r % 2 == 0 ? kTxPower : kScan, r, false);
  }
  for (int r = 0; r < kVisibleRows && r <= intMaxRow; ++r) {
    const std::string& no = modPublic.strChanParaNo[static_cast<size_t>(r)];
    labChanParaNo[static_cast<size_t>(r)]->setText(no.empty() ? QString() : q(vb::Format(vb::Val(no), "##0")));
    labChanParaTxRx[static_cast<size_t>(r)]->setText(q(modPublic.strChanParaTxRx[static_cast<size_t>(r)]));
  }
  buildCodeTables();
  intCellLock = 0;
  return true;
}

bool FrmChannel::blnGetChanPara() {
  const bool ok = ::blnGetChanPara(data);
  CellLock lock(intCellLock);
  modPublic.blnResult = subCopyRowsToCells();
  return ok;
}

bool FrmChannel::blnPutChanPara() {
  std::vector<int> unencoded;
  const bool ok = ::blnPutChanPara(data, &unencoded);
  if (!unencoded.empty()) {
    // The byte logic kept these channels' bytes as they were; say which, a
    // run of channels as its first and last ("1-200" for an erased memory).
    std::string list;
    for (size_t i = 0; i < unencoded.size();) {
      size_t j = i;
      while (j + 1 < unencoded.size() && unencoded[j + 1] == unencoded[j] + 1) ++j;
      list += (list.empty() ? "" : ", ") + std::to_string(unencoded[i]);
      if (j > i) list += (j == i + 1 ? ", " : "-") + std::to_string(unencoded[j]);
      i = j + 1;
    }
    message(SoundKind::Attention, LoadResString(10082) + " " + list, "Form_Unload");
  }
  return ok;
}

// ---------------------------------------------------------------- page events

void FrmChannel::Form_Load() {
  ModPublic& m = modPublic;
  // The page's own state starts afresh with every load.
  intCurRow = 0;
  intCellLock = 0;
  intEditRow = 0;
  blnAutoSet = false;
  endFrequencyEdit();
  focusCell_ = nullptr;
  loadFailed_ = closing_ = checking_ = jumping_ = false;
  placeFromMainMenu(100, 350);
  setCaption(std::string(app::kTitle) + "-ChannelMenu");
  labTitle->setText(q(LoadResString(1060)));
  const uint32_t colour = vb::ColorValue(m.strLabelColor);
  vbui::setBackColor(this, colour);
  vbui::setBackColor(fraAction, colour);
  for (QLabel* l : LabFuncMenu) vbui::setBackColor(l, colour);
  vbui::setBackColor(LabChannelRange, colour);
  plainButtonColours(this);
  m.blnResult = blnChanLabChange(1000);
  m.blnResult = blnChanLabColor(m.strLabelColor);
  intLastVisibleRow = kVisibleRows - 1;
  family_ = m.family();

  for (int k = 0; k < 5; ++k) LabFuncMenu[static_cast<size_t>(k)]->setText(q(LoadResString(1070 + k)));
  LabHelpMenu->setText(q(LoadResString(1075)));
  CmdAction[0]->setText(q(LoadResString(1080)));
  mnuAutoSet->setEnabled(static_cast<bool>(autoSetOpener()));
  LabFuncMenu[1]->setEnabled(mnuAutoSet->isEnabled());
  blnSkipKeyUp = blnCheckFailed = blnActive = false;
  if (family_ < 0) return;

  float sngIF = 0;
  std::string name, band;
  if (!currentModel(sngIF, name, band)) {
    // A model code the family's table does not hold: no IF to compute with.
    intSoundMsgBox(SoundKind::Attention, LoadResString(10081), "Form_Load");
    loadFailed_ = true;
    Unload();
    return;
  }
  if (family_ == 1) {
    const typModelData1* row = modelRow1(modelCode());
    const uint8_t kind = m.bytRadioData[1017];
    if (kind == 1) Labinfo[0]->setText(q(row->strModelName2 + "  " + band));
    else if (kind == 2) Labinfo[0]->setText(q(row->strModelName + "  " + band));
  } else {
    Labinfo[0]->setText(q(name + "  " + band));
  }
  Labinfo[1]->setText(q("IF : [ " + ifText(sngIF, family_ == 2 ? "##0.00" : "##0.0") + " ]"));
  if (family_ == 1)
    for (QLineEdit* c : txtReference) c->setToolTip("2:5.00KHz   3:6.25KHz   4:10.00KHz   5:12.50KHz");
  else
    for (QLineEdit* c : txtReference) c->setToolTip("1:2.50KHz   2:5.00KHz   3:6.25KHz   4:10.00KHz   5:12.50KHz");

  if (!blnChanIniSet(sngIF)) {
    loadFailed_ = true;
    Unload();
    return;
  }
  m.blnResult = blnGetChanPara();
  if (family_ == 1 && (m.bytRadioData[801] & 2) && m.intTopRow > 100) m.intTopRow = 0;
  // A read or file open may have changed the layout since the first row was
  // remembered: the page never starts past its last page.
  m.intTopRow = static_cast<int16_t>(std::clamp<int>(m.intTopRow, 0, intMaxRow - intLastVisibleRow));
  if (vscChanPara->value() != m.intTopRow) vscChanPara->setValue(m.intTopRow);
  else vscChanPara_Change();
}

void FrmChannel::Form_Activate() {
  if (loadFailed_) return;
  // The cell that had the focus is left as the focus moves on. After a
  // dialog over the page, the window is not active again yet and gets no
  // focus events for the move: its lost-focus handling runs here, so that
  // the tone-key hint goes with the focus. A frequency was committed before
  // the dialog opened, which may have written the cell since: no check runs
  // on it again.
  if (const int at = cellAt(focusCell_); at >= 0 && focusCell_ != cell(kFreq, 0)) {
    focusCell_ = nullptr;
    if (at / kVisibleRows != kFreq) columns_[static_cast<size_t>(at / kVisibleRows)]->LostFocus(at % kVisibleRows);
  }
  focusCell(kFreq, 0);
  blnActive = true;
  blnAutoSet = false;
  endFrequencyEdit();
}

void FrmChannel::Form_Unload(bool& cancel) {
  // Closing never cancels, except while the page's own message box is open:
  // the page closes when the box's check has finished.
  if (boxOpen_) {
    cancel = true;
    return;
  }
  if (loadFailed_ || family_ < 0 || intMaxRow < 0) return;
  closing_ = true;
  closingChecks();
  strSavedFreq.clear();
  modPublic.blnResult = blnPutChanPara();
  blnActive = false;
}

void FrmChannel::closingChecks() {
  // Text typed into another cell and not judged yet (the window's close box
  // takes no focus from it) is judged as leaving the cell would; a refused
  // one goes after its message, as a refused frequency does.
  if (const int at = cellAt(focusCell_); at >= 0 && at / kVisibleRows != kFreq && typingPending()) {
    focusCell_ = nullptr;
    columns_[static_cast<size_t>(at / kVisibleRows)]->LostFocus(at % kVisibleRows);
  }
  // A typed frequency that never passed its check gets it now; a refused one
  // is dropped, so no unchecked text reaches the encoder.
  if (blnFreqPending && !blnAutoSet) {
    const int row = intEditRow - topRow();
    if (row >= 0 && row < kVisibleRows && !cellText(kFreq, row).empty()) commitFrequency(row, "Form_Unload", true);
    else if (row < 0 || row >= kVisibleRows) dropPendingFrequency();
  }
  endFrequencyEdit();
  const int r = intCurRow;
  if (r < 0 || r >= kVisibleRows) return;
  const bool used = !cellText(kFreq, r).empty();
  for (int nav : {kWN, kMode, kScan, kTxPower, kINV, kPMFM, kSH, kSR}) {
    const std::string text = cellText(nav, r);
    // PM/FM has no empty word in a row in use: an empty cell there takes its
    // remembered text too. A row without a frequency has none.
    if (!cellrules::allowed(*cellrules::choiceAt(nav), text) || (nav == kPMFM && text.empty() && used))
      setCellText(nav, r, savedText(nav));
  }
}

void FrmChannel::CmdAction_Click(int index) {
  if (index == 0 && !boxOpen_) Unload();
}

// ---------------------------------------------------------------- paging

void FrmChannel::vscChanPara_Change() {
  if (intMaxRow < 0) return;
  if (boxOpen_) {
    QSignalBlocker block(vscChanPara);
    vscChanPara->setValue(modPublic.intTopRow);
    return;
  }
  CellLock lock(intCellLock);
  const int value = vscChanPara->value();
  if (blnFreqPending && !blnAutoSet) dropPendingFrequency();
  endFrequencyEdit();
  modPublic.intTopRow = static_cast<int16_t>(value);
  // The cells are refilled for other rows: text put in from outside and not
  // yet judged goes with the rows it was put into.
  outside_->drop();
  // The focus goes to the frequency cell first, so that no cell disabled by
  // the new rows' labels holds it meanwhile.
  if (blnActive && Page::front() == this) focusCell(kFreq, intCurRow);
  // A handler run by that focus change may have moved the page: it refreshed
  // everything for the new position.
  if (vscChanPara->value() != value) return;
  relabelRows();
  modPublic.blnResult = subCopyRowsToCells();
  for (int nav : {kWN, kRef, kMode, kScan, kTxPower, kCTCSS, kDCS, kINV, kSH, kSR, kPMFM})
    savedText(nav) = cellText(nav, intCurRow);
  // The focused frequency cell now shows another grid row: what it holds is
  // that row's text, not an edit.
  if (focusCell_ == txtFrequency[static_cast<size_t>(intCurRow)]) strSavedFreq = cellText(kFreq, intCurRow);
  subSyncOptionButtons();
  hidePopups();
}

void FrmChannel::relabelRows() {
  const int top = topRow();
  for (int i = 0; i < kVisibleRows && top + i <= intMaxRow; ++i) {
    const auto g = static_cast<size_t>(top + i);
    const std::string& no = modPublic.strChanParaNo[g];
    labChanParaNo[static_cast<size_t>(i)]->setText(no.empty() ? QString() : q(vb::Format(vb::Val(no), "##0")));
    const std::string& txrx = modPublic.strChanParaTxRx[g];
    labChanParaTxRx[static_cast<size_t>(i)]->setText(q(txrx));
    const bool rx = txrx == "RX";
    setCellEnabled(kScan, i, rx);
    setCellEnabled(kTxPower, i, !rx);
    if (family_ == 0) {
      if (rx) setCellEnabled(kWN, i, true);
      setCellEnabled(kSH, i, rx);
    } else if (family_ == 1) {
      setCellEnabled(kSH, i, rx);
    } else if (family_ == 2) {
      setCellEnabled(kWN, i, rx);
      setCellEnabled(kMode, i, rx);
    }
    // Screen readers name each cell by its column and the channel it shows.
    const QString channel = QString::number(static_cast<int>(g) / 2 + 1);
    for (int k = 0; k < kColumns; ++k) {
      const QString name = labChanParaEdit[static_cast<size_t>(kGridColumn[k] + 1)]->text() + " " + channel + " " + q(txrx);
      QLineEdit* c = cell(k, i);
      if (c->accessibleName() != name) c->setAccessibleName(name);
    }
  }
}

bool FrmChannel::subCopyRowsToCells() {
  const int top = topRow();
  for (int i = 0; i < kVisibleRows; ++i) {
    if (top + i <= intMaxRow) {
      for (int k = 0; k < kColumns; ++k) setCellText(k, i, modPublic.strChanPara(top + i, kGridColumn[k]));
    }
    setCellEnabled(kINV, i, !txtDCS[static_cast<size_t>(i)]->text().isEmpty());
    setRowTabStops(i);
  }
  return true;
}

void FrmChannel::subSyncOptionButtons() {
  CellLock lock(intCellLock);
  // The first pop-up shown, in this order, follows its cell in the current row.
  const std::pair<QGroupBox*, int> popups[] = {{fraReference, kRef}, {fraWNSelect, kWN}, {fraMode, kMode},
                                               {fraScan, kScan},      {fraTxPower, kTxPower}, {fraPMFM, kPMFM},
                                               {fraINV, kINV},        {fraSH, kSH},       {fraSR, kSR}};
  for (const auto& [frame, nav] : popups) {
    if (!frame->isVisible()) continue;
    markOptions(frame, *cellrules::choiceAt(nav), cellText(nav, intCurRow));
    return;
  }
}

// ---------------------------------------------------------------- pending frequency edits

void FrmChannel::beginFrequencyEdit(int gridRow) {
  if (blnFreqPending && !pendingRows_.empty() && pendingRows_.front().row == gridRow) return;
  pendingRows_.clear();
  const int last = modPublic.strChanParaTxRx.at(static_cast<size_t>(gridRow)) == "RX" ? std::min(gridRow + 1, intMaxRow) : gridRow;
  for (int g = gridRow; g <= last; ++g) pendingRows_.push_back({g, modPublic.chanParaRows.at(static_cast<size_t>(g))});
}

void FrmChannel::endFrequencyEdit() {
  blnFreqPending = false;
  pendingRows_.clear();
}

void FrmChannel::dropPendingFrequency() {
  CellLock lock(intCellLock);
  const int top = topRow();
  for (const Snapshot& s : pendingRows_) {
    modPublic.chanParaRows.at(static_cast<size_t>(s.row)) = s.texts;
    const int i = s.row - top;
    if (i < 0 || i >= kVisibleRows) continue;
    for (int k = 0; k < kColumns; ++k) setCellText(k, i, s.texts[static_cast<size_t>(kGridColumn[k])]);
    setCellEnabled(kINV, i, !txtDCS[static_cast<size_t>(i)]->text().isEmpty());
    setRowTabStops(i);
  }
  endFrequencyEdit();
}

// ---------------------------------------------------------------- rows

int FrmChannel::objFindEnabledCell(int& row, int start, int dir) {
  int result = -1;
  for (int k = start; dir > 0 ? k <= kColumns - 1 : k >= 0; k += dir) {
    if (cellEnabled(k, row)) {
      result = k;
      if (k != start) return result;
    }
  }
  if (dir == 1) {
    if (row < intLastVisibleRow) {
      result = kFreq;
      ++row;
    } else if (topRow() < intMaxRow - intLastVisibleRow) {
      // Two rows, one channel, but never past the last page.
      vscChanPara->setValue(std::min(topRow() + 2, intMaxRow - intLastVisibleRow));
      result = kFreq;
    }
  }
  return result;
}

bool FrmChannel::subClearRowIfNoFrequency(int row) {
  // A frequency still as read is the channel the radio holds, even where it
  // reads as none (a never-programmed memory shows "0.00000"): only a text
  // the user emptied or changed clears the row.
  const std::string text = cellText(kFreq, row);
  const auto g = static_cast<size_t>(topRow() + row);
  if (!text.empty() && g < data.asRead.size() && text == data.asRead[g][2]) return true;
  if (vb::Val(text) == 0) {
    for (int k : {kPres, kRef, kWN, kMode, kScan, kTxPower, kCTCSS, kPMFM, kDCS, kINV, kSH, kSR}) setCellText(k, row, "");
    paintCell(kINV, row, true);
  }
  return true;
}

namespace {
FrequencyInput frequencyInput(const FrmChannel& page, int row) {
  FrequencyInput in;
  in.family = page.family();
  in.rxRow = page.isRxRow(row);
  in.frequency = page.cellText(FrmChannel::kFreq, row);
  in.step = page.cellText(FrmChannel::kRef, row);
  in.oldFrequency = page.strSavedFreq;
  in.ifHz = page.data.dblIFOffset;
  return in;
}
}  // namespace

bool FrmChannel::frequencyPasses(int row) const {
  FrequencyEntry out;
  return ::blnCheckFrequency(frequencyInput(*this, row), out);
}

bool FrmChannel::keepsItsChannel(int row, const std::string& unchangedText) const {
  return cellText(kFreq, row) == unchangedText && !cellText(kPres, row).empty() && !cellText(kRef, row).empty();
}

bool FrmChannel::blnCheckFrequency(int row) {
  const FrequencyInput in = frequencyInput(*this, row);
  FrequencyEntry out;
  if (!::blnCheckFrequency(in, out)) return false;
  if (out.frequency != in.frequency) setCellText(kFreq, row, out.frequency);
  if (out.step != in.step) setCellText(kRef, row, out.step);
  setCellText(kPres, row, out.prescaler);
  return true;
}

void FrmChannel::writeDefaults(int row) {
  for (const auto& [nav, word] : cellrules::kDefaultWords) {
    if (nav == kMode && labChanParaTxRx[static_cast<size_t>(row)]->text() != "RX") continue;
    if (cellEnabled(nav, row) && cell(nav, row)->text().isEmpty()) setCellText(nav, row, word);
  }
}

bool FrmChannel::commitFrequency(int row, const std::string& title, bool closing) {
  std::string text = cellText(kFreq, row);
  const bool unchanged = text == strSavedFreq;
  const std::string before = strSavedFreq;
  // A text the row already had keeps the step and prescaler it is stored
  // with, and the row its texts: the check only tells whether it still passes.
  const bool keep = keepsItsChannel(row, before);
  // The check reads an unchanged text as one the row already had.
  if (unchanged) strSavedFreq.clear();
  if (!keep) {
    text = cellrules::frequencyFormat(text);
    setCellText(kFreq, row, text);
  }
  const bool twoDots = cellrules::twoPoints(text);
  if (!twoDots && (keep ? frequencyPasses(row) : blnCheckFrequency(row))) {
    if (!keep) {
      setCellText(kFreq, row, cellrules::frequencyFormat(cellText(kFreq, row)));
      writeDefaults(row);
    }
    blnSkipKeyUp = false;
    endFrequencyEdit();
    strSavedFreq = cellText(kFreq, row);
    return true;
  }
  QLineEdit* c = txtFrequency[static_cast<size_t>(row)];
  checking_ = true;
  if (!closing && !unchanged) {
    // The focus is back in the cell before the message, so no other cell
    // runs its handlers in between.
    focusCell_ = c;
    c->setFocus(Qt::OtherFocusReason);
  }
  messageShown_ = false;
  if (twoDots) message(SoundKind::Information, msgText(10032, 10070), title);
  else message(SoundKind::Attention, LoadResString(10031), title);
  checking_ = false;
  blnCheckFailed = true;
  if (unchanged) {
    // A frequency the row already had (read from the radio or a file) stays,
    // and with it the channel's bytes: the message says it no longer checks.
    strSavedFreq = before;
    setCellText(kFreq, row, before);
    endFrequencyEdit();
    blnSkipKeyUp = true;
    return false;
  }
  if (blnFreqPending) {
    dropPendingFrequency();
  } else {
    setCellText(kFreq, row, strSavedFreq);
  }
  strSavedFreq = cellText(kFreq, row);
  blnSkipKeyUp = !closing;
  // The text put back is selected, so the next keys replace it; the cell's
  // own focus-out handling has yet to run and would take the selection off,
  // so it is selected again once that is over.
  if (!closing) {
    selectAll(kFreq, row);
    QTimer::singleShot(0, c, [this, row, c] {
      if (cell(kFreq, row) == c) selectAll(kFreq, row);
    });
  }
  return false;
}

void FrmChannel::subChannelDataDelete(int row) {
  if (row < 0 || row >= kVisibleRows || !cellText(kFreq, row).empty()) return;
  const int g = topRow() + row;
  auto clear = [this](int r, int grid) {
    setRowTabStops(r);
    for (int k : {kPres, kRef, kWN, kMode, kScan, kTxPower, kCTCSS, kDCS, kINV, kSH, kSR, kPMFM}) setCellText(k, r, "");
    paintCell(kINV, r, true);
    modPublic.chanParaRows.at(static_cast<size_t>(grid)).fill("");
    // A channel typed anew in this row starts without the old one's tone.
    forgetKeptTone(data, grid);
  };
  clear(row, g);
  if (modPublic.strChanParaTxRx.at(static_cast<size_t>(g)) != "RX" || g + 1 > intMaxRow) return;
  // The channel's TX row goes with its RX row, on screen or not.
  if (row < intLastVisibleRow) {
    setCellText(kFreq, row + 1, "");
    clear(row + 1, g + 1);
  } else {
    modPublic.chanParaRows.at(static_cast<size_t>(g + 1)).fill("");
    forgetKeptTone(data, g + 1);
  }
}

// ---------------------------------------------------------------- keys

bool FrmChannel::pblnSetCursor(QLineEdit* cur, QLineEdit* left, QLineEdit* right, int keyCode) {
  if (!left || !left->isEnabled()) left = cur;
  if (!right || !right->isEnabled()) right = cur;
  if (keyCode == 37 && left) left->setFocus(Qt::OtherFocusReason);
  if (keyCode == 39 && right) right->setFocus(Qt::OtherFocusReason);
  return true;
}

bool FrmChannel::pblnIniCursorPos(QLineEdit* cell) {
  (void)cell;
  return true;
}

void FrmChannel::moveLeftRight(int nav, int row, int keyCode) {
  if (keyCode != 37 && keyCode != 39) return;
  QLineEdit* left = nullptr;
  QLineEdit* right = nullptr;
  int r = row;
  const int found = objFindEnabledCell(r, nav, keyCode == 37 ? -1 : 1);
  if (found >= 0) (keyCode == 37 ? left : right) = cell(found, r);
  modPublic.blnResult = pblnSetCursor(cell(nav, row), left, right, keyCode);
}

bool FrmChannel::blnGridKeyDown(int row, int keyCode, int shift, int nav, int searchDir) {
  bool answer = true;
  try {
    if (fraHelp->isVisible()) {
      fraHelp->hide();
      picShadow->hide();
      return false;
    }
    if (family_ >= 0) {
      fraCTC[static_cast<size_t>(family_)]->hide();
      fraDCS[static_cast<size_t>(family_)]->hide();
    }
    const int value = topRow();
    const int last = intMaxRow - intLastVisibleRow;
    switch (keyCode) {
      case 38:  // Up
        if (row == 0) {
          if (value >= 1) vscChanPara->setValue(value - 1);
        } else if (cellEnabled(nav, row - 1)) {
          focusCell(nav, row - 1);
        } else {
          int r = intCurRow - 1;
          const int found = objFindEnabledCell(r, nav, searchDir);
          if (found >= 0) focusCell(found, intCurRow - 1);
        }
        return false;
      case 40:  // Down
        if (row < intLastVisibleRow) {
          if (cellEnabled(nav, row + 1)) {
            focusCell(nav, row + 1);
          } else {
            int r = intCurRow + 1;
            const int found = objFindEnabledCell(r, nav, searchDir);
            if (found >= 0) focusCell(found, intCurRow + 1);
          }
        } else if (value < last) {
          vscChanPara->setValue(value + 1);
        }
        return true;
      case 33:  // Page Up
        if (value >= 1) {
          vscChanPara->setValue(value <= 17 ? 0 : value - 16);
          focusCell(kFreq, row);
        }
        return false;
      case 34:  // Page Down
        if (value < last) {
          vscChanPara->setValue(value < intMaxRow - 31 ? value + 16 : last);
          focusCell(kFreq, row);
        }
        return false;
      case 36:  // Home
        vscChanPara->setValue(0);
        focusCell(kFreq, 0);
        return false;
      case 35:  // End
        vscChanPara->setValue(last);
        focusCell(kFreq, row & ~1);
        return false;
      case 68:  // Ctrl+D
        if (shift == 2) {
          CellLock lock(intCellLock);
          subChannelDataDelete(row);
        }
        return true;
      case 112:  // F1
        showHelp();
        return false;
      case 113:  // F2: the code table of a tone cell
        if (family_ >= 0 && (nav == kCTCSS || nav == kDCS)) {
          QGroupBox* table = nav == kCTCSS ? fraCTC[static_cast<size_t>(family_)] : fraDCS[static_cast<size_t>(family_)];
          showPanel(table, 450, 1350);
        }
        return true;
      case 122:  // F11: the channel-number jump
        LabFuncMenu[4]->show();
        txtInputChannel->show();
        LabChannelRange->show();
        vbui::setBackColor(LabChannelRange, vb::ColorValue(modPublic.strLabelColor));
        LabChannelRange->setText(QString("(No. 1 - %1)").arg((intMaxRow + 1) / 2));
        txtInputChannel->clear();
        txtInputChannel->setFocus(Qt::OtherFocusReason);
        return true;
      default:
        return true;
    }
  } catch (const std::exception& e) {
    MsgBoxNoSound(e.what(), vb::vbOKOnly, std::string(app::kTitle) + " " + LoadResString(10076));
  }
  return answer;
}

// ---------------------------------------------------------------- menus

void FrmChannel::showHelp() {
  showPanel(picShadow, 660, 1380);
  showPanel(fraHelp, 450, 1200);
}

void FrmChannel::mnuEditHelp_Click() {
  if (boxOpen_ || fraReference->isVisible()) return;
  if (!fraHelp->isVisible()) {
    showHelp();
  } else {
    fraHelp->hide();
    picShadow->hide();
  }
}

void FrmChannel::mnuAutoSet_Click() {
  if (!autoSetOpener() || intMaxRow < 0 || boxOpen_) return;
  try {
    // Text typed into the cell being edited and not judged yet (a tone
    // before its Enter) is judged first, as leaving the cell would judge
    // it: the dialog fills the grid and the page then moves the focus, so
    // the cell's own lost-focus handling would never see it. Refused, its
    // message has been shown and the dialog stays closed. A typed
    // frequency takes the command's own road below.
    if (const int at = cellAt(focusCell_); at >= 0 && at / kVisibleRows != kFreq && typingPending() &&
                                           !leaveEditedCell())
      return;
    const int r = intCurRow;
    if (cellText(kFreq, r).empty()) {
      modPublic.blnResult = subClearRowIfNoFrequency(r);
      autoSetOpener()(*this);
      return;
    }
    // A frequency already taken (read, or checked when its cell was left)
    // keeps its step and prescaler, and the row its texts.
    const bool keep = keepsItsChannel(r, blnFreqPending ? strSavedFreq : cellText(kFreq, r));
    if (!keep) setCellText(kFreq, r, cellrules::frequencyFormat(cellText(kFreq, r)));
    const std::string text = cellText(kFreq, r);
    auto refuse = [&](SoundKind kind, const std::string& msg) {
      message(kind, msg, "mnuAutoSet_Click");
      if (blnFreqPending) dropPendingFrequency();
      else setCellText(kFreq, r, strSavedFreq);
      focusCell(kFreq, r);
    };
    if (!std::all_of(text.begin(), text.end(), cellrules::numberCharacter)) {
      refuse(SoundKind::Information, msgText(10032, 10033));
      return;
    }
    if (cellrules::twoPoints(text)) {
      refuse(SoundKind::Information, msgText(10032, 10070));
      return;
    }
    if (!(keep ? frequencyPasses(r) : blnCheckFrequency(r))) {
      refuse(SoundKind::Attention, LoadResString(10031));
      return;
    }
    if (!keep) {
      setCellText(kFreq, r, cellrules::frequencyFormat(cellText(kFreq, r)));
      writeDefaults(r);
    }
    autoSetOpener()(*this);
  } catch (const std::exception& e) {
    MsgBoxNoSound(e.what(), vb::vbOKOnly, std::string(app::kTitle) + " " + LoadResString(10076));
  }
}

void FrmChannel::mnuFreqDel_Click() {
  if (intCurRow < 0 || intCurRow >= kVisibleRows || intMaxRow < 0 || boxOpen_) return;
  const int r = intCurRow;
  setCellText(kFreq, r, "");
  for (int k : {kPres, kRef, kWN, kMode, kScan, kTxPower, kCTCSS, kPMFM, kDCS, kINV}) setCellText(k, r, "");
  paintCell(kINV, r, true);
  setCellText(kSH, r, "");
  setCellText(kSR, r, "");
  strSavedFreq.clear();
  // A deletion is done, not an edit waiting for its check.
  endFrequencyEdit();
}

void FrmChannel::mnuHelp_Click() { help::showTopic(modPublic.strHelpFile, "Channel Main Menu"); }

// ---------------------------------------------------------------- jump box

void FrmChannel::txtInputChannel_KeyPress(int& keyAscii) {
  if (fraHelp->isVisible()) {
    fraHelp->hide();
    picShadow->hide();
  }
  if (keyAscii != 8 && (keyAscii < '0' || keyAscii > '9')) keyAscii = 0;
}

void FrmChannel::txtInputChannel_KeyDown(int keyCode) {
  if (keyCode != 13 || txtInputChannel->text().isEmpty()) return;
  jump(true);
}

void FrmChannel::txtInputChannel_LostFocus() {
  if (jumping_) return;
  if (txtInputChannel->text().isEmpty()) {
    LabFuncMenu[4]->hide();
    txtInputChannel->hide();
    LabChannelRange->hide();
    return;
  }
  jump(false);
}

void FrmChannel::jump(bool fromKeyDown) {
  const int channels = (intMaxRow + 1) / 2;
  const double v = vb::Val(txtInputChannel->text().toStdString());
  jumping_ = true;
  if (v < 1 || v > channels) {
    if (!fromKeyDown) txtInputChannel->setFocus(Qt::OtherFocusReason);
    message(SoundKind::Attention, LoadResString(10032), "txtInputChannel_KeyDown");
    txtInputChannel->setFocus(Qt::OtherFocusReason);
    txtInputChannel->clear();
    jumping_ = false;
    return;
  }
  const int last = intMaxRow - intLastVisibleRow;
  const int channel = static_cast<int>(v);
  vscChanPara->setValue(channel > last / 2 ? last : 2 * channel - 2);
  LabFuncMenu[4]->hide();
  txtInputChannel->hide();
  LabChannelRange->hide();
  if (fromKeyDown) focusCell(kFreq, 0);
  jumping_ = false;
}

// ---------------------------------------------------------------- event routing

bool FrmChannel::eventFilter(QObject* watched, QEvent* event) {
  if (closing_ || loadFailed_ || boxOpen_) return Page::eventFilter(watched, event);
  if (const int at = cellAt(watched); at >= 0) {
    if (routeCellEvent(at / kVisibleRows, at % kVisibleRows, event)) return true;
    return Page::eventFilter(watched, event);
  }
  if (watched == txtInputChannel) {
    if (event->type() == QEvent::KeyPress) {
      auto* k = static_cast<QKeyEvent*>(event);
      if (vbui::keyCode(k) == 13) {
        txtInputChannel_KeyDown(13);
        return true;
      }
      int ascii = vbui::keyAscii(k);
      if (ascii == 8 || ascii >= 32) {
        txtInputChannel_KeyPress(ascii);
        if (ascii == 0) return true;
      }
    } else if (event->type() == QEvent::FocusOut) {
      const auto reason = static_cast<QFocusEvent*>(event)->reason();
      if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && reason != Qt::MenuBarFocusReason)
        txtInputChannel_LostFocus();
    }
  }
  return Page::eventFilter(watched, event);
}

int FrmChannel::cellAt(QObject* c) const {
  const auto it = std::lower_bound(cellIndex_.begin(), cellIndex_.end(), std::make_pair(c, -1));
  return it != cellIndex_.end() && it->first == c ? it->second : -1;
}

bool FrmChannel::typingPending() const {
  const int at = cellAt(focusCell_);
  if (at < 0) return false;
  const int nav = at / kVisibleRows;
  const int row = at % kVisibleRows;
  // A typed frequency is in the grid already; the edit waits for its check.
  if (nav == kFreq) return blnFreqPending;
  return cellText(nav, row) != gridText(nav, row);
}

bool FrmChannel::takeCellEntry(QLineEdit* c) {
  const int at = cellAt(c);
  if (at < 0) return true;
  const int nav = at / kVisibleRows;
  const int row = at % kVisibleRows;
  ChannelColumn& column = *columns_[static_cast<size_t>(nav)];
  // As moving into the cell would, the cell being edited is left first and
  // its typed text judged; a refusal there holds the entry back a turn.
  if (typingPending() && !leaveEditedCell()) {
    outside_->put(c);
    return true;
  }
  // A cell the user could not type into takes nothing.
  if (topRow() + row <= intMaxRow && cellEnabled(nav, row) && !c->isReadOnly() && column.Entry(row)) return true;
  // Refused: the cell shows the grid's text again.
  CellLock lock(intCellLock);
  setCellText(nav, row, gridText(nav, row));
  return false;
}

bool FrmChannel::leaveEditedCell() {
  const int at = cellAt(focusCell_);
  const int nav = at / kVisibleRows;
  const int row = at % kVisibleRows;
  ChannelColumn& column = *columns_[static_cast<size_t>(nav)];
  blnCheckFailed = false;
  column.LostFocus(row);
  const bool taken = !blnCheckFailed;
  // The focus never left: the cell's visit goes on from the judged text.
  if (focusCell_ == cell(nav, row)) column.GotFocus(row);
  return taken;
}

void FrmChannel::enterCell(int nav, int row) {
  QLineEdit* c = cell(nav, row);
  // The tone key hint belongs to the cell left.
  LabHelpMenu->hide();
  focusCell_ = c;
  if (!c->hasFocus()) c->setFocus(Qt::OtherFocusReason);
  columns_[static_cast<size_t>(nav)]->GotFocus(row);
}

bool FrmChannel::routeCellEvent(int nav, int row, QEvent* event) {
  ChannelColumn& column = *columns_[static_cast<size_t>(nav)];
  QLineEdit* self = cell(nav, row);
  switch (event->type()) {
    case QEvent::ShortcutOverride: {
      // The menus' keys win over the cell, as menu shortcuts do: the key is
      // taken here and handed to the menu command on its key press.
      auto* k = static_cast<QKeyEvent*>(event);
      const int code = vbui::keyCode(k);
      const int shift = vbui::shiftState(k);
      if ((shift == 0 && (code == 112 || code == 114)) || (shift == 2 && code == 68)) {
        event->accept();
        return true;
      }
      return false;
    }
    case QEvent::KeyPress: return cellKeyPress(nav, row, event);
    case QEvent::KeyRelease: {
      auto* k = static_cast<QKeyEvent*>(event);
      if (k->isAutoRepeat() || k->key() == Qt::Key_Shift || k->key() == Qt::Key_Control || k->key() == Qt::Key_Alt)
        return false;
      column.KeyUp(row, vbui::keyCode(k), vbui::shiftState(k));
      return false;
    }
    case QEvent::FocusIn:
      if (checking_ || focusCell_ == self) return false;
      // Text put in from outside and still waiting is judged first: the
      // cell's visit starts from what was taken. A refusal with a message
      // began the visit already.
      if (outside_->withdraw(self)) takeCellEntry(self);
      if (focusCell_ == self) return false;
      focusCell_ = self;
      column.GotFocus(row);
      return false;
    case QEvent::FocusOut: {
      const auto reason = static_cast<QFocusEvent*>(event)->reason();
      // A message box, a menu or another window taking the focus is not
      // leaving the cell.
      if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason || reason == Qt::MenuBarFocusReason)
        return false;
      if (checking_ || focusCell_ != self) return false;
      focusCell_ = nullptr;
      column.LostFocus(row);
      return false;
    }
    case QEvent::MouseButtonRelease:
      column.MouseUp(row);
      return false;
    default: return false;
  }
}

bool FrmChannel::cellKeyPress(int nav, int row, QEvent* event) {
  auto* k = static_cast<QKeyEvent*>(event);
  if (k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) return false;
  const int code = vbui::keyCode(k);
  const int shift = vbui::shiftState(k);
  if (code == 112 && shift == 0) {
    mnuEditHelp_Click();
    return true;
  }
  if (code == 114 && shift == 0) {
    if (mnuAutoSet->isEnabled()) mnuAutoSet_Click();
    return true;
  }
  if (code == 68 && shift == 2) {
    mnuFreqDel_Click();
    return true;
  }
  QLineEdit* self = cell(nav, row);
  ChannelColumn& column = *columns_[static_cast<size_t>(nav)];
  if (column.KeyDown(row, code, shift)) return true;
  // A key that moved the focus is not typed into the cell it left.
  if (QApplication::focusWidget() != self) return true;
  // Ctrl and Alt keys are commands (copy, paste, undo), not typed characters;
  // what a paste brings in goes through the cell's character filter.
  if (shift & 6) return false;
  const int ascii = vbui::keyAscii(k);
  if ((ascii == 8 || ascii == 13 || ascii >= 32) && !column.KeyPress(row, ascii)) return true;
  return false;
}
