#include "core/soundmsg.h"

#include "core/modpublic.h"
#include "platform/base/msgservice.h"
#include "platform/base/strtable.h"

int soundKindStyle(SoundKind kind) {
  switch (kind) {
    case SoundKind::Inquiry: return vb::vbOKCancel | vb::vbQuestion;
    case SoundKind::Attention: return vb::vbExclamation;
    case SoundKind::Information: return vb::vbInformation;
    case SoundKind::Warning: return vb::vbCritical;
  }
  return vb::vbOKOnly;
}

static const std::string& waveOf(SoundKind kind) {
  switch (kind) {
    case SoundKind::Inquiry: return modPublic.strSoundInquiry;
    case SoundKind::Attention: return modPublic.strSoundAttention;
    case SoundKind::Information: return modPublic.strSoundInformation;
    case SoundKind::Warning: break;
  }
  return modPublic.strSoundWarning;
}

int intSoundMsgBoxStyled(SoundKind wave, int style, const std::string& text, const std::string& title) {
  if (modPublic.intSoundOn != 0) messageService().playWave(modPublic.strSoundPath + waveOf(wave));
  modPublic.intMsgBoxResult = static_cast<int16_t>(messageService().msgBox(text, style, title));
  return modPublic.intMsgBoxResult;
}

int intSoundMsgBox(SoundKind kind, const std::string& text, const std::string& title) {
  return intSoundMsgBoxStyled(kind, soundKindStyle(kind), text, title);
}

int MsgBoxNoSound(const std::string& text, int style, const std::string& title) {
  modPublic.intMsgBoxResult = static_cast<int16_t>(messageService().msgBox(text, style, title));
  return modPublic.intMsgBoxResult;
}

std::string msgText(int idA, int idB) { return LoadResString(idA) + "\r" + LoadResString(idB); }
