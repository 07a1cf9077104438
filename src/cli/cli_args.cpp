#include "cli/cli_args.h"

#include "libs/int_text.h"

namespace fw::cli {

std::optional<std::string> ArgList::takeOption(const std::string& name) {
    std::optional<std::string> value;
    for (std::size_t i = 0; i < args_.size();) {
        const std::string& a = args_[i];
        if (a == name) {
            if (i + 1 >= args_.size()) throw UsageError("option " + name + " needs a value");
            value = args_[i + 1];
            args_.erase(args_.begin() + static_cast<std::ptrdiff_t>(i),
                        args_.begin() + static_cast<std::ptrdiff_t>(i) + 2);
        } else if (a.rfind(name + "=", 0) == 0) {
            value = a.substr(name.size() + 1);
            args_.erase(args_.begin() + static_cast<std::ptrdiff_t>(i));
        } else {
            ++i;
        }
    }
    return value;
}

bool ArgList::takeFlag(const std::string& name) {
    bool found = false;
    for (std::size_t i = 0; i < args_.size();) {
        if (args_[i] == name) {
            found = true;
            args_.erase(args_.begin() + static_cast<std::ptrdiff_t>(i));
        } else {
            ++i;
        }
    }
    return found;
}

std::optional<std::string> ArgList::takePositional() {
    for (std::size_t i = 0; i < args_.size(); ++i) {
        if (args_[i].rfind("--", 0) == 0) continue;
        std::string value = args_[i];
        args_.erase(args_.begin() + static_cast<std::ptrdiff_t>(i));
        return value;
    }
    return std::nullopt;
}

void ArgList::expectEmpty() const {
    if (!args_.empty()) throw UsageError("unknown argument: " + args_.front());
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
