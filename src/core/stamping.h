#pragma once
#include <string>
// Preparing the image around writes, saves, reads and opens.

// Before every write to the radio and every save: the program identity into
// the image and, for family "0", the channel bitmaps, the highest used
// channel, the memory-encode bitmap and references to empty channels dropped.
void subPrepareImage();

// The 12-character identity text, "velmora 1.00" padded with blanks.
std::string identityText();

// Family "0", before a write: clears the baseline from the last byte of the
// highest used channel's record to the end, so those bytes are sent again.
void subClearBaseTail();

// After a read or an open: the first grid row of the first used channel, at
// most the last row - 15. False (intTopRow unchanged) when no channel is used.
bool blnSetTopRow();
// After a read or an open: blnSetTopRow, and with no channel in use the first
// channel's RX row (row 0), so the editor never opens on a lone TX row.
void subSetTopRowAfterLoad();
