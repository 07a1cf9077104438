#pragma once
// The one way the program starts other programs (the desktop's opener, the mail composer):
// the program file directly with one argument per value, never through a shell, so no
// character of a file name or text can be read as a command.
#include <string>
#include <vector>

namespace fw {

// The full name of an executable program, searched on PATH when `name` has no '/'; empty
// when there is none.
std::string FindExecutable(const std::string& name);

// RunProgram's answers besides the program's exit status (0 to 255).
inline constexpr int ProgramNotStarted = -1;
inline constexpr int ProgramEndedAbnormally = -2;

// Runs `program` (looked up on PATH unless it contains a '/') with `arguments` and waits for
// it to end. Returns its exit status, ProgramNotStarted or ProgramEndedAbnormally.
int RunProgram(const std::string& program, const std::vector<std::string>& arguments);

// Starts `program` the same way without waiting for it; it runs on after this program ends
// and leaves no zombie behind. True when it could be started.
bool StartProgramDetached(const std::string& program, const std::vector<std::string>& arguments);

}  // namespace fw
