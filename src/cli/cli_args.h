#pragma once
#include <array>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
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

// The options that stand alone; every other argument beginning with "--" takes a value.
inline constexpr std::string_view HelpOption = "--help";
inline constexpr std::string_view ShortHelpOption = "-h";
inline constexpr std::string_view CliFlags[] = {HelpOption, ShortHelpOption, "--no-correction",
                                                 "--deciles", "--atmospheric", "--allow-overload"};

// The arguments of one command, read once from left to right: a flag of CliFlags; an option
// "--name VALUE" or "--name=VALUE", whose value is taken as it is even where it looks like an
// option ("--locator -h"); or a positional argument. Commands then take what they know in any
// order, and whatever is left at the end is a usage error.
class ArgList {
  public:
    explicit ArgList(const std::vector<std::string>& args);

    // The option's value; the last one given counts. An option given last without a value is
    // a usage error.
    std::optional<std::string> takeOption(const std::string& name);
    // A number option's value, written with a point or a comma as the decimal separator under
    // any locale, handed on with `sep`, the separator the program reads; other texts as given.
    std::optional<std::string> takeNumberOption(const std::string& name, char sep);
    // Several options at once, in the order named:
    // `const auto [freq, ref] = args.takeOptions("--freq", "--ref");`
    template <class... Names>
    std::array<std::optional<std::string>, sizeof...(Names)> takeOptions(const Names&... names) {
        return {takeOption(names)...};
    }
    // True when the flag (a name of CliFlags) or the word (a positional argument such as
    // "models") was given.
    bool takeFlag(std::string_view name);
    // The first positional argument.
    std::optional<std::string> takePositional();
    // Throws UsageError when an argument was not taken.
    void expectEmpty() const;

  private:
    struct Arg {
        enum class Kind { Flag, Option, Positional };
        Kind kind;
        std::string given;  // the argument as written, for the usage error
        std::string name;   // the flag's or option's name, the positional text
        std::optional<std::string> value;
    };
    std::vector<Arg> args_;
};

// An integer option within [low, high]; outside it is a refusal naming the option.
int ParseIntOption(const std::string& name, const std::string& text, int low, int high);

}  // namespace fw::cli
