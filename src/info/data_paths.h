#pragma once
// Where the program finds the files it ships with: beside the program first (the build tree,
// a relocated copy), then in the share folder of the prefix the program lies in (an unpacked
// or relocated installation), then in the share folder it was built to be installed in.
#include <string>
#include <string_view>

namespace fw {

// The installed share folder of the program, e.g. "/usr/share/floorwatch/".
std::string InstalledDataDir();

// The share folder relative to the program's folder `programDir` (ending with a separator),
// e.g. "/opt/fw/bin/../share/floorwatch/" for a program in "/opt/fw/bin/".
std::string PrefixDataDir(std::string_view programDir);

// `relativePath` (e.g. "FloorwatchEN.pdf" or "itu-p372/COEFF01W.txt") beside the program in
// `programDir` (ending with a separator), else in PrefixDataDir(programDir) (not for an empty
// `programDir`, a program folder that could not be told), else in InstalledDataDir(); where it
// is in none of them, the path beside the program, so that a message names the place looked at
// first.
std::string FindDataFile(std::string_view programDir, std::string_view relativePath);

}  // namespace fw
