#include "cli.h"

#include <ostream>

#include "commands.h"
#include "render_options.h"

namespace fw::cli {

namespace {

using Command = int (*)(ArgList&, std::ostream&, std::ostream&);

struct CommandEntry {
    const char* name;
    Command run;
};

constexpr CommandEntry Commands[] = {
    {"curves", CmdCurves},
    {"render", CmdRender},
    {"list", CmdList},
    {"report", CmdReport},
};

void PrintUsage(std::ostream& s) {
    s << "Usage: floorwatch-cli COMMAND [OPTIONS]\n"
         "\n"
         "Commands:\n"
         "  curves [--bandwidth TEXT]\n"
         "      The reference noise curves as CSV on standard output: frequency in Hz, then\n"
         "      noise figure Fa and field strength E in dB(uV/m) of each environment.\n"
         "  render [render options] --output FILE\n"
         "      Renders the diagram as the window shows it and saves it as FILE; the\n"
         "      extension (.bmp, .png or .jpg) chooses the format.\n"
         "  list FILE [--save OUT]\n"
         "      Loads the USER data file FILE as \"Load USER Data\" does and prints the list\n"
         "      box's lines; with --save, writes the list to OUT as \"Save USER Data\" does.\n"
         "      Numbers follow the regional decimal separator.\n"
         "  report [render options] (--pdf OUT | --printer NAME)\n"
         "      Builds the one-page A4 noise report as the print window does, with the\n"
         "      diagram, the --data file's measurements and today's date, and writes it as\n"
         "      the PDF file OUT or prints it on the installed printer NAME.\n"
         "\n"
         "Render options:\n"
      << RenderOptionsHelp
      << "\n"
         "  --help             show this text\n"
         "\n"
         "Exit status: 0 success, 1 the input was refused (message on standard error),\n"
         "2 a usage error.\n";
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        PrintUsage(err);
        return ExitUsage;
    }
    for (const std::string& a : args) {
        if (a == "--help" || a == "-h") {
            PrintUsage(out);
            return ExitOk;
        }
    }
    try {
        for (const CommandEntry& c : Commands) {
            if (args.front() != c.name) continue;
            ArgList rest(std::vector<std::string>(args.begin() + 1, args.end()));
            return c.run(rest, out, err);
        }
        throw UsageError("unknown command: " + args.front());
    } catch (const UsageError& e) {
        err << "floorwatch-cli: " << e.what() << "\n\n";
        PrintUsage(err);
        return ExitUsage;
    } catch (const Refusal& e) {
        err << e.what() << '\n';
        return ExitRefused;
    }
}

}  // namespace fw::cli
