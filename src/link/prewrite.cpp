#include "link/prewrite.h"

#include "core/chanrows.h"
#include "core/modpublic.h"
#include "core/soundmsg.h"
#include "platform/base/appinfo.h"
#include "platform/base/strtable.h"

bool blnChanCheck() {
  const ModPublic& m = modPublic;
  const auto& d = m.bytRadioData;
  bool found = false;
  const int family = m.family();
  if (family == 0) {
    // Only records up to the highest used channel count.
    const int count = d.size() > 32 ? d[32] : 0;
    for (int c = 1; c <= count && !found; ++c) found = chanrows::f0ChannelUsed(d, c);
  } else if (family == 1 || family == 2) {
    const int last = chanrows::lastGridRow(family, d);
    for (int row = 0; row <= last && !found; ++row) {
      const size_t at = static_cast<size_t>(chanrows::rowOffset(family, d, row));
      found = at + 4 <= d.size() && chanrows::rowUsed(family, &d[at]);
    }
  }
  if (!found) intSoundMsgBox(SoundKind::Attention, LoadResString(10061), "blnChanCheck");
  return found;
}

bool blnWriteCheck() {
  const ModPublic& m = modPublic;
  const auto& d = m.bytRadioData;
  if (d.size() <= 834) return true;
  int failure = 0;
  switch (m.family()) {
    case 0: {
      const int enc = d[42] & 0x0F, dec = d[66] & 7;
      if (((enc == 1 || enc == 3) && dec == 2) || ((enc == 2 || enc == 4) && dec == 1)) failure = 10077;
      else if ((dec == 1 || dec == 2) && enc == 0) failure = 10078;
      break;
    }
    case 1: {
      const int enc = d[810] & 7, dec = d[834] & 7;
      if (((enc == 0 || enc == 4) && dec == 3) || ((enc == 2 || enc == 6) && dec == 0)) failure = 10077;
      else if ((dec == 0 || dec == 3) && enc == 7) failure = 10078;
      break;
    }
    case 2: {
      const int enc = d[810] & 7, dec = d[834] & 7;
      if ((enc == 0 && dec == 3) || (enc == 2 && dec == 0)) failure = 10077;
      else if ((dec == 0 || dec == 3) && enc == 7) failure = 10078;
      break;
    }
    default: break;
  }
  if (failure == 0) return true;
  const std::string title =
      m.strCmdFileName.empty() ? "blnWriteCheck" : std::string(app::kTitle) + " Progamming blnWriteCheck";
  intSoundMsgBox(SoundKind::Attention, LoadResString(failure), title);
  return false;
}
