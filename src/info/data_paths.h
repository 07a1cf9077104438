#pragma once
// Where the program finds the files it ships with: beside the program first (the build tree,
// a relocated copy), then in the installed share folder.
#include <string>
#include <string_view>

namespace fw {

// The installed share folder of the program, e.g. "/usr/share/floorwatch/".
std::string InstalledDataDir();

// `relativePath` (e.g. "FloorwatchEN.pdf" or "itu-p372/COEFF01W.txt") beside the program in
// `programDir` (ending with a separator), else in InstalledDataDir(); where it is in neither,
// the path beside the program, so that a message names the place looked at first.
std::string FindDataFile(std::string_view programDir, std::string_view relativePath);

}  // namespace fw
