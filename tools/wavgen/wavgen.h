#pragma once
// Synthesises the program's message sounds from a readable list of notes
// (sounds.txt): each sound a sum of sine partials with a decaying envelope.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace wavgen {

// File name ("DING.WAV") to the complete bytes of a 16-bit mono PCM wave.
// On a malformed list, error is set and the result is empty.
std::map<std::string, std::vector<uint8_t>> build(const std::string& listText, std::string& error);

}  // namespace wavgen
