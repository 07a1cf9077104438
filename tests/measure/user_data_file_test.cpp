#include "measure/user_data_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <thread>

#include "model/levels.h"
#include "libs/real_text.h"

namespace fw {
namespace {

namespace fs = std::filesystem;

// A fresh folder per test, removed afterwards.
class TempDir {
  public:
    TempDir() {
        std::string pattern = (fs::temp_directory_path() / "fw-userdata-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~TempDir() {
        std::error_code ec;
        fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(path_, ec);
    }
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    const fs::path& path() const { return path_; }

  private:
    fs::path path_;
};

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteAll(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

MeasList ExampleList() {
    MeasList list;
    const MeasurementLevels s9 = LevelsFromSValue(SValueFromText("S9"), 3.65, 2.15);
    list.appendRow(MeasRow{3.65, s9.FieldDbuVm, 2700, "S-Val", s9.GainDbi, s9.SUnits,
                           s9.AntVoltDbuV, s9.AntPowerDbm});
    const MeasurementLevels f = LevelsFromFieldStrength(20);
    list.appendRow(MeasRow{7.1, f.FieldDbuVm, 2700, "Field", f.GainDbi, f.SUnits, f.AntVoltDbuV,
                           f.AntPowerDbm});
    return list;
}

const char* const ExampleText =
    "Locator: NoLoc.\r\n"
    "DateTime: NoDateTime\r\n"
    "3,65;13,298542065735;2700;S-Val;2,15;9;33,9794000867204;-73,0102999566398\r\n"
    "7,1;20;2700;Field;-999;-999;-999;-999\r\n";

TEST(FormatGeneral, FifteenSignificantDigitsNoTrailingZeros) {
    EXPECT_EQ(FormatGeneral(-999, ','), "-999");
    EXPECT_EQ(FormatGeneral(2700, ','), "2700");
    EXPECT_EQ(FormatGeneral(0, ','), "0");
    EXPECT_EQ(FormatGeneral(-0.0, ','), "0");
    EXPECT_EQ(FormatGeneral(3.65, ','), "3,65");
    EXPECT_EQ(FormatGeneral(3.65, '.'), "3.65");
    EXPECT_EQ(FormatGeneral(-0.5, ','), "-0,5");
    EXPECT_EQ(FormatGeneral(32.0 / 3, ','), "10,6666666666667");
    EXPECT_EQ(FormatGeneral(0.1 + 0.2, '.'), "0.3");
    EXPECT_EQ(FormatGeneral(123456789012345.0, '.'), "123456789012345");
    EXPECT_EQ(FormatGeneral(999999999999999.4, '.'), "999999999999999");
    EXPECT_EQ(FormatGeneral(0.00001, ','), "0,00001");
    EXPECT_EQ(FormatGeneral(-0.000012345, ','), "-0,000012345");
}

TEST(FormatGeneral, ExponentFormOnlyForTinyOrHugeMagnitudes) {
    EXPECT_EQ(FormatGeneral(1e-6, ','), "1E-6");
    EXPECT_EQ(FormatGeneral(-2.5e-7, ','), "-2,5E-7");
    EXPECT_EQ(FormatGeneral(0.0000099999, '.'), "9.9999E-6");
    EXPECT_EQ(FormatGeneral(1.5e20, ','), "1,5E20");
    EXPECT_EQ(FormatGeneral(1e15, '.'), "1E15");                // 16 digits before the separator
    EXPECT_EQ(FormatGeneral(9999999999999999.0, '.'), "1E16");  // rounds up a digit
    EXPECT_EQ(FormatGeneral(1e-300, '.'), "1E-300");
    // Rounded towards zero, so that the text reads back as a double.
    EXPECT_EQ(FormatGeneral(-std::numeric_limits<double>::max(), '.'), "-1.79769313486231E308");
}

TEST(FormatGeneral, WrittenNumbersReadBack) {
    for (double v : {1e-6, 1.5e20, -2.5e-7, 123456.789, std::numeric_limits<double>::max()}) {
        MeasList list;
        list.appendRow(MeasRow{v, v, v, "t", v, v, v, v});
        const UserDataLoad back = ParseUserDataText(UserDataFileText("", "", list, ','), ',');
        ASSERT_EQ(back.status, UserDataStatus::Ok) << v;
        EXPECT_NEAR(back.list.MeasFreqMHz()[0] / v, 1.0, 1e-14);
    }
}

TEST(UserDataFile, ExampleByteForByte) {
    EXPECT_EQ(UserDataFileText("NoLoc.", "NoDateTime", ExampleList(), ','), ExampleText);
}

TEST(UserDataFile, EmptyListWritesTheTwoLeadingLines) {
    EXPECT_EQ(UserDataFileText("JO40CQ", "2026-12-06 08:05", MeasList(), '.'),
              "Locator: JO40CQ\r\nDateTime: 2026-12-06 08:05\r\n");
}

TEST(UserDataFile, LineBreaksInTheTextsAreWrittenAsBlanks) {
    EXPECT_EQ(UserDataFileText("A\r\nB", "x\ny", MeasList(), '.'),
              "Locator: A  B\r\nDateTime: x y\r\n");
}

TEST(UserDataFile, SaveAndLoadRoundTrip) {
    TempDir dir;
    const std::string path = dir.file("261206_USER_Data.txt");
    for (char sep : {',', '.'}) {
        const MeasList list = ExampleList();
        ASSERT_FALSE(SaveUserDataFile(path, "JO40CQ", "2026-12-06 08:05", list, sep));
        const UserDataLoad back = LoadUserDataFile(path, sep);
        ASSERT_EQ(back.status, UserDataStatus::Ok);
        EXPECT_EQ(back.locator, "JO40CQ");
        EXPECT_EQ(back.dateTime, "2026-12-06 08:05");
        ASSERT_EQ(back.list.size(), 2u);
        EXPECT_EQ(back.list.row(1), list.row(1));
        const MeasRow a = back.list.row(0), b = list.row(0);
        EXPECT_EQ(a.entryUnit, b.entryUnit);
        // The file keeps 15 significant digits.
        EXPECT_NEAR(a.fieldDbuVm, b.fieldDbuVm, 1e-12);
        EXPECT_NEAR(a.antVoltDbuV, b.antVoltDbuV, 1e-12);
        EXPECT_NEAR(a.antPowerDbm, b.antPowerDbm, 1e-12);
        EXPECT_EQ(a.freqMHz, b.freqMHz);
        EXPECT_EQ(a.gainDbi, b.gainDbi);
    }
}

TEST(UserDataFile, LongLocatorAndDateAreCutOnLoading) {
    const UserDataLoad back =
        ParseUserDataText(UserDataFileText("JO40CQ12", "2026-12-06 08:05:59", {}, ','), ',');
    ASSERT_EQ(back.status, UserDataStatus::Ok);
    EXPECT_EQ(back.locator, "JO40CQ");
    EXPECT_EQ(back.dateTime, "2026-12-06 08:05");
    // The keys are not checked; short lines give short texts.
    const UserDataLoad odd = ParseUserDataText("Loc\nWhen: 123\n", ',');
    ASSERT_EQ(odd.status, UserDataStatus::Ok);
    EXPECT_EQ(odd.locator, "");
    EXPECT_EQ(odd.dateTime, "");
    EXPECT_EQ(ParseUserDataText("XXXXXXXXXAB\nYYYYYYYYYYCD", ',').locator, "AB");
    EXPECT_EQ(ParseUserDataText("XXXXXXXXXAB\nYYYYYYYYYYCD", ',').dateTime, "CD");
}

TEST(UserDataFile, ReaderTakesLfOnlyLinesAndExtraFields) {
    const UserDataLoad back = ParseUserDataText(
        "Locator: AB12cd\nDateTime: now\n7;1;2;AntVol;3;4;5;6;extra;more\n1,5;1;2;S-Val;3;4;5;6",
        ',');
    ASSERT_EQ(back.status, UserDataStatus::Ok);
    EXPECT_EQ(back.locator, "AB12cd");
    ASSERT_EQ(back.list.size(), 2u);
    EXPECT_EQ(back.list.row(0), (MeasRow{7, 1, 2, "AntVol", 3, 4, 5, 6}));
    EXPECT_EQ(back.list.row(1), (MeasRow{1.5, 1, 2, "S-Val", 3, 4, 5, 6}));
}

TEST(UserDataFile, ReaderKeepsFileOrderAndAnyTag) {
    const UserDataLoad back = ParseUserDataText(
        "L\r\nD\r\n28,85;1;2;x;3;4;5;6\r\n3,65;1;2;;3;4;5;6\r\n0,136;1;2; S ;3;4;5;6\r\n", ',');
    ASSERT_EQ(back.status, UserDataStatus::Ok);
    EXPECT_EQ(back.list.MeasFreqMHz(), (std::vector<double>{28.85, 3.65, 0.136}));
    EXPECT_EQ(back.list.MeasEntryUnit(), (std::vector<std::string>{"x", "", " S "}));
    MeasList sorted = back.list;
    SortMeasList(sorted);
    EXPECT_EQ(sorted.MeasFreqMHz(), (std::vector<double>{0.136, 3.65, 28.85}));
    EXPECT_EQ(UserDataFileText("L", "D", sorted, ','),
              "Locator: L\r\nDateTime: D\r\n0,136;1;2; S ;3;4;5;6\r\n3,65;1;2;;3;4;5;6\r\n"
              "28,85;1;2;x;3;4;5;6\r\n");
}

TEST(UserDataFile, FaultyFilesFailWithoutAHalfLoadedList) {
    const std::string head = "Locator: NoLoc.\r\nDateTime: NoDateTime\r\n";
    const std::string good = "7,1;20;2700;Field;-999;-999;-999;-999\r\n";
    const std::string bad[] = {
        "",                                                          // empty file: one empty line
        "Locator: NoLoc.",                                           // one line
        "Locator: NoLoc.\r\n",                                       // one line with its break
        head + "\r\n",                                               // empty third line
        head + good + "\r\n",                                        // empty line after a good row
        head + good + "7,1;20;2700;Field;-999;-999;-999\r\n",        // seven fields
        head + "7,1\r\n",                                            // one field
        head + good + "7,1;20;2700;Field;-999;x;-999;-999\r\n",      // not a number
        head + "7,1;20;2700;Field;-999;-999;-999;\r\n",              // empty number field
        head + "7,1;inf;2700;Field;-999;-999;-999;-999\r\n",         // no infinities
        head + good + "3.65;20;2700;Field;-999;-999;-999;-9,5.1\r\n",  // both separators
    };
    for (const std::string& text : bad) {
        const UserDataLoad r = ParseUserDataText(text, ',');
        EXPECT_EQ(r.status, UserDataStatus::ConversionError) << text;
        EXPECT_TRUE(r.list.empty()) << text;
        EXPECT_EQ(r.locator, "") << text;
    }
    // A file written under either separator loads under both, lines of both mixed too.
    for (const char sep : {',', '.'})
        EXPECT_EQ(ParseUserDataText(head + good + "3.65;20;2700;Field;-999;-999;-999;-9.5\r\n", sep)
                      .list.MeasAntPowerDbm(),
                  (std::vector<double>{-999, -9.5}));
    EXPECT_EQ(ParseUserDataText(head, ',').status, UserDataStatus::Ok);
    EXPECT_EQ(ParseUserDataText("a\r\nb", ',').status, UserDataStatus::Ok);
}

// A failed load names its line and field below the warning.
TEST(UserDataFile, AFailedLoadNamesTheLineAndField) {
    const std::string head = "L\r\nD\r\n1;2;3;t;4;5;6;7\r\n";
    for (const auto& [text, detail] :
         {std::pair<std::string, std::string>{"L", "Line 2 is missing."},
          {head + "1;2;3;t;4;5;x;7", "Line 4, field 7: no number"},
          {head + "1;2;3;t;4;5;6", "Line 4 ends before field 8."},
          {head + "1;2;3;t", "Line 4 ends before field 5."},
          {head + "1;2,5.5;3;t;4;5;6;7", "Line 4, field 2: no number"}}) {
        const std::vector<Message> shown = LoadFailureMessages(ParseUserDataText(text, ','), "f");
        ASSERT_EQ(shown.size(), 1u) << text;
        EXPECT_EQ(shown[0].text.rfind(std::string(LoadFailedMessage) + "\n" + detail, 0), 0u);
    }
}

// Files larger than the reader's piece size, with lines running across the pieces.
TEST(UserDataFile, LargeFilesLoadLikeTheirText) {
    TempDir dir;
    const std::string path = dir.file("large.txt");
    std::string crlf = "Locator: JO40CQ\r\nDateTime: now\r\n";
    for (int i = 0; i < 6000; ++i)
        crlf += std::to_string(i % 97) + ",5;" + std::to_string(i) + ";2700;AntVol;2,15;" +
                std::string(i % 13, '0') + "1;3;4\r\n";
    std::string lf;
    for (const char c : crlf)
        if (c != '\r') lf += c;
    lf.pop_back();  // no final line break
    for (const std::string& text : {crlf, lf}) {
        WriteAll(path, text);
        const UserDataLoad fromFile = LoadUserDataFile(path, ',');
        const UserDataLoad fromText = ParseUserDataText(text, ',');
        ASSERT_EQ(fromFile.status, UserDataStatus::Ok);
        ASSERT_EQ(fromText.status, UserDataStatus::Ok);
        EXPECT_EQ(fromFile.list.size(), 6000u);
        EXPECT_EQ(fromFile.list, fromText.list);
        EXPECT_EQ(fromFile.locator, "JO40CQ");
        EXPECT_EQ(fromFile.list.row(5999), (MeasRow{82.5, 5999, 2700, "AntVol", 2.15, 1, 3, 4}));
    }
    WriteAll(path, crlf + "1;2;3\r\n" + crlf);
    const UserDataLoad bad = LoadUserDataFile(path, ',');
    EXPECT_EQ(bad.status, UserDataStatus::ConversionError);
    EXPECT_TRUE(bad.list.empty());
    WriteAll(path, "");
    EXPECT_EQ(LoadUserDataFile(path, ',').status, UserDataStatus::ConversionError);
    WriteAll(path, "Locator: x\n");
    EXPECT_EQ(LoadUserDataFile(path, ',').status, UserDataStatus::ConversionError);
    WriteAll(path, "Locator: x\nDateTime: y\n");
    EXPECT_EQ(LoadUserDataFile(path, ',').status, UserDataStatus::Ok);
}

// Number fields are read in place from the line; they must take exactly the texts that
// the number parser takes on their own, in every number column, first or last.
TEST(UserDataFile, NumberFieldsTakeWhatTheNumberParserTakes) {
    // The last two are too long for the short path.
    // clang-format off
    const std::string fields[] = {
        "7", " 7", "7 ", "\t-7,25\t", "+7", "1,5E3", "2e-3", ",5", "5,", "", " ", "x", "7e",
        "7e+", "7,1,2", "1 2", "1e5,5", "7.1", "- 1", "inf", "7x",
        std::string(25, '0') + "1,25", std::string(24, '1')};
    // clang-format on
    const int numberColumns[] = {0, 1, 2, 4, 5, 6, 7};
    for (const std::string& field : fields) {
        std::optional<double> alone = ParseRealText(field, ',');
        if (!alone) alone = ParseRealText(field, '.');
        for (const int column : numberColumns) {
            std::string line;
            for (int k = 0; k < 8; ++k) {
                if (k > 0) line += ';';
                line += k == column ? field : k == 3 ? "tag" : "1";
            }
            const UserDataLoad r = ParseUserDataText("L\r\nD\r\n" + line + "\r\n", ',');
            ASSERT_EQ(r.status == UserDataStatus::Ok, alone.has_value())
                << '"' << field << "\" in column " << column;
            if (!alone) continue;
            const std::vector<double>* const columns[] = {
                &r.list.MeasFreqMHz(),     &r.list.MeasFieldDbuVm(),
                &r.list.MeasBandwidthHz(), nullptr,
                &r.list.MeasGainDbi(),     &r.list.MeasSUnits(),
                &r.list.MeasAntVoltDbuV(), &r.list.MeasAntPowerDbm()};
            EXPECT_EQ((*columns[column])[0], *alone) << field << " in column " << column;
            EXPECT_EQ(r.list.MeasEntryUnit()[0], "tag");
        }
    }
}

// The text given may be part of a larger buffer: nothing past its end is read, not even
// digits that would continue the last number.
TEST(UserDataFile, ReadsNothingPastTheEndOfTheText) {
    const std::string buffer = "L\nD\n1;2;3;t;4;5;6;12345678901234567890";
    for (std::size_t cut = 1; cut <= 12; ++cut) {
        const std::string_view text = std::string_view(buffer).substr(0, buffer.size() - 20 + cut);
        const UserDataLoad r = ParseUserDataText(text, ',');
        ASSERT_EQ(r.status, UserDataStatus::Ok) << cut;
        EXPECT_EQ(r.list.MeasAntPowerDbm()[0], std::stod(buffer.substr(buffer.size() - 20, cut)));
    }
}

// A file whose size is not known beforehand (here a pipe) still loads whole.
TEST(UserDataFile, LoadsAFileOfUnknownSize) {
    TempDir dir;
    const std::string path = dir.file("pipe");
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    std::string text = "Locator: JO40CQ\r\nDateTime: now\r\n";
    for (int i = 0; i < 3000; ++i)
        text += std::to_string(i) + ";20;2700;Field;-999;-999;-999;-999\r\n";
    std::thread writer([&] { WriteAll(path, text); });
    const UserDataLoad r = LoadUserDataFile(path, ',');
    writer.join();
    ASSERT_EQ(r.status, UserDataStatus::Ok);
    EXPECT_EQ(r.list, ParseUserDataText(text, ',').list);
    EXPECT_EQ(r.list.size(), 3000u);
}

TEST(UserDataFile, MissingOrUnreadableFile) {
    TempDir dir;
    const UserDataLoad missing = LoadUserDataFile(dir.file("nothing.txt"), ',');
    EXPECT_EQ(missing.status, UserDataStatus::FileMissing);
    EXPECT_TRUE(missing.list.empty());
    EXPECT_EQ(LoadUserDataFile(dir.file("no/such/folder.txt"), ',').status,
              UserDataStatus::FileMissing);
    EXPECT_EQ(LoadUserDataFile(dir.path().string(), ',').status, UserDataStatus::ConversionError);
    EXPECT_EQ(MissingFileText("/tmp/a.txt"),
              "Die Datei\r\n\r\n/tmp/a.txt\r\n\r\nkonnte nicht gefunden werden!");
}

TEST(UserDataFile, FailedSaveLeavesThePreviousFileAndReportsWhy) {
    TempDir dir;
    EXPECT_TRUE(SaveUserDataFile(dir.file("missing/x.txt"), "L", "D", ExampleList(), ','));
    EXPECT_FALSE(fs::exists(dir.file("missing")));

    // A folder standing where the file should go is not replaced.
    fs::create_directory(dir.file("folder"));
    WriteAll(dir.file("folder/inner.txt"), "keep");
    EXPECT_TRUE(SaveUserDataFile(dir.file("folder"), "L", "D", ExampleList(), ','));
    EXPECT_EQ(ReadAll(dir.file("folder/inner.txt")), "keep");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1)
        << "no temporary file left behind";
}

}  // namespace
}  // namespace fw
