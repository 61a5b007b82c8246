#include "core/pages/frmsound.h"

#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/modpublic.h"
#include "platform/base/msgservice.h"
#include "core/settingkeys.h"

FrmSound::FrmSound(QWidget* parent) : Page(parent) {
  setCaption("ZR-Sound");
  auto* grid = new QGridLayout(this);
  lblHeading = new QLabel("Sounds Properties", this);
  grid->addWidget(lblHeading, 0, 0, 1, 3);
  const char* labels[4] = {"Inquiry", "Attention", "Information", "Worning"};
  QComboBox** lists[4] = {&ComInquiry, &ComAttention, &ComInfomation, &ComWorning};
  const char* names[4] = {"ComInquiry", "ComAttention", "ComInfomation", "ComWorning"};
  for (int i = 0; i < 4; ++i) {
    auto* label = new QLabel(labels[i], this);
    grid->addWidget(label, i + 1, 0);
    *lists[i] = new QComboBox(this);
    (*lists[i])->setEditable(true);
    // The list and the field typed into are read out by their caption.
    label->setBuddy(*lists[i]);
    (*lists[i])->lineEdit()->setAccessibleName(labels[i]);
    (*lists[i])->setObjectName(names[i]);
    (*lists[i])->setMinimumWidth(180);
    grid->addWidget(*lists[i], i + 1, 1);
    ComInqTest[static_cast<size_t>(i)] = new QPushButton("Test", this);
    ComInqTest[static_cast<size_t>(i)]->setObjectName(QString("ComInqTest%1").arg(i));
    // Four buttons captioned alike: each is read out with the wave it plays.
    ComInqTest[static_cast<size_t>(i)]->setAccessibleName(QString("%1 Test").arg(labels[i]));
    grid->addWidget(ComInqTest[static_cast<size_t>(i)], i + 1, 2);
    connect(ComInqTest[static_cast<size_t>(i)], &QPushButton::clicked, this, [this, i] { ComInqTest_Click(i); });
  }
  ComSoundSet = new QPushButton("SET", this);
  ComSoundExit = new QPushButton("EXIT", this);
  grid->addWidget(ComSoundSet, 5, 1);
  grid->addWidget(ComSoundExit, 5, 2);
  connect(ComSoundSet, &QPushButton::clicked, this, [this] { ComSoundSet_Click(); });
  connect(ComSoundExit, &QPushButton::clicked, this, [this] { ComSoundExit_Click(); });
}

QComboBox* FrmSound::listOf(int index) const {
  switch (index) {
    case 0: return ComInquiry;
    case 1: return ComAttention;
    case 2: return ComInfomation;
    case 3: return ComWorning;
  }
  return nullptr;
}

void FrmSound::Form_Load() {
  // Every wave of the media folder, in the folder's order, in all four lists.
  const QDir folder(QString::fromStdString(modPublic.strSoundPath));
  const QStringList waves = folder.exists() ? folder.entryList({"*.WAV", "*.wav"}, QDir::Files) : QStringList();
  for (int i = 0; i < 4; ++i) listOf(i)->addItems(waves);
  ComInquiry->setCurrentText(QString::fromStdString(modPublic.strSoundInquiry));
  ComAttention->setCurrentText(QString::fromStdString(modPublic.strSoundAttention));
  ComInfomation->setCurrentText(QString::fromStdString(modPublic.strSoundInformation));
  ComWorning->setCurrentText(QString::fromStdString(modPublic.strSoundWarning));
}

void FrmSound::ComInqTest_Click(int index) {
  QComboBox* list = listOf(index);
  if (!list) return;
  // Plays whether sound is on or off; a name that is no file plays nothing.
  messageService().playWave(modPublic.strSoundPath + list->currentText().toStdString());
}

void FrmSound::ComSoundSet_Click() {
  modPublic.strSoundInquiry = ComInquiry->currentText().toStdString();
  modPublic.strSoundAttention = ComAttention->currentText().toStdString();
  modPublic.strSoundInformation = ComInfomation->currentText().toStdString();
  modPublic.strSoundWarning = ComWorning->currentText().toStdString();
  modPublic.strSoundOnOff = "0";
  saveSetting(keys::SoundOnOff, modPublic.strSoundOnOff);
  saveSetting(keys::Inquiry, modPublic.strSoundInquiry);
  saveSetting(keys::Attention, modPublic.strSoundAttention);
  saveSetting(keys::Information, modPublic.strSoundInformation);
  saveSetting(keys::Worning, modPublic.strSoundWarning);
}

void FrmSound::ComSoundExit_Click() { Unload(); }
