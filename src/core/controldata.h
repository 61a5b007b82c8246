#pragma once
// The control-data file "velmora.ini" beside the program: which items each
// model offers, read into the seven mask tables.
#include <string>

// Makes a mask exactly 40 characters: "1" stays "1", anything else is "0".
void strMaskNormalize(std::string& mask);

// Reads the file into the mask tables. False (after an exclamation box, no
// sound) when the file is missing or a key never got a value; masks read
// before the failure keep their values.
bool blnGetControlData();

// Item k (from 0) of a mask is enabled when its character k + 1 is "1".
bool maskEnabled(const std::string& mask, int item);
