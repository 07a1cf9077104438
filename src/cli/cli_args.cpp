#include "cli/cli_args.h"

#include <algorithm>
#include <iterator>

#include "libs/int_text.h"
#include "libs/real_text.h"

namespace fw::cli {

namespace {

bool IsFlag(std::string_view text) {
    return std::find(std::begin(CliFlags), std::end(CliFlags), text) != std::end(CliFlags);
}

}  // namespace

ArgList::ArgList(const std::vector<std::string>& args) {
    using Kind = Arg::Kind;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (IsFlag(a)) {
            args_.push_back({Kind::Flag, a, a, std::nullopt});
        } else if (a.size() > 2 && a.rfind("--", 0) == 0) {
            const auto equals = a.find('=');
            if (equals != std::string::npos)
                args_.push_back({Kind::Option, a, a.substr(0, equals), a.substr(equals + 1)});
            else if (i + 1 < args.size())
                args_.push_back({Kind::Option, a, a, args[++i]});
            else
                args_.push_back({Kind::Option, a, a, std::nullopt});
        } else {
            args_.push_back({Kind::Positional, a, a, std::nullopt});
        }
    }
}

std::optional<std::string> ArgList::takeOption(const std::string& name) {
    std::optional<std::string> value;
    for (auto it = args_.begin(); it != args_.end();) {
        if (it->kind != Arg::Kind::Option || it->name != name) {
            ++it;
            continue;
        }
        if (!it->value) throw UsageError("option " + name + " needs a value");
        value = std::move(it->value);
        it = args_.erase(it);
    }
    return value;
}

std::optional<std::string> ArgList::takeNumberOption(const std::string& name, char sep) {
    std::optional<std::string> value = takeOption(name);
    if (value) *value = WithRegionalSeparator(*value, sep);
    return value;
}

bool ArgList::takeFlag(std::string_view name) {
    // A flag missing from CliFlags would have been read as an option eating the next argument.
    if (name.rfind('-', 0) == 0 && !IsFlag(name))
        throw std::logic_error("not a declared flag: " + std::string(name));
    const Arg::Kind kind = IsFlag(name) ? Arg::Kind::Flag : Arg::Kind::Positional;
    const auto taken = std::remove_if(
        args_.begin(), args_.end(), [&](const Arg& a) { return a.kind == kind && a.name == name; });
    const bool found = taken != args_.end();
    args_.erase(taken, args_.end());
    return found;
}

std::optional<std::string> ArgList::takePositional() {
    const auto it = std::find_if(args_.begin(), args_.end(),
                                 [](const Arg& a) { return a.kind == Arg::Kind::Positional; });
    if (it == args_.end()) return std::nullopt;
    std::string value = std::move(it->name);
    args_.erase(it);
    return value;
}

void ArgList::expectEmpty() const {
    if (!args_.empty()) throw UsageError("unknown argument: " + args_.front().given);
}

int ParseIntOption(const std::string& name, const std::string& text, int low, int high) {
    const auto v = ParseIntText(text);
    if (!v) throw Refusal(name + " must be an integer number!");
    if (*v < low || *v > high)
        throw Refusal(name + " must lie between " + std::to_string(low) + " and " +
                      std::to_string(high) + "!");
    return *v;
}

}  // namespace fw::cli
