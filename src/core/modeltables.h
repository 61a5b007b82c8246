#pragma once
// Family set-up and the model-variant tables.
#include "core/modpublic.h"

// What the start-up page shows for the family that was set up.
struct FamilyTexts {
  bool matched = false;  // strRadioFamily named a family
  int titleId = 0;       // string id of the page title line
  int welcomeId = 0;     // string id of the welcome line
};

// Sets colour, last image index and the family's table from strRadioFamily,
// and remembers the family (STARTUP "RadioSelect"). The caller paints the
// start-up page from the result.
FamilyTexts subSetRadioTable();

// The image's model code: byte 14 for family "0", byte 1016 otherwise.
int modelCode();
// Number of rows of the current family's table (0 before any family choice).
int modelRowCount();
// Checked access by model code: nullptr when the code has no row, so no
// reader ever indexes past a table.
const typModelData* modelRow0(int code);
const typModelData1* modelRow1(int code);
const typModelData* modelRow2(int code);
// The current family's row for the image's own model code: its IF, name and band.
bool currentModel(float& ifMHz, std::string& name, std::string& band);

// Family "2": the first IF of rows 0..2 follows image byte 937 (0 = 21.6 MHz,
// else 73.35) and of rows 11..18 byte 948 (0 or 0xFF = -48.5 MHz, else -73.35).
// Used after a read, a data-file open and the identity decode.
void deriveFamily2IfFromImage();
// The same two choices set directly (the configuration page's IF lists).
void setFamily2LowIf(bool is7335);
void setFamily2UhfIf(bool is7335);
