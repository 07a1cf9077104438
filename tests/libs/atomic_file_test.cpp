#include "libs/atomic_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <atomic>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "support/ordinary_user.h"

namespace fw {
namespace {

namespace fs = std::filesystem;
using test::RunAsOrdinaryUser;
using test::SharedTempDir;

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> Entries(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

std::size_t OpenDescriptors() {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator()));
}

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 ? st.st_mode : 0;
}

// Every behaviour holds for the unnamed temporary file and for its named fallback.
class AtomicFile : public ::testing::TestWithParam<TempFileKind> {
  protected:
    std::string write(const std::string& path, std::string_view bytes) {
        return WriteFileAtomically(path, bytes, GetParam());
    }
    std::string write(const std::string& path, const std::function<bool(std::FILE*)>& fill) {
        return WriteFileAtomically(path, fill, GetParam());
    }
    SharedTempDir dir_;
};

INSTANTIATE_TEST_SUITE_P(TempFiles, AtomicFile,
                         ::testing::Values(TempFileKind::UnnamedWherePossible,
                                           TempFileKind::Named));

TEST_P(AtomicFile, ReplacesWholeOrKeepsThePreviousFileAndLeavesNoTemporary) {
    const std::string path = dir_.file("a.txt");
    ASSERT_EQ(write(path, "one"), "");
    ASSERT_EQ(write(path, "keep"), "");
    EXPECT_EQ(Read(path), "keep");
    const std::string err = write(path, [](std::FILE* f) {
        std::fputs("half", f);
        errno = ENOSPC;
        return false;
    });
    EXPECT_EQ(err, std::strerror(ENOSPC));
    EXPECT_EQ(Read(path), "keep");
    EXPECT_EQ(Entries(dir_.path()), std::vector<std::string>{"a.txt"});
}

TEST_P(AtomicFile, AThrowingWriterLeavesNoTemporaryAndNoOpenFile) {
    const std::string path = dir_.file("a.txt");
    ASSERT_EQ(write(path, "keep"), "");
    const std::size_t open = OpenDescriptors();
    EXPECT_THROW(write(path,
                       [](std::FILE* f) -> bool {
                           std::fputs("half", f);
                           throw std::runtime_error("encoder failed");
                       }),
                 std::runtime_error);
    EXPECT_EQ(OpenDescriptors(), open);
    EXPECT_EQ(Read(path), "keep");
    EXPECT_EQ(Entries(dir_.path()), std::vector<std::string>{"a.txt"});
}

