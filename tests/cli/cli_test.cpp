#include <png.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "cli_run.h"
#include "diagram/render.h"
#include "libs/regional.h"
#include "measure/entry.h"
#include "model/noise_model.h"

namespace fw::cli {
namespace {

using namespace test;

// Reads an 8-bit RGB PNG into a picture.
DiagramPicture ReadPng(const std::string& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    DiagramPicture p;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return p;
    image.format = PNG_FORMAT_RGB;
    p.width = static_cast<int>(image.width);
    p.height = static_cast<int>(image.height);
    p.rgb.resize(PNG_IMAGE_SIZE(image));
    png_image_finish_read(&image, nullptr, p.rgb.data(), 0, nullptr);
    return p;
}

// Runs "command args... --output/--append path" for each case; each must be refused with
// its message on standard error and leave no file.
void ExpectRefusals(const std::string& command, const std::string& fileOption,
                    const std::vector<std::pair<std::vector<std::string>, std::string>>& cases) {
    const std::string path = TempPath("fw_cli_refused_" + command + ".png");
    std::remove(path.c_str());
    for (const auto& [extra, message] : cases) {
        std::vector<std::string> args{command};
        args.insert(args.end(), extra.begin(), extra.end());
        args.insert(args.end(), {fileOption, path});
        const CliRun r = Cli(args);
        EXPECT_EQ(r.code, ExitRefused) << extra[0];
        if (!message.empty()) {
            EXPECT_EQ(r.err, message + "\n");
        }
        EXPECT_TRUE(r.out.empty());
        EXPECT_FALSE(Exists(path)) << extra[0];
    }
}

// A data file in the machine's own decimal separator, rows in descending order.
std::string SampleData() {
    return "Locator: JO40CQXX\r\nDateTime: 2026-12-06 08:05:59\r\n" +
           WithSeparator(
               "7,1;20;2700;Field;-999;-999;-999;-999\r\n"
               "3,65;13,298542065735;2700;S-Val;2,15;9;33,9794000867204;"
               "-73,0102999566398\r\n",
               ',');
}

TEST(CliCurves, PrintsHeaderAndTwelveHundredExactRowsForTheParsedBandwidth) {
    const CliRun r = Cli({"curves", "--bandwidth", "$A8C"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, Cli({"curves"}).out);  // 2700 is the default
    std::istringstream in(r.out);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line,
              "freq_hz,city_fa,city_e,residential_fa,residential_e,rural_fa,rural_e,"
              "quiet_rural_fa,quiet_rural_e,galactic_fa,galactic_e");
    const ReferenceCurves rc = computeReferenceCurves(2700);
    int rows = 0;
    for (; std::getline(in, line); ++rows) {
        std::istringstream cells(line);
        std::string cell;
        std::vector<double> v;
        while (std::getline(cells, cell, ',')) v.push_back(std::stod(cell));
        ASSERT_EQ(v.size(), 11u);
        // 17 significant digits give the very same doubles back.
        ASSERT_EQ(v[0], rc.freqGrid[rows]);
        ASSERT_EQ(v[1], rc.refFa[0][rows]);
        ASSERT_EQ(v[10], rc.refField[4][rows]);
    }
    EXPECT_EQ(rows, 1200);
    const CliRun bad = Cli({"curves", "--bandwidth", "2,7"});
    EXPECT_EQ(bad.code, ExitRefused);
    EXPECT_EQ(bad.err, "Bandwidth must be an integer number!\n");
    EXPECT_TRUE(bad.out.empty());
}

TEST(CliRender, WritesTheDiagramTheRendererDraws) {
    const std::string path = TempPath("fw_cli_default.png");
    std::remove(path.c_str());
    const CliRun r = Cli({"render", "--output", path});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, path + "\n");
    const ReferenceCurves rc = computeReferenceCurves(2700);
    DiagramInputs in;
    in.curves = &rc;
    const DiagramPicture png = ReadPng(path);
    EXPECT_EQ(png.width, 537);
    EXPECT_EQ(png.height, 497);
    EXPECT_EQ(png.rgb, renderDiagram(in).rgb);

