#pragma once
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace fw::cli {

// A wrong command line: the usage is printed and the program exits with 2.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A refusal of the program: its message is printed on standard error, exit 1.
struct Refusal : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The arguments of one command; options are taken out one by one, and whatever is
// left at the end is a usage error.
class ArgList {
  public:
    explicit ArgList(std::vector<std::string> args) : args_(std::move(args)) {}

    // "--name VALUE" or "--name=VALUE"; the last one given counts.
    std::optional<std::string> takeOption(const std::string& name);
    bool takeFlag(const std::string& name);
    // The next argument that is not an option.
    std::optional<std::string> takePositional();
    // Throws UsageError when an argument was not taken.
    void expectEmpty() const;

  private:
    std::vector<std::string> args_;
};

// An integer option within [low, high]; outside it is a refusal naming the option.
int ParseIntOption(const std::string& name, const std::string& text, int low, int high);

}  // namespace fw::cli
