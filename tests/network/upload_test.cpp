#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <map>
#include <thread>

#include "libs/median.h"
#include "network/log_upload.h"
#include "network/stations.h"
#include "network/upload_worker.h"
#include "network_fixture.h"
#include "stationlog/log_identity.h"
#include "stationlog/log_schema.h"
#include "stationlog/log_stats.h"
#include "stationlog/utc_text.h"
#include "support/read_file.h"
#include "support/wait_for.h"

extern char** environ;

namespace fw::test {
namespace {

const UtcSeconds March = *ParseUtcMinute("2026-03-31T22:00");  // the batch reaches April

using ServerTest = NetworkTest;

TEST_F(ServerTest, InitIsIdempotentAndStationsAreCheckedBeforeTheServer) {
    EXPECT_EQ(RunNetworkCli({"network", "init", "--server", server()}).out,
              "network schema version 1\n");
    addStation("dl1abc", "jo40cq");
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const Case refused[] = {
        {{"DL1ABC", "--locator", "JO40CQ"}, "is on the server already"},
        {{"D1", "--locator", "JO40CQ"}, "\"D1\" is not a callsign"},
        {{"DL1AB1", "--locator", "JO40CQ"}, "is not a callsign"},
        {{"DK2XYZ", "--locator", "ZZ99"}, "ZZ99"},
        {{"DK2XYZ", "--locator", "JO40CQ", "--role", "Bad-Role"}, "is not a role name"},
    };
    for (const Case& c : refused) {
        std::vector<std::string> args = {"network", "add-station", "--server", server()};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CliResult r = RunNetworkCli(args);
        EXPECT_EQ(r.code, 1) << c.message;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    }
    const CliResult list =
        RunNetworkCli({"network", "stations", "--server", server(), "--format", "csv"});
    EXPECT_EQ(list.out, "callsign,locator,readings,first_reading,last_reading,last_upload\n"
                        "DL1ABC,JO40CQ,0,,,\n");
}

TEST_F(ServerTest, ConnectionProblemsAreClearMessages) {
    const CliResult password = RunNetworkCli(
        {"network", "stations", "--server", server() + " password=secret99"});
    EXPECT_EQ(password.code, 1);
    EXPECT_NE(password.err.find("~/.pgpass"), std::string::npos);
    EXPECT_EQ(password.err.find("secret99"), std::string::npos);
    const CliResult down = RunNetworkCli({"network", "init", "--server", cluster_->downConninfo()});
    EXPECT_EQ(down.code, 1);
    EXPECT_NE(down.err.find("cannot connect to the server"), std::string::npos) << down.err;
    const CliResult login = RunNetworkCli({"network", "init", "--server", server("nobody_here")});
    EXPECT_EQ(login.code, 1);
    EXPECT_NE(login.err.find("nobody_here"), std::string::npos) << login.err;
}

class UploadTest : public NetworkTest {
  protected:
    void SetUp() override {
        NetworkTest::SetUp();
        if (HasFatalFailure()) return;
        addStation("DL1ABC", "JO40CQ");
        addStation("DK2XYZ", "JO40CR");
    }

    std::string makeLog(const std::string& name, const std::vector<LogReading>& readings) {
        const std::string path = folder_.file(name);
        StationLog log = StationLog::Open(path);
        log.addAll(readings);
        log.addGap({readings.front().utc + 60, "40m", 7.1, "rig not\tanswering", "Hamlib Dummy"});
        return path;
    }