    const std::string bmp = TempPath("fw_cli_opts.bmp");
    const CliRun opts = Cli({"render", "--bandwidth", "10000", "--ypos", "-100", "--ywidth", "200",
                             "--size", "800x600", "--no-correction", "--locator", "JO40CQ",
                             "--datetime", "2026-12-06 08:05", "--output", bmp});
    ASSERT_EQ(opts.code, 0) << opts.err;
    const std::string header = ReadAll(bmp).substr(0, 26);
    ASSERT_EQ(header.size(), 26u);
    int32_t w, h;
    std::memcpy(&w, header.data() + 18, 4);
    std::memcpy(&h, header.data() + 22, 4);
    EXPECT_EQ(w, 800);
    EXPECT_EQ(std::abs(h), 600);
}

TEST(CliRender, RefusalsWriteNothingAndExitOne) {
    const std::string bandwidth = "Bandwidth must be an integer number!";
    ExpectRefusals("render", "--output",
                   {{{"--bandwidth", "2700a"}, bandwidth},
                    {{"--bandwidth", ""}, bandwidth},
                    {{"--bandwidth", "6000 "}, bandwidth},
                    {{"--ypos", "81"}, "--ypos must lie between -100 and 80!"},
                    {{"--ypos", "-101"}, "--ypos must lie between -100 and 80!"},
                    {{"--ywidth", "9"}, "--ywidth must lie between 10 and 200!"},
                    {{"--ywidth", "201"}, "--ywidth must lie between 10 and 200!"},
                    {{"--size", "0x10"}, ""},
                    {{"--size", "abc"}, ""}});
    const CliRun gif = Cli({"render", "--output", TempPath("x.gif")});
    EXPECT_EQ(gif.code, ExitRefused);
    EXPECT_EQ(gif.err, "..gif-Files are not allowed.\n");
    const std::string missing = TempPath("no/such/folder/x.png");
    const CliRun folder = Cli({"render", "--output", missing});
    EXPECT_EQ(folder.code, ExitRefused);
    EXPECT_EQ(folder.err,
              "Datei \"" + missing + "\" kann nicht erstellt werden. " +
                  std::string(std::strerror(ENOENT)) + "\n");
}

TEST(CliUsage, UsageErrorsExitTwoAndHelpDocumentsEveryOption) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{},
                                                 {"paint"},
                                                 {"render"},
                                                 {"render", "--output"},
                                                 {"render", "--frobnicate", "--output", "x.png"},
                                                 {"list"},
                                                 {"enter", "--method", "dBm"},
                                                 {"enter", "--locator", "JO40CQ"}})
        EXPECT_EQ(Cli(args).code, ExitUsage) << (args.empty() ? "" : args.back());
    const CliRun help = Cli({"--help"});
    EXPECT_EQ(help.code, 0);
    for (const char* option : {"--bandwidth", "--ypos", "--ywidth", "--size", "--no-correction",
                               "--locator", "--datetime", "--output", "curves", "render"})
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
}

TEST(CliList, PrintsTheSortedListBoxLinesAndSavesTheFile) {
    const std::string in = TempPath("fw_cli_list.txt"), out = TempPath("fw_cli_list_out.txt");
    WriteAll(in, SampleData());
    const CliRun r = Cli({"list", in, "--save", out});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, WithSeparator(" Freq. | Field |  BW |EntUnit|Gain |SUnit|AntV | AntP \n"
                                   "   MHz |dBuV/m |  Hz |       | dBi |     |dBuV |  dBm \n"
                                   "  3.650|   13.3| 2700|  S-Val| 2.15| 9.00| 34.0| -73.0\n"
                                   "  7.100|   20.0| 2700|  Field| --- | --- | --- |  --- \n"));
    // Saved sorted, with the locator and time cut as a load cuts them.
    const std::string saved = ReadAll(out);
    EXPECT_EQ(saved.substr(0, 46), "Locator: JO40CQ\r\nDateTime: 2026-12-06 08:05\r\n3");
    EXPECT_NE(saved.find("\r\n7"), std::string::npos);
}

