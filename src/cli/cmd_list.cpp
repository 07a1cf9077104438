#include <ostream>

#include "cli/commands.h"
#include "cli/render_options.h"
#include "libs/regional.h"
#include "measure/user_data_file.h"

namespace fw::cli {

int CmdList(ArgList& args, std::ostream& out, std::ostream& /*err*/) {
    const auto saveTo = args.takeOption("--save");
    const auto file = args.takePositional();
    args.expectEmpty();
    if (!file) throw UsageError("list needs a FILE");

    const char sep = SystemDecimalSeparator();
    const LoadedData data = LoadDataOption(*file, sep);
    for (const std::string& line : UserListLines(data.list, sep)) out << line << '\n';
    if (saveTo) {
        if (const auto failure =
                SaveUserDataFile(*saveTo, data.locator, data.dateTime, data.list, sep))
            throw Refusal(failure->text);
    }
    return ExitOk;
}

}  // namespace fw::cli
