#include "core/modpublic.h"

ModPublic modPublic;

void ModPublic::dimChanPara(int lastRow) {
  const size_t n = lastRow < 0 ? 0 : static_cast<size_t>(lastRow) + 1;
  chanParaRows.assign(n, {});
  strChanParaNo.assign(n, {});
  strChanParaTxRx.assign(n, {});
}

int ModPublic::family() const {
  if (strRadioFamily == "0") return 0;
  if (strRadioFamily == "1") return 1;
  if (strRadioFamily == "2") return 2;
  return -1;
}

void ModPublic::dimImage() {
  bytRadioData.assign(kImageSize, 0);
  bytRadioBase.assign(kImageSize, 0);
  bytRadioInfo.assign(12, 0);
}