TEST(CliList, LoadFailuresPrintTheWarningAndExitOne) {
    const CliRun r = Cli({"list", TempPath("fw_no_such_file.txt")});
    EXPECT_EQ(r.code, ExitRefused);
    EXPECT_NE(r.err.find("konnte nicht gefunden werden!"), std::string::npos);
    EXPECT_NE(r.err.find("File not found or converstion error!"), std::string::npos);
    EXPECT_TRUE(r.out.empty());

    const std::string bad = TempPath("fw_cli_bad.txt"), out = TempPath("fw_cli_bad_out.txt");
    std::remove(out.c_str());
    WriteAll(bad, "Locator: X\r\nDateTime: Y\r\n1;2;3\r\n");
    const CliRun b = Cli({"list", bad, "--save", out});
    EXPECT_EQ(b.code, ExitRefused);
    EXPECT_EQ(b.err, "File not found or converstion error!\nLine 3 ends before field 4.\n");
    EXPECT_FALSE(Exists(out));
}

TEST(CliRender, DataFileRowsBecomeDotsAndItsTextsTheLocatorLine) {
    const std::string data = TempPath("fw_cli_render_data.txt");
    WriteAll(data, SampleData());
    const std::string withData = TempPath("fw_cli_with.png"), plain = TempPath("fw_cli_plain.png"),
                      same = TempPath("fw_cli_same.png");
    ASSERT_EQ(Cli({"render", "--data", data, "--output", withData}).code, 0);
    ASSERT_EQ(Cli({"render", "--output", plain}).code, 0);
    ASSERT_EQ(
        Cli({"render", "--locator", "JO40CQ", "--datetime", "2026-12-06 08:05", "--output", same})
            .code,
        0);
    const DiagramPicture a = ReadPng(withData), b = ReadPng(plain), c = ReadPng(same);
    ASSERT_EQ(a.rgb.size(), c.rgb.size());
    // The 13.3 dB(uV/m) measurement at 3.65 MHz: x 248, y 435 - round(373/60*53.3) = 104.
    EXPECT_EQ(a.pixel(248, 104), RgbHex(0x000000));
    EXPECT_NE(c.pixel(248, 104), RgbHex(0x000000));
    // Apart from the dots the picture equals one with the file's locator and time given.
    std::size_t differing = 0;
    for (std::size_t i = 0; i < a.rgb.size(); ++i) differing += a.rgb[i] != c.rgb[i];
    EXPECT_GT(differing, 0u);
    EXPECT_LT(differing, 400u);
    EXPECT_NE(a.rgb, b.rgb);
}

