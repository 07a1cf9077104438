#pragma once
// One throwaway PostgreSQL cluster for all network tests, a database of its own per test
// with the network's schema, and station logs made for them.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "network/pg_connection.h"
#include "network/server_schema.h"
#include "stationlog/station_log.h"
#include "support/pg_cluster.h"
#include "support/ordinary_user.h"

namespace fw::test {

struct CliResult {
    int code;
    std::string out, err;
};

inline CliResult RunNetworkCli(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int code = cli::RunCli(args, out, err);
    return {code, out.str(), err.str()};
}

class NetworkTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { cluster_ = std::make_unique<PgCluster>(); }
    static void TearDownTestSuite() { cluster_.reset(); }

    void SetUp() override {
        setlocale(LC_ALL, "C.UTF-8");
        ASSERT_EQ(cluster_->error(), "");
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        database_ = "t" + std::to_string(++databases_) + "_" + info->name();
        for (char& c : database_) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        PgConnection admin(cluster_->conninfo());
        admin.exec("CREATE DATABASE " + QuoteIdentifier(admin, database_));
        PgConnection conn(server());
        InitServerSchema(conn);
    }

    // The test's database as the administrator or as a station's role.
    std::string server(const std::string& user = PgCluster::Admin) const {
        return cluster_->conninfo(user, database_);
    }

    void addStation(const std::string& call, const std::string& locator) {
        const CliResult r = RunNetworkCli({"network", "add-station", "--server", server(), call,
                                           "--locator", locator});
        ASSERT_EQ(r.code, 0) << r.err;
    }

    std::int64_t count(const std::string& sql) {
        PgConnection conn(server());
        return conn.exec(sql).integer(0, 0);
    }

    static std::unique_ptr<PgCluster> cluster_;
    SharedTempDir folder_;
    std::string database_;

  private:
    static inline int databases_ = 0;
};

inline std::unique_ptr<PgCluster> NetworkTest::cluster_;

// `count` readings on 80 m and 40 m every 10 minutes from `start`, their field strengths
// spread so that each hour has a median of its own.
inline std::vector<LogReading> SweepReadings(UtcSeconds start, int count, double offsetDb = 0) {
    std::vector<LogReading> out;
    for (int i = 0; i < count; ++i) {
        const bool low = i % 2 == 0;
        LogReading r;
        r.utc = start + (i / 2) * 600;
        r.band = low ? "80m" : "40m";
        r.freqMHz = low ? 3.65 : 7.1;
        r.bandwidthHz = 2700;
        r.method = "AntVol";
        r.fieldDbuVm = offsetDb + 5 + (i * 7 % 13) * 0.5;
        r.rig = "Hamlib Dummy";
        r.locator = "JO40CQ";
        out.push_back(r);
    }
    return out;
}

}  // namespace fw::test
