#pragma once
// The program's command line: radio, data file, port, help file, trace.
#include <cstdint>
#include <string>

// Parses a command line (the arguments joined by blanks) into the shared
// start-up state (strHelpFile, strCmdFileName, intCmdCommPort, intDebugLog)
// and returns the radio code: -1 none, 0 ZR310, 1 ZR320, 11 ZR330, 2 ZR340/350.
//
// At most ten blank- or tab-separated tokens count. An option is recognised
// only at the start of a token, in any case: "/H<file>", "/F<data file>",
// "/R<model>", "/COM<n>" (1..16, else -1), "/DEBUG". So a path behind "/F"
// that happens to contain "/r" or "/h" never sets the radio or help file.
int16_t intGetCommandLine(const std::string& commandLine);

// The last "/COM" token as typed (a bare "/COM" included), "" without one:
// what a message about the port names.
std::string cmdPortToken(const std::string& commandLine);

// The data-file road: splits the "/F" value into folder and file name (at its
// last "/" or "\"; no separator = the program folder) and gives the file to
// open for a radio code (extension .R1A, .R2C, .R2B or .R3D).
struct CmdDataFile {
  std::string folder;
  std::string fileName;  // without the radio's extension
  std::string fileToOpen;
};
CmdDataFile splitCmdDataFile(const std::string& value, int radioCode);
