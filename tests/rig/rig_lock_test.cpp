// One user of a rig at a time: the lock file per rig, within a process and across processes.
#include "rig/rig_lock.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "rig/rig_error.h"
#include "rigctld_process.h"

namespace fw::rig {
namespace {

std::string Refusal(const RigConnection& c) {
    try {
        const auto lock = LockRig(c, "floorwatch-cli rig sweep");
    } catch (const receiver::ReceiverError& e) {
        return e.what();
    }
    return "taken";
}

TEST(RigLock, ASecondUserOfTheSameRigIsRefusedNamingTheFirstUntilItEnds) {
    char folder[] = "/tmp/fw-riglock-XXXXXX";
    setenv("XDG_RUNTIME_DIR", mkdtemp(folder), 1);
    const RigConnection daemon{ParseRigctldAddress("localhost:4532")};
    const RigConnection serial{DirectRig{1035, "/dev/ttyUSB0", 9600, {}}};
    {
        const auto window = LockRig(serial, "Floorwatch");
        EXPECT_EQ(Refusal(serial),
                  "rig in use by Floorwatch (pid " + std::to_string(getpid()) + ")");
        // Other rigs are free: another port, another model on the same port, another device.
        EXPECT_EQ(Refusal(RigConnection{ParseRigctldAddress("localhost:4533")}), "taken");
        EXPECT_EQ(Refusal(RigConnection{DirectRig{1036, "/dev/ttyUSB0", 0, {}}}), "taken");
        EXPECT_EQ(Refusal(RigConnection{DirectRig{1035, "/dev/ttyUSB1", 0, {}}}), "taken");
    }
    EXPECT_EQ(Refusal(serial), "taken");  // released with its holder

    int ready[2], done[2];
    ASSERT_EQ(pipe(ready) | pipe(done), 0);
    const pid_t child = fork();
    if (child == 0) {  // holds the rig until the parent closes its end of `done`
        close(done[1]);
        const auto lock = LockRig(daemon, "floorwatch-cli monitor");
        char c = 1;
        if (write(ready[1], &c, 1) == 1 && read(done[0], &c, 1) >= 0) _exit(0);
        _exit(1);
    }
    close(done[0]);
    char c;
    ASSERT_EQ(read(ready[0], &c, 1), 1);
    EXPECT_EQ(Refusal(daemon),
              "rig in use by floorwatch-cli monitor (pid " + std::to_string(child) + ")");
    close(done[1]);
    waitpid(child, nullptr, 0);
    EXPECT_EQ(Refusal(daemon), "taken");
    unsetenv("XDG_RUNTIME_DIR");
    std::filesystem::remove_all(folder);
}

TEST(RigLock, EveryWayOfWritingOneRigNamesTheSameRig) {
    char folder[] = "/tmp/fw-riglock-XXXXXX";
    setenv("XDG_RUNTIME_DIR", mkdtemp(folder), 1);
    const std::string held = "rig in use by Floorwatch (pid " + std::to_string(getpid()) + ")";
    // A device named through a link is the device itself.
    const std::string device = std::string(folder) + "/ttyUSB7";
    std::filesystem::create_directory(device);
    std::filesystem::create_directory_symlink(device, std::string(folder) + "/by-id-radio");
    const auto serial = LockRig(RigConnection{DirectRig{1035, device, 0, {}}}, "Floorwatch");
    EXPECT_EQ(Refusal(RigConnection{DirectRig{1035, std::string(folder) + "/by-id-radio", 0, {}}}),
              held);
    const auto window = LockRig(RigConnection{ParseRigctldAddress("localhost:4532")}, "Floorwatch");
    for (const char* same : {"127.0.0.1", "127.0.0.1:4532", "localhost", "LOCALHOST:4532"})
        EXPECT_EQ(Refusal(RigConnection{ParseRigctldAddress(same)}), held) << same;
    EXPECT_EQ(Refusal(RigConnection{ParseRigctldAddress("127.0.0.1:4533")}), "taken");

    // A running daemon is the peer its connection reaches, however the address is written.
    test::RigctldProcess daemon;
    const std::string port = std::to_string(daemon.port());
    const auto monitor = LockRig(RigConnection{ParseRigctldAddress("localhost:" + port)}, "Floorwatch");
    for (const std::string same : {"[::ffff:127.0.0.1]:", "127.1:", "0x7f000001:", "[::1]:",
                                   "127.0.0.1:"})
        EXPECT_EQ(Refusal(RigConnection{ParseRigctldAddress(same + port)}), held) << same;
    unsetenv("XDG_RUNTIME_DIR");
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace fw::rig
