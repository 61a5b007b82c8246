#pragma once
// The channel table of the memory image and its working grid: set-up of the
// grid for the family, the decoder (image -> modPublic.strChanPara) and the
// encoder (grid -> image) with the PLL counters of every row.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/modpublic.h"

// The PLL record of one grid row. The decoder keeps the plain counters; the
// encoder's counter routine keeps them bit-reversed (B over 11 bits, A over 7),
// the order in which the row bytes hold them.
struct typPllData {
  int16_t intPllB = 0;
  uint8_t bytPllA = 0;
};

// The channel page's data-side state, alive as long as the page.
struct ChannelData {
  float sngIF = 0;           // first IF in MHz as the model table gives it
  int64_t dblIFOffset = 0;   // the same in Hz, added to RX rows
  int intMaxRow = -1;        // last grid row
  std::vector<typPllData> udtPllData;
  std::vector<std::string> strCtcTable;  // 0..55
  std::vector<std::string> strDcsTable;  // 0..104

  // Tone bits of a row that the tables cannot show (an index beyond the
  // table or an empty element). They are written back unchanged while the
  // row's CTC, DCS and INV texts are still those the decoder gave.
  struct KeptTone {
    bool kept = false;
    bool dcs = false;       // the row's tone-type bit
    uint8_t byte3 = 0;      // index and INV bit
    std::string ctc, dcsText, inv;
  };
  std::vector<KeptTone> keptTone;

  // Every row's texts as the decoder gave them. A row whose texts are these
  // again (never edited, or edited and brought back to them) is written back
  // with the bytes and flag bits it was read with, odd ones included (a W/N
  // code 3, step codes above the list, bits the radio leaves zero, an empty
  // row's leftovers and flags); only rows whose texts differ are encoded
  // anew, and a row the encoder wrote remembers the texts it wrote. Empty
  // until the decoder ran: then every row is encoded.
  std::vector<std::array<std::string, kChanParaColumns>> asRead;
};

// The IF of the image's model variant (checked against the model table).
// False when the image's model code has no row in the family's table.
bool channelModelIf(float& sngIF);

// Set-up for the current family: IF, last grid row, grid sized to it, row
// labels ("001"/"RX", ""/"TX", ...), PLL records zeroed, tone tables loaded.
// False, with the file that could not be read, when a tone table is missing.
bool blnChanIniSet(ChannelData& data, float sngIF, std::string* failedFile = nullptr);

// The channel of grid row `row` was deleted (its frequency emptied) or
// replaced: a channel typed anew in that row that differs from the old one
// in any text is encoded from its texts, without the tone bits the decoder
// kept for the old one. The page calls it whenever it empties or refills a
// row.
void forgetKeptTone(ChannelData& data, int row);

// Image -> grid, every row. Always True once set up.
bool blnGetChanPara(ChannelData& data);

// Grid -> image, every row whose texts are not those the decoder gave (see
// ChannelData::asRead); such a row writes its record bytes and its own bits
// of the per-channel maps, nothing else. An edited row whose frequency,
// step and prescaler texts are still those read keeps the counters it was
// read with. A row whose counters cannot be computed keeps the bytes it had
// and its channel number (1-based) is added to `unencoded`; the result is
// False when that happened.
bool blnPutChanPara(ChannelData& data, std::vector<int>* unencoded = nullptr);

// The frequency text of a decoded row: N × step, minus the IF when rx is 1.
// Empty when the IF is 0 or the row has no prescaler or step text.
std::string strFormatFrequency(const ChannelData& data, int row, int rx);

// Counters of grid row `row` for a frequency in Hz (the IF is added on RX
// rows), from the row's step and prescaler texts; fills udtPllData(row)
// bit-reversed, or with zeros when the counters cannot be computed.
bool blnSetPllData(ChannelData& data, int row, int64_t hz);

// Bit i of the result is bit 7 - i of b.
uint8_t bytReverseBits(uint8_t b);

// Family "0"/"2" band position code 0..31 of a frequency in Hz (no IF), from
// the model row of the image's model code; 0 when the code has no row.
int bandPositionCode(int family, int64_t hz);

// Byte offset of grid row `row` in the image of the current family.
int chanRowOffset(int family, const std::vector<uint8_t>& image, int row);
