#pragma once
// The program's command line: radio, data file, port, help file, trace.
#include <cstdint>
#include <string>
#include <vector>

// The arguments after the program's name, one token each, exactly as the
// shell passed them: a quoted name holding blanks stays one token.
using CmdArgs = std::vector<std::string>;

// Parses the arguments into the shared start-up state (strHelpFile,
// strCmdFileName, intCmdCommPort, intDebugLog) and returns the radio code:
// -1 none, 0 ZR310, 1 ZR320, 11 ZR330, 2 ZR340/350.
//
// At most ten tokens count; an empty argument is no token. An option is
// recognised only at the start of a token, in any case: "/H<file>",
// "/F<data file>", "/R<model>", "/COM<n>" (1..16, else -1), "/DEBUG". So a
// path behind "/F" that happens to contain "/r" or "/h" never sets the radio
// or help file.
int16_t intGetCommandLine(const CmdArgs& args);

// The last "/COM" token as typed (a bare "/COM" included), "" without one:
// what a message about the port names.
std::string cmdPortToken(const CmdArgs& args);

// An unattended write was asked for: some token starts with "/F", even one
// without a name or one past the tenth.
bool cmdFileGiven(const CmdArgs& args);

// Why the unattended write cannot start from its arguments alone: the
// message id (0 when nothing stands in its way) and what the message names
// on its second line. In turn: a token past the tenth, a token that is no
// option (a name with blanks the shell split), a "/F" that names no file, a
// radio the program does not know. Call after intGetCommandLine.
struct CmdRefusal {
  int messageId = 0;
  std::string names;
};
CmdRefusal unattendedRefusal(const CmdArgs& args, int radioCode);

// The data-file road: splits the "/F" value into folder and file name (at its
// last "/", the only folder separator: a "\" is part of the name; no "/" =
// the program folder) and gives the file to open for a radio code (extension
// .R1A, .R2C, .R2B or .R3D). A name that already ends with an extension of
// the radio's family, in any case, is opened as typed: .R2B and .R2C both for
// the ZR320 and the ZR330, whose data is one family's. Without one, a ZR320
// or ZR330 name has a second file to try when the radio's own is missing:
// the one with the family's other extension.
struct CmdDataFile {
  std::string folder;
  std::string fileName;  // without the extension
  std::string fileToOpen;
  std::string otherFileToOpen;  // "" when there is no second file to try
};
CmdDataFile splitCmdDataFile(const std::string& value, int radioCode);
