#pragma once
// The one way the program starts other programs (the desktop's opener, the mail composer):
// the program file directly with one argument per value, never through a shell, so no
// character of a file name or text can be read as a command.
#include <chrono>
#include <stop_token>
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

// RunProgramForOutput's further answers: the program was killed because it ran too long or
// because a stop was requested.
inline constexpr int ProgramTimedOut = -3;
inline constexpr int ProgramStopped = -4;

struct ProgramOutput {
    int status = ProgramNotStarted;  // as RunProgram's, or ProgramTimedOut, ProgramStopped
    std::string output;              // what it wrote to standard output
};

// Runs `program` (a path) with `arguments`, standard input empty, and collects its standard
// output. A program still running after `limit` or when `stop` is requested is killed; the
// wait for it sees the stop within a tenth of a second.
ProgramOutput RunProgramForOutput(const std::string& program,
                                  const std::vector<std::string>& arguments,
                                  std::chrono::milliseconds limit, std::stop_token stop);

// Starts `program` the same way without waiting for it; it runs on after this program ends
// and leaves no zombie behind. True when it could be started.
bool StartProgramDetached(const std::string& program, const std::vector<std::string>& arguments);

}  // namespace fw
