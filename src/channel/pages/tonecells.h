#pragma once
// The channel editor's CTCSS and DCS cells. A typed tone is looked up in the
// family's table when Enter is released or the cell is left: accepted, the
// table's own text goes into the grid and the row keeps that one tone;
// refused, message 10032 and the text the grid holds come back. The INV cell
// of a row follows its DCS cell: usable, and holding a value, only while the
// DCS cell holds a code.
#include <QChar>

#include "channel/cellrules.h"
#include "channel/pages/chancells.h"

class ToneColumn : public ChannelColumn {
 public:
  ToneColumn(FrmChannel& page, int nav);
  void attach() override;
  void GotFocus(int row) override;
  bool KeyPress(int row, int keyAscii) override;
  bool KeyDown(int row, int keyCode, int shift) override;
  void KeyUp(int row, int keyCode, int shift) override;
  void MouseUp(int row) override;
  void Change(int row) override;
  void LostFocus(int row) override;
  // The DCS rules of a key's release, then the lookup of leaving the cell.
  bool Entry(int row) override;
  bool accepts(QChar) const override { return true; }
  bool readOnly() const override { return false; }

 private:
  bool isDcs() const;
  int designLength() const { return isDcs() ? 3 : 5; }
  // What every key released in a DCS cell does to the row: a code of value
  // 0 ("NON", "000") empties the cell, an empty cell takes the row's INV
  // with it, a code makes INV usable. False when the cell was emptied.
  bool dcsKeyState(int row);
  // Looks the cell's text up and stores the row's tone texts; on a refusal
  // the message, the grid's text back and the focus kept.
  bool commit(int row, const char* title);
  // The lookup of commit: true when the grid holds the cell's tone now.
  bool lookUp(int row);
  // The refusal of commit: message 10032, the grid's text back, the focus in the cell.
  void refuse(int row, const char* title);
  void apply(int row, const cellrules::ToneTexts& texts);
  void hideOtherPopups();
  int pressedKey_ = -1;  // code of a key that went down in one of this column's cells, until released
};
