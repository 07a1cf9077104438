// enter --append reads the file before writing it: only a regular file (or none yet) will do.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "cli_run.h"

namespace fw::cli {
namespace {

using namespace test;

mode_t TypeOf(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 ? (st.st_mode & S_IFMT) : 0;
}

// A FIFO without a writer, our own pipe (as "enter --append /dev/stdout | cat" meets it), a
// device and a folder: each refused at once, before anything is read, printed or written.
TEST(CliEnterAppend, RefusesAnythingButARegularFile) {
    const std::string fifo = TempPath("fw_cli_append_fifo");
    std::remove(fifo.c_str());
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    int pipeEnds[2];
    ASSERT_EQ(pipe2(pipeEnds, O_NONBLOCK), 0);
    const std::string ownPipe = "/proc/self/fd/" + std::to_string(pipeEnds[1]);
    const std::string folder = TempPath("fw_cli_append_folder");
    std::filesystem::create_directories(folder);

    for (const std::string& path : {fifo, ownPipe, std::string("/dev/null"), folder}) {
        const mode_t type = TypeOf(path);
        const CliRun r = Cli({"enter", "--append", path});
        EXPECT_EQ(r.code, ExitRefused) << path;
        EXPECT_EQ(r.err,
                  "\"" + path + "\" is not a regular file: --append adds to data files only.\n");
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(TypeOf(path), type) << path;
    }
    char byte;
    EXPECT_EQ(read(pipeEnds[0], &byte, 1), -1) << "nothing was written to the pipe";
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    std::remove(fifo.c_str());
    std::filesystem::remove(folder);
}

}  // namespace
}  // namespace fw::cli
