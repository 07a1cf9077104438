// The station's place from its locator, the measurement time in UTC, and the atmospheric
// layer made from the two texts.
#include "measure/station_atmosphere.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <thread>
#include <vector>

#include "measure/maidenhead.h"
#include "measure/utc_hour.h"
#include "model/noise_model.h"
#include "support/time_zone.h"

namespace fw {
namespace {

namespace fs = std::filesystem;

using fw::test::TimeZone;

// A fresh folder per test, removed afterwards.
class TempDir {
  public:
    TempDir() {
        std::string pattern = (fs::temp_directory_path() / "fw-atmos-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~TempDir() { fs::remove_all(path_); }
    std::string path() const { return path_ + "/"; }

  private:
    std::string path_;
};

TEST(Maidenhead, CentreOfTheSquareAtEveryLength) {
    const struct {
        const char* text;
        const char* normal;
        double lat, lon;
    } cases[] = {
        {"JO40CQ", "JO40CQ", 50.6875, 8.2083333},
        {"jo40cq", "JO40CQ", 50.6875, 8.2083333},
        {" JO40cq ", "JO40CQ", 50.6875, 8.2083333},
        {"JO", "JO", 55.0, 10.0},
        {"JO40", "JO40", 50.5, 9.0},
        {"JO40CQ12", "JO40CQ12", 50.6770833, 8.1791667},
        {"AA00aa", "AA00AA", -89.9791667, -179.9583333},
        {"RR99XX99", "RR99XX99", 89.9979167, 179.9958333},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto square = ParseMaidenhead(c.text);
        ASSERT_TRUE(square.ok()) << square.reason();
        EXPECT_EQ(square->text, c.normal);
        EXPECT_NEAR(square->centre.latDeg, c.lat, 1e-7);
        EXPECT_NEAR(square->centre.lonDeg, c.lon, 1e-7);
    }
}

TEST(Maidenhead, TextsThatAreNoSquareAreRefusedWithTheText) {
    for (const char* text : {"NoLoc.", "", "J", "JO4", "SA", "JS", "JO40YA", "JOA0", "JO4OCQ",
                             "JO40CQ1", "JO40CQ123", "JO 40", "JO40CQAA"}) {
        SCOPED_TRACE(text);
        const auto square = ParseMaidenhead(text);
        ASSERT_FALSE(square.ok());
        EXPECT_EQ(square.reason(),
                  "The locator \"" + std::string(text) +
                      "\" is no Maidenhead square of 2, 4, 6 or 8 characters such as JO40CQ.");
    }
}

TEST(MeasTime, LocalTimeOfTheZoneBecomesUtc) {
    const struct {
        const char* tz;
        const char* text;
        int year, month, day, hour;
    } cases[] = {
        {"UTC0", "2026-01-15 13:20", 2026, 1, 15, 13},
        {"CET-1CEST,M3.5.0,M10.5.0/3", "2026-01-15 14:20", 2026, 1, 15, 13},
        {"CET-1CEST,M3.5.0,M10.5.0/3", "2026-07-01 14:59", 2026, 7, 1, 12},  // summer time
        // Back a day and a month: the UTC month picks the coefficient file.
        {"CET-1CEST,M3.5.0,M10.5.0/3", "2026-03-01 00:30", 2026, 2, 28, 23},
        {"EST5EDT,M3.2.0,M11.1.0", "2026-05-31 21:00", 2026, 6, 1, 1},  // forward a month
        {"JST-9", "2026-01-01 05:00", 2025, 12, 31, 20},                // back a year
        {"NZST-12NZDT,M9.5.0,M4.1.0/3", "2024-02-29 12:00", 2024, 2, 28, 23},
        {"UTC0", "  2026-12-06 08:05 ", 2026, 12, 6, 8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.tz << " " << c.text);
        const TimeZone zone(c.tz);
        const auto utc = MeasDateTimeToUtc(c.text);
        ASSERT_TRUE(utc.ok()) << utc.reason();
        EXPECT_EQ(utc->year, c.year);
        EXPECT_EQ(utc->month, c.month);
        EXPECT_EQ(utc->day, c.day);
        EXPECT_EQ(utc->hour, c.hour);
    }
}

TEST(MeasTime, OtherFormsAndImpossibleDatesAreRefusedWithTheText) {
    const TimeZone zone("UTC0");
    const struct {
        const char* text;
        const char* why;
    } cases[] = {
        {"NoDateTime", "is not in the form YYYY-MM-DD HH:MM"},
        {"", "is not in the form YYYY-MM-DD HH:MM"},
        {"2026-1-15 14:20", "is not in the form YYYY-MM-DD HH:MM"},
        {"2026-01-15 14:20:00", "is not in the form YYYY-MM-DD HH:MM"},
        {"2026/01/15 14:20", "is not in the form YYYY-MM-DD HH:MM"},
        {"2026-01-15T14:20", "is not in the form YYYY-MM-DD HH:MM"},
        {"+026-01-15 14:20", "is not in the form YYYY-MM-DD HH:MM"},
        {"2026-02-30 10:00", "is no valid date and time"},
        {"2025-02-29 10:00", "is no valid date and time"},
        {"2026-13-01 10:00", "is no valid date and time"},
        {"2026-00-10 10:00", "is no valid date and time"},
        {"2026-01-15 24:00", "is no valid date and time"},
        {"2026-01-15 14:60", "is no valid date and time"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto utc = MeasDateTimeToUtc(c.text);
        ASSERT_FALSE(utc.ok());
        EXPECT_EQ(utc.reason(), "The date/time \"" + std::string(c.text) + "\" " + c.why + ".");
    }
}

TEST(StationAtmosphere, LayerForTheLocatorCentreAndUtcHour) {
    const TimeZone zone("CET-1CEST,M3.5.0,M10.5.0/3");
    auto cache = ItuCoefficientCache::InFolder(FW_ITU_DATA_DIR);
    const std::vector<double> grid = makeLogGrid(FreqGridCount, FreqGridLowHz, FreqGridHighHz);
    const auto layer = StationAtmosphericLayer("jo40cq", "2026-02-01 00:20", grid, cache);
    ASSERT_TRUE(layer.ok()) << layer.reason();
    EXPECT_EQ(layer->legend, "Atmospheric noise: JO40CQ, January, 23 h UTC");

    const ItuNoiseCoefficients& c = cache.Month(1)->value();
    const AtmosphericSite site = MakeAtmosphericSite(c, 50.6875, 8.2083333333, 23);
    ASSERT_FALSE(layer->freqHz.empty());
    for (std::size_t i = 0; i < layer->freqHz.size(); i += 50)
        EXPECT_NEAR(layer->fa[i], AtmosphericNoiseAt(c, site, layer->freqHz[i] / 1e6).fa, 1e-9);
}

TEST(StationAtmosphere, EveryMissingPieceGivesOneLineWhy) {
    const TimeZone zone("UTC0");
    TempDir damaged;
    std::ofstream(damaged.path() + "COEFF03W.txt") << "fakp(29,16,6)\n 1.0 2.0\n";
    const struct {
        std::string folder, locator, dateTime, reason;
    } cases[] = {
        {FW_ITU_DATA_DIR, "NoLoc.", "2026-01-15 13:20",
         "The locator \"NoLoc.\" is no Maidenhead square of 2, 4, 6 or 8 characters such as "
         "JO40CQ."},
        {FW_ITU_DATA_DIR, "JO40CQ", "NoDateTime",
         "The date/time \"NoDateTime\" is not in the form YYYY-MM-DD HH:MM."},
        {damaged.path(), "JO40CQ", "2026-01-15 13:20",
         "The ITU-R P.372 coefficient file \"" + damaged.path() + "COEFF01W.txt\" was not found."},
        {damaged.path(), "JO40CQ", "2026-03-15 13:20",
         "The ITU-R P.372 coefficient file \"" + damaged.path() +
             "COEFF03W.txt\" is damaged: array fakp(29,16,6) ends after 2 of 2784 values."},
    };
    const std::vector<double> grid = makeLogGrid(FreqGridCount, FreqGridLowHz, FreqGridHighHz);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        auto cache = ItuCoefficientCache::InFolder(c.folder);
        const auto layer = StationAtmosphericLayer(c.locator, c.dateTime, grid, cache);
        ASSERT_FALSE(layer.ok());
        EXPECT_EQ(layer.reason(), "No atmospheric noise: " + c.reason);
        EXPECT_EQ(layer.reason().find('\n'), std::string::npos);
    }
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The shipped folder, list of sums included, in a fresh folder.
void CopyShippedFolder(const TempDir& to) {
    for (const auto& entry : fs::directory_iterator(FW_ITU_DATA_DIR))
        fs::copy_file(entry.path(), to.path() + entry.path().filename().string());
}

// A one-byte change anywhere in a shipped file is named, whatever it would do to the figures.
TEST(ItuCoefficientCache, EveryChangedByteOfAShippedFileIsNamed) {
    TempDir data;
    CopyShippedFolder(data);
    const std::string path = data.path() + "COEFF01W.txt";
    const std::string good = ReadBytes(path);
    const std::vector<double> grid = makeLogGrid(FreqGridCount, FreqGridLowHz, FreqGridHighHz);
    for (std::size_t at = 0; at < good.size(); at += good.size() / 199) {
        std::string changed = good;
        changed[at] = static_cast<char>(changed[at] ^ (1 << (at % 8)));
        std::ofstream(path, std::ios::binary | std::ios::trunc) << changed;
        auto cache = ItuCoefficientCache::InFolder(data.path());
        const auto layer = StationAtmosphericLayer("JO40CQ", "2026-01-15 13:20", grid, cache);
        ASSERT_FALSE(layer.ok()) << at;
        EXPECT_EQ(layer.reason(), "No atmospheric noise: The ITU-R P.372 coefficient file \"" +
                                      path +
                                      "\" is damaged or changed: its SHA-256 sum is not the one "
                                      "in the folder's list SHA256SUMS.");
    }
}

// Without a list, figures that no atmospheric noise reaches are still refused, naming the file.
TEST(ItuCoefficientCache, ImplausibleFiguresOfAnUncheckedFileAreRefused) {
    TempDir data;
    std::string text = ReadBytes(std::string(FW_ITU_DATA_DIR) + "COEFF01W.txt");
    const std::size_t from = text.find("fakabp(2,6)\n") + 12, to = text.find("dud(5,12,5)");
    std::string huge;  // every time block's map offset
    while (huge.size() < 12 * 16) huge += "  0.90000000E+03";
    text.replace(from, to - from, huge + "\n");
    std::ofstream(data.path() + "COEFF01W.txt", std::ios::binary) << text;
    auto cache = ItuCoefficientCache::InFolder(data.path());
    const std::vector<double> grid = makeLogGrid(FreqGridCount, FreqGridLowHz, FreqGridHighHz);
    const auto layer = StationAtmosphericLayer("JO40CQ", "2026-01-15 13:20", grid, cache);
    EXPECT_EQ(layer.reason().rfind("No atmospheric noise: The ITU-R P.372 coefficient file \"" +
                                       data.path() + "COEFF01W.txt\" is damaged: it gives Fa = ",
                                   0),
              0u)
        << layer.reason();
}

TEST(ItuCoefficientCache, FilesBesideTheProgramAreReadOnce) {
    TempDir program;
    fs::create_directory(program.path() + "itu-p372");
    const std::string path = program.path() + "itu-p372/COEFF05W.txt";
    fs::copy_file(std::string(FW_ITU_DATA_DIR) + "COEFF05W.txt", path);
    ItuCoefficientCache cache(program.path());
    EXPECT_EQ(cache.PathOf(5), path);
    const auto first = cache.Month(5);
    ASSERT_TRUE(first->ok()) << first->reason();
    fs::remove(path);  // kept from the first read
    EXPECT_EQ(cache.Month(5), first);
    EXPECT_TRUE(cache.Month(5)->ok());
    EXPECT_FALSE(cache.Month(0)->ok());
    EXPECT_FALSE(cache.Month(13)->ok());
    EXPECT_EQ(SharedItuCoefficients(program.path()), SharedItuCoefficients(program.path()));
}

TEST(ItuCoefficientCache, ThreadsAskingAtOnceShareOneRead) {
    const auto cache = ItuCoefficientCache::SharedInFolder(FW_ITU_DATA_DIR);
    std::vector<std::shared_ptr<const ItuCoefficientCache::MonthOutcome>> got(4);
    {
        std::vector<std::jthread> threads;
        for (auto& g : got) threads.emplace_back([&cache, out = &g] { *out = cache->Month(7); });
    }
    ASSERT_TRUE(got[0]->ok()) << got[0]->reason();
    for (const auto& g : got) EXPECT_EQ(g, got[0]);
}

}  // namespace
}  // namespace fw