TEST(CliEnter, DefaultEntryAndOptionsStandingForTheControls) {
    const CliRun r = Cli({"enter"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, WithSeparator("fMHz.....: 3.6500\n"
                                   "Lambda...: 82.2\n"
                                   "U[uV]....: 50.0\n"
                                   "U[dBuV]..: 34.0\n"
                                   "P[dBm]...: -73.0\n"
                                   "E[dBuVm].: 13.3\n"
                                   "  3.650|   13.3| 2700|  S-Val| 2.15| 9.00| 34.0| -73.0\n"));
    const CliRun field = Cli({"enter", "--method", "Field", "--field", "20", "--freq",
                              WithSeparator("7.1"), "--bandwidth", "6000"});
    ASSERT_EQ(field.code, 0) << field.err;
    EXPECT_NE(
        field.out.find(WithSeparator("  7.100|   20.0| 6000|  Field| --- | --- | --- |  --- \n")),
        std::string::npos)
        << field.out;
    const CliRun power = Cli({"enter", "--method", "AntPwr", "--power", "-103", "--band", "20m"});
    ASSERT_EQ(power.code, 0) << power.err;
    EXPECT_NE(power.out.find(WithSeparator(" 14.175|")), std::string::npos);
    EXPECT_NE(power.out.find(WithSeparator("|-103.0")), std::string::npos);
}

TEST(CliEnter, RefusedEntriesPrintTheWarningAndChangeNoFile) {
    // The warnings name the separator in use ("Use Point" under a point).
    const auto warning = [](const char* text) {
        return WithSeparatorName(text, SystemDecimalSeparator());
    };
    ExpectRefusals(
        "enter", "--append",
        {{{"--gain", "abc"},
          warning("Gain must be a real number! Use Komma as decimal separator!")},
         {{"--method", "AntVol"},
          warning("Antenna Voltage must be a real number! Use Komma as decimal separator!")},
         {{"--freq", "x"},
          warning("Frequency must be a real number! Use Komma as decimal separator!")},
         {{"--freq", "0"}, WithSeparator("The frequency must lie between 0.01 and 300 MHz, not 0")},
         {{"--freq", "400"}, WithSeparator("The frequency must lie between 0.01 and 300 MHz, not 400")},
         {{"--gain", "1e9"}, "The gain must lie between -60 and 60 dBi, not 1e9"},
         {{"--bandwidth", "0"}, "The bandwidth must lie between 1 and 2147483647 Hz, not 0"},
         {{"--method", "AntVol", "--voltage", "1e9"},
          "Antenna voltage 1e9 dBuV lies outside -100 ... 200 dBuV: no receiver sees such a level!"},
         {{"--bandwidth", "2,7"}, "Bandwidth must be an integer number!"},
         {{"--band", "40M"}, UnknownBandText("40M")},
         {{"--svalue", "s9"}, UnknownSValueText("s9")},
         {{"--method", "AntVol", "--voltage", "-10000"},
          "Antenna voltage -10000 dBuV lies outside -100 ... 200 dBuV: no receiver sees such a "
          "level!"}});
    // A file that does not load is not overwritten.
    const std::string file = TempPath("fw_cli_enter_bad.txt");
    WriteAll(file, "Locator: X\r\nDateTime: Y\r\nnot;a;row\r\n");
    const CliRun r = Cli({"enter", "--append", file});
    EXPECT_EQ(r.code, ExitRefused);
    EXPECT_EQ(r.err, "File not found or converstion error!\nLine 3, field 1: no number (with a "
                     "point or a comma as decimal separator).\n");
    EXPECT_EQ(ReadAll(file), "Locator: X\r\nDateTime: Y\r\nnot;a;row\r\n");
    // A path the system cannot even look up is refused with a message, not a crash.
    const CliRun tooLong = Cli({"enter", "--append", TempPath(std::string(300, 'a') + "/x.txt")});
    EXPECT_EQ(tooLong.code, ExitRefused);
    EXPECT_EQ(tooLong.err, "File not found or converstion error!\n");
}

// Numbers on the command line take a point or a comma under any locale; a data file with
// either separator loads, and what is written keeps the regional one.
TEST(CliEnter, NumbersTakeAPointOrACommaUnderEveryLocale) {
    const CliRun point = Cli({"enter", "--freq", "7.1", "--gain", "2.15"});
    ASSERT_EQ(point.code, 0) << point.err;
    EXPECT_EQ(Cli({"enter", "--freq", "7,1", "--gain", "2,15"}).out, point.out);
    EXPECT_NE(point.out.find(WithSeparator("  7.100|")), std::string::npos);
    const std::string file = TempPath("fw_cli_either_separator.txt");
    for (const char* freq : {"7.1", "7,1"}) {
        WriteAll(file, "Locator: X\r\nDateTime: Y\r\n" + std::string(freq) + ";20;2700;F;0;0;0;0\r\n");
        ASSERT_EQ(Cli({"enter", "--append", file}).code, 0) << freq;
        EXPECT_NE(ReadAll(file).find(WithSeparator("\r\n7.1;20;")), std::string::npos) << freq;
    }
}

TEST(CliEnter, AppendBuildsAFileThatLoadsBack) {
    const std::string file = TempPath("fw_cli_enter_append.txt");
    std::remove(file.c_str());
    ASSERT_EQ(Cli({"enter", "--band", "40m", "--append", file, "--locator", "JO40CQ"}).code, 0);
    ASSERT_EQ(Cli({"enter", "--append", file, "--datetime", "2026-12-06 08:05"}).code, 0);
    const std::string text = ReadAll(file);
    EXPECT_EQ(text.substr(0, 45), "Locator: JO40CQ\r\nDateTime: 2026-12-06 08:05\r\n");
    // Rows sorted by frequency: 80 m (3.65 MHz) before 40 m (7.1 MHz).
    EXPECT_LT(text.find(WithSeparator("\r\n3.65;")), text.find(WithSeparator("\r\n7.1;")));
    const CliRun list = Cli({"list", file});
    ASSERT_EQ(list.code, 0) << list.err;
    EXPECT_EQ(std::count(list.out.begin(), list.out.end(), '\n'), 4);
}

}  // namespace
}  // namespace fw::cli
