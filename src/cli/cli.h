#pragma once
// floorwatch-cli: the program's logic without a window, for scripts and batch work.
#include <iosfwd>
#include <string>
#include <vector>

namespace fw::cli {

// Exit codes: 0 success, 1 a refusal (the program's message on standard error), 2 a usage error.
inline constexpr int ExitOk = 0;
inline constexpr int ExitRefused = 1;
inline constexpr int ExitUsage = 2;

// Runs one command line (without the program name).
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace fw::cli