    CliResult upload(const std::string& log, const std::string& role, const std::string& call,
                     const std::string& batch = "7") {
        return RunNetworkCli({"network", "upload", "--server", server(role), "--log", log,
                              "--station", call, "--batch", batch});
    }
};

TEST_F(UploadTest, SendsWhatTheServerLacksOnceWithTheHourlyValues) {
    std::vector<LogReading> readings = SweepReadings(March, 40);
    const std::string path = makeLog("a.sqlite", readings);
    const std::string before = ReadWholeFile(path);
    EXPECT_EQ(upload(path, "dl1abc", "dl1abc").out, "uploaded 40 readings and 1 gaps (0 already there)\n");
    EXPECT_EQ(upload(path, "dl1abc", "DL1ABC").out, "uploaded 0 readings and 0 gaps (41 already there)\n");
    EXPECT_EQ(ReadWholeFile(path), before);

    // Readings logged since arrive by themselves, and so does a second log of the station.
    const auto later = SweepReadings(March + 40 * 300, 6);
    StationLog::Open(path).addAll(later);
    EXPECT_EQ(upload(path, "dl1abc", "DL1ABC").out, "uploaded 6 readings and 0 gaps (41 already there)\n");
    readings.insert(readings.end(), later.begin(), later.end());
    const auto other = SweepReadings(March + 3600, 4, 30);
    EXPECT_EQ(upload(makeLog("b.sqlite", other), "dl1abc", "DL1ABC").code, 0);
    readings.insert(readings.end(), other.begin(), other.end());

    EXPECT_EQ(count("SELECT count(DISTINCT (log_uuid, reading_id)) FROM floorwatch.readings"), 50);
    EXPECT_EQ(count("SELECT count(*) FROM floorwatch.readings"), 50);
    EXPECT_EQ(count("SELECT count(*) FROM pg_inherits i JOIN pg_class c ON c.oid = i.inhrelid"
                    " WHERE c.relkind = 'r'"),
              4);  // March and April of both

    std::map<std::pair<std::string, UtcSeconds>, std::vector<double>> hours;
    for (const LogReading& r : readings)
        hours[{r.band, r.utc / 3600 * 3600}].push_back(
            NoiseFactorDb(r.fieldDbuVm, r.freqMHz, r.bandwidthHz));
    PgConnection conn(server());
    const PgResult rows = conn.exec(
        "SELECT band, extract(epoch FROM hour_utc)::bigint, median_fa_db, readings"
        " FROM floorwatch.hourly ORDER BY 1, 2");
    ASSERT_EQ(rows.rows(), static_cast<int>(hours.size()));
    for (int i = 0; i < rows.rows(); ++i) {
        auto& values = hours[{rows.text(i, 0), rows.integer(i, 1)}];
        EXPECT_EQ(rows.integer(i, 3), static_cast<std::int64_t>(values.size()));
        EXPECT_NEAR(rows.real(i, 2), Median(values), 1e-9);
    }
}

TEST_F(UploadTest, DamagedReadingsAreLeftOutAndCounted) {
    const std::string path = makeLog("a.sqlite", SweepReadings(March, 10));
    {
        SqliteDb raw(path, SqliteDb::Mode::ReadWriteCreate);
        raw.exec("UPDATE readings SET field_dbuvm = 'loud' WHERE id = 3");
        raw.exec("UPDATE readings SET bandwidth_hz = 0 WHERE id = 10");
        raw.exec("UPDATE gaps SET freq_mhz = 'x'");
    }
    EXPECT_EQ(upload(path, "dl1abc", "DL1ABC").out,
              "uploaded 8 readings and 0 gaps (0 already there); 3 damaged ones left out (a level,"
              " time or frequency that is no usable number)\n");
    EXPECT_EQ(count("SELECT count(*) FROM floorwatch.readings WHERE reading_id IN (3, 10)"), 0);
    EXPECT_EQ(count("SELECT sum(readings) FROM floorwatch.hourly"), 8);
    EXPECT_EQ(count("SELECT readings_upto FROM floorwatch.logs"), 10);
}

TEST_F(UploadTest, AnotherStationsRoleIsRefusedByTheServer) {
    const std::string path = makeLog("a.sqlite", SweepReadings(March, 10));
    const CliResult r = upload(path, "dk2xyz", "DL1ABC");
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("refused the upload for DL1ABC as dk2xyz"), std::string::npos) << r.err;
    EXPECT_EQ(count("SELECT count(*) FROM floorwatch.readings"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM floorwatch.logs"), 0);
    // Nor can the role write such rows by hand, or change another station's.
    EXPECT_EQ(upload(path, "dl1abc", "DL1ABC").code, 0);
    PgConnection intruder(server("dk2xyz"));
    EXPECT_THROW(intruder.exec("UPDATE floorwatch.stations SET locator = 'AA00'"
                               " WHERE callsign = 'DL1ABC'"),
                 NetworkRefusal);
    EXPECT_EQ(intruder.exec("UPDATE floorwatch.readings SET fa_db = 0").affected(), 0);
    EXPECT_EQ(count("SELECT count(*) FROM floorwatch.readings WHERE fa_db = 0"), 0);
    EXPECT_GT(intruder.exec("SELECT * FROM floorwatch.readings").rows(), 0);
}

TEST_F(UploadTest, AnOlderLogReadOnlyHasTheIdentityItGetsWhenWritten) {
    // A log of version 3, before logs kept their identity, with ten readings.
    const std::string path = folder_.file("a.sqlite");
    {
        SqliteDb raw(path, SqliteDb::Mode::ReadWriteCreate);
        MigrateSchema(raw, 3);
        for (int i = 0; i < 10; ++i)
            raw.exec("INSERT INTO readings (utc, band, freq_mhz, bandwidth_hz, method, gain_dbi,"
                     " s_units, antvolt_dbuv, antpower_dbm, field_dbuvm, source, rig, locator)"
                     " VALUES (" + std::to_string(March + i * 600) +
                     ", '40m', 7.1, 2700, 'AntVol', 0, 0, 0, 0, 12.5, 'rig', 'Dummy', 'JO40CQ')");
        raw.exec("INSERT INTO gaps (utc, band, freq_mhz, reason, rig)"
                 " VALUES (" + std::to_string(March) + ", '40m', 7.1, 'no answer', 'Dummy')");
    }
    const auto readOnly = LogIdentity(*std::make_unique<StationLog>(
        StationLog::Open(path, StationLog::OpenMode::ReadOnly)));
    ASSERT_TRUE(readOnly);
    EXPECT_EQ(upload(path, "dl1abc", "DL1ABC").code, 0);
    StationLog written = StationLog::Open(path);
    EXPECT_EQ(LogIdentity(written), readOnly);
    EXPECT_EQ(upload(path, "dl1abc", "DL1ABC").out,
              "uploaded 0 readings and 0 gaps (11 already there)\n");
    // Empty logs get random identities.
    StationLog empty = StationLog::Open(folder_.file("empty.sqlite"));
    StationLog other = StationLog::Open(folder_.file("other.sqlite"));
    EXPECT_NE(LogIdentity(empty), LogIdentity(other));
}

TEST_F(UploadTest, TheMonitorsWorkerCountsWhatIsStillToSend) {
    const std::string path = makeLog("a.sqlite", SweepReadings(March, 30));
    UploadWorker away({cluster_->downConninfo(), "DL1ABC", path});
    away.request();
    away.finish({});
    EXPECT_EQ(away.status().pending, 31);
    EXPECT_NE(away.status().lastError.find("cannot connect"), std::string::npos);
    UploadWorker worker({server("dl1abc"), "DL1ABC", path});
    worker.request();
    worker.finish({});
    StationLog::Open(path).addAll(SweepReadings(March + 86400, 4));
    worker.request();
    worker.finish({});
    EXPECT_EQ(UploadWorkerSummary(worker.status()), "35 readings and gaps uploaded, 0 still to send");
    EXPECT_EQ(count("SELECT count(*) FROM floorwatch.readings"), 34);
}

// The monitor's worker ended while it uploads: its thread stops and is joined, the server
// holds whole batches up to the log's mark, and the next worker sends exactly the rest.
TEST_F(UploadTest, AWorkerEndedWhileItUploadsLosesNothing) {
    const std::string path = makeLog("a.sqlite", SweepReadings(March, 45000));  // three batches
    {
        UploadWorker worker({server("dl1abc"), "DL1ABC", path});
        worker.request();
        ASSERT_TRUE(WaitFor([&] {
            return count("SELECT coalesce(max(readings_upto), 0) FROM floorwatch.logs") > 0;
        }));
    }
    const std::int64_t arrived = count("SELECT count(*) FROM floorwatch.readings");
    EXPECT_EQ(count("SELECT readings_upto FROM floorwatch.logs"), arrived);
    UploadWorker rest({server("dl1abc"), "DL1ABC", path});
    rest.request();
    rest.finish({});
    EXPECT_EQ(rest.status().lastError, "");
    EXPECT_EQ(count("SELECT count(DISTINCT reading_id) FROM floorwatch.readings"), 45000);
    EXPECT_EQ(count("SELECT count(*) FROM floorwatch.readings"), 45000);
}

// Runs floorwatch-cli's upload of `log` with batches of 50 and returns its process id.
pid_t StartUpload(const std::string& server, const std::string& log) {
    const std::vector<std::string> args = {FW_CLI_PATH, "network", "upload", "--server", server,
                                           "--log", log, "--station", "DL1ABC", "--batch", "50"};
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    return posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) == 0 ? pid : -1;
}

// Waits until the upload's first batches have arrived; false when it ended before.
bool WaitForArrival(PgConnection& conn, pid_t upload) {
    for (;;) {
        const PgResult r = conn.exec("SELECT coalesce(max(readings_upto), 0) FROM floorwatch.logs");
        if (r.integer(0, 0) > 0) return true;
        if (waitpid(upload, nullptr, WNOHANG) != 0) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

int ExitOf(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

TEST_F(UploadTest, KilledOrCutOffUploadsRunAgainLeaveEachReadingOnce) {
    const std::string path = makeLog("a.sqlite", SweepReadings(March, 20000));
    PgConnection watch(server());
    const pid_t killed = StartUpload(server("dl1abc"), path);
    ASSERT_TRUE(WaitForArrival(watch, killed));
    kill(killed, SIGKILL);
    EXPECT_EQ(ExitOf(killed), -SIGKILL);
    const std::int64_t arrived = count("SELECT count(*) FROM floorwatch.readings");
    EXPECT_EQ(arrived % 50, 0);
    EXPECT_EQ(count("SELECT readings_upto FROM floorwatch.logs"), arrived);

    // The server stopped as by a crash while the next upload is under way.
    const pid_t cut = StartUpload(server("dl1abc"), path);
    for (std::int64_t n = arrived; n == arrived && waitpid(cut, nullptr, WNOHANG) == 0;)
        n = count("SELECT count(*) FROM floorwatch.readings");
    ASSERT_TRUE(cluster_->stop());
    EXPECT_EQ(ExitOf(cut), 1);
    ASSERT_TRUE(cluster_->start());

    const CliResult rest = upload(path, "dl1abc", "DL1ABC", "5000");
    EXPECT_EQ(rest.code, 0) << rest.err;
    EXPECT_EQ(count("SELECT count(*) FROM floorwatch.readings"), 20000);
    EXPECT_EQ(count("SELECT count(DISTINCT reading_id) FROM floorwatch.readings"), 20000);
    EXPECT_EQ(count("SELECT sum(readings) FROM floorwatch.hourly"), 20000);
    EXPECT_EQ(count("SELECT count(*) FROM floorwatch.gaps"), 1);
}

}  // namespace
}  // namespace fw::test