TEST_P(AtomicFile, ANewFileGetsTheUsualModeAReplacedOneKeepsItsModeAndALinkStaysALink) {
    const std::string target = dir_.file("private.txt"), link = dir_.file("link.txt");
    const mode_t mask = umask(022);
    ASSERT_EQ(write(target, "one"), "");
    umask(mask);
    EXPECT_EQ(ModeOf(target) & 07777, 0644u);
    ASSERT_EQ(chmod(target.c_str(), 0600), 0);
    ASSERT_EQ(symlink("private.txt", link.c_str()), 0);

    ASSERT_EQ(write(link, "two"), "");
    struct stat st {};
    ASSERT_EQ(lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(Read(target), "two");
    EXPECT_EQ(ModeOf(target) & 07777, 0600u);
}

TEST_P(AtomicFile, MissingFoldersAndFoldersAsTargetsAreRefused) {
    EXPECT_EQ(write(dir_.file("missing/a.txt"), "x"), std::strerror(ENOENT));
    EXPECT_EQ(write("", "x"), std::strerror(ENOENT));
    fs::create_directory(dir_.file("folder"));
    EXPECT_EQ(write(dir_.file("folder"), "x"), std::strerror(EISDIR));
    EXPECT_TRUE(fs::is_directory(dir_.file("folder")));
    EXPECT_EQ(Entries(dir_.path()), std::vector<std::string>{"folder"});
}

// As an ordinary user: a read-only file in a writable folder is refused and left as it was;
// in a read-only folder nothing can be created or replaced.
TEST_P(AtomicFile, ReadOnlyFilesAndFoldersAreRefusedForAnOrdinaryUser) {
    const std::string locked = dir_.file("locked.txt");
    ASSERT_EQ(write(locked, "old"), "");
    ASSERT_EQ(chmod(locked.c_str(), 0444), 0);
    const fs::path sealed = dir_.path() / "sealed";
    fs::create_directory(sealed);
    ASSERT_EQ(write((sealed / "kept.txt").string(), "old"), "");
    ASSERT_EQ(chmod((sealed / "kept.txt").string().c_str(), 0666), 0);
    ASSERT_EQ(chmod(sealed.c_str(), 0555), 0);

    const std::string report = RunAsOrdinaryUser([&] {
        std::string wrong;
        const auto expect = [&](const std::string& path, int err) {
            const std::string got = write(path, "new");
            if (got != std::strerror(err)) wrong += path + ": \"" + got + "\"; ";
        };
        expect(locked, EACCES);
        expect((sealed / "new.txt").string(), EACCES);
        expect((sealed / "kept.txt").string(), EACCES);
        return wrong;
    });
    EXPECT_EQ(report, "");
    EXPECT_EQ(Read(locked), "old");
    EXPECT_EQ(ModeOf(locked) & 07777, 0444u);
    EXPECT_EQ(Read((sealed / "kept.txt").string()), "old");
    EXPECT_EQ(Entries(dir_.path()), (std::vector<std::string>{"locked.txt", "sealed"}));
    EXPECT_EQ(Entries(sealed), std::vector<std::string>{"kept.txt"});
}

// A FIFO is written in place for its reader and stays a FIFO; /dev/null stays the device.
TEST_P(AtomicFile, SpecialFilesAreWrittenInPlaceNeverReplaced) {
    const std::string fifo = dir_.file("pipe");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(write(fifo, "x"), std::strerror(ENXIO)) << "no reader: refused, not waited for";

    const int readEnd = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(readEnd, 0);
    ASSERT_EQ(fcntl(readEnd, F_SETFL, 0), 0);
    const std::string sent(300000, 'n');  // more than a pipe holds: the reader must take part
    std::string received;
    std::atomic<bool> writerDone = false;
    std::thread reader([&] {
        char buffer[4096];
        // Until the writer has opened the FIFO a read finds no writer and returns 0 at once:
        // that is an end only once the writer is done.
        for (;;) {
            const bool done = writerDone.load();
            const ssize_t n = read(readEnd, buffer, sizeof buffer);
            if (n > 0) {
                received.append(buffer, static_cast<std::size_t>(n));
            } else if (n < 0 && errno != EINTR) {
                break;
            } else if (n == 0) {
                if (done) break;
                std::this_thread::yield();
            }
        }
    });
    const std::string err = write(fifo, sent);
    writerDone = true;
    reader.join();
    close(readEnd);
    EXPECT_EQ(err, "");
    EXPECT_EQ(received, sent);
    EXPECT_TRUE(S_ISFIFO(ModeOf(fifo)));

    // As an ordinary user, so that a writer that wrongly replaced it would fail here instead
    // of taking the system's /dev/null away.
    EXPECT_EQ(RunAsOrdinaryUser([&] { return write("/dev/null", "nothing"); }), "");
    EXPECT_TRUE(S_ISCHR(ModeOf("/dev/null")));
    EXPECT_EQ(Entries(dir_.path()), std::vector<std::string>{"pipe"});
}

// A save killed half-way (the child kills itself from inside the writer) leaves the folder
// as it was: no temporary file, the previous file whole.
TEST(AtomicFileKilled, AKillDuringTheWriteLeavesNothingBehind) {
    for (const bool previous : {false, true}) {
        SharedTempDir dir;
        const std::string path = dir.file("big.bin");
        if (previous) {
            ASSERT_EQ(WriteFileAtomically(path, "old"), "");
        }
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            WriteFileAtomically(path, [](std::FILE* f) {
                const std::string block(1 << 20, 'b');
                for (int i = 0; i < 8; ++i) std::fwrite(block.data(), 1, block.size(), f);
                std::fflush(f);
                raise(SIGKILL);
                return true;
            });
            _exit(0);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
        EXPECT_EQ(Entries(dir.path()),
                  previous ? std::vector<std::string>{"big.bin"} : std::vector<std::string>{});
        if (previous) {
            EXPECT_EQ(Read(path), "old");
        }
    }
}

}  // namespace
}  // namespace fw
