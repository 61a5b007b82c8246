#include "core/pages/frmclearselect.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "core/filecontrol.h"
#include "core/modpublic.h"
#include "core/pages/pagekit.h"
#include "core/soundmsg.h"
#include "platform/base/appinfo.h"
#include "platform/base/strtable.h"
#include "platform/base/vbtext.h"

FrmClearSelect::FrmClearSelect(Page* owner) : Page(owner), owner_(owner) {
  setObjectName("frmClearSelect");
  auto* root = new QVBoxLayout(this);
  labInitializeMenu = new QLabel("Initialize Menu", this);
  cmdChannelClear = new QPushButton("Channel Data initialize", this);
  cmdAllDataClear = new QPushButton("All Data initialize", this);
  cmdExit = new QPushButton("Exit", this);
  cmdExit->setToolTip("Close this menu");
  // A dialog's own margins around the buttons, which keep a common width.
  root->setContentsMargins(18, 14, 18, 14);
  root->setSpacing(8);
  labInitializeMenu->setAlignment(Qt::AlignCenter);
  root->addWidget(labInitializeMenu);
  for (QPushButton* b : {cmdChannelClear, cmdAllDataClear, cmdExit}) {
    b->setMinimumWidth(200);
    root->addWidget(b);
  }
  connect(cmdChannelClear, &QPushButton::clicked, this, [this] { cmdChannelClear_Click(); });
  connect(cmdAllDataClear, &QPushButton::clicked, this, [this] { cmdAllDataClear_Click(); });
  connect(cmdExit, &QPushButton::clicked, this, [this] { cmdExit_Click(); });
}

void FrmClearSelect::Form_Load() {
  const int top = owner_ ? owner_->Top() + 1500 : 0;
  const int left = owner_ ? owner_->Left() + 2100 : 0;
  Move(std::max(left, 0), std::max(top, 0));
  setCaption(std::string(app::kTitle) + "-" + "ClearSelect");
  vbui::setBackColor(this, vb::ColorValue(modPublic.strLabelColor));
  plainButtonColours(this);
}

void FrmClearSelect::subClearChannels() {
  ModPublic& m = modPublic;
  auto& d = m.bytRadioData;
  auto fill = [&](size_t at, std::initializer_list<uint8_t> pattern) {
    for (uint8_t b : pattern) d.at(at++) = b;
  };
  switch (m.family()) {
    case 0:
      for (size_t i = 0; i < 255; ++i) std::fill_n(d.begin() + static_cast<long>(768 + 24 * i), 24, uint8_t{0});
      break;
    case 1: {
      const size_t split = (d.at(801) & 2) ? 100 : 200;
      for (size_t i = 0; i < 2 * split; ++i)
        fill(i < split ? 4 * i : 1024 + 4 * (i - split), {0xFF, 0x3F, 0x7F, 0x00});
      break;
    }
    case 2:
      for (size_t i = 0; i < 198; ++i) fill(4 * i, {0xF9, 0x3F, 0x7F, 0x00});
      break;
    default: break;
  }
}

void FrmClearSelect::resetAfterClear() {
  ModPublic& m = modPublic;
  m.intTopRow = 0;
  if (m.strRadioFamily == "2") m.blnRadioWritten = false;
  if (m.strRadioFamily == "0") m.blnRadioRead = false;
}

void FrmClearSelect::cmdChannelClear_Click() {
  subClearChannels();
  resetAfterClear();
  intSoundMsgBox(SoundKind::Information, LoadResString(10063), "cmdAllDataClear_Click");
}

void FrmClearSelect::cmdAllDataClear_Click() {
  ModPublic& m = modPublic;
  if (objFileControl().blnGetBinaryData("", m.strInitialFile, m.bytRadioData, m.bytRadioBase, m.lngDataLast)) {
    resetAfterClear();
    intSoundMsgBox(SoundKind::Information, LoadResString(10063), "cmdAllDataClear_Click");
  } else {
    intSoundMsgBox(SoundKind::Attention, LoadResString(10062), "cmdAllDataClear_Click");
  }
}

void FrmClearSelect::cmdExit_Click() { Unload(); }
