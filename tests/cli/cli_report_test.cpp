// floorwatch-cli report: the print window's page written as a PDF or sent to a printer.
#include <cstdio>

#include "cli_run.h"
#include "pdf_text.h"

namespace fw::cli {
namespace {

using namespace test;

TEST(CliReport, WritesThePageWithTheDataFilesRowsAsPdf) {
    const std::string data = TempPath("report_data.txt");
    // Rows out of order: the report shows them sorted by frequency.
    WriteAll(data, "Locator: JO40HB\r\nDateTime: 2026-12-06 18:30\r\n" +
                       WithSeparator("7,1;20;2700;Field;-999;-999;-999;-999\r\n"
                                     "3,65;13,3;2700;S-Val;2,15;9;33,98;-73,01\r\n",
                                     ','));
    const std::string pdf = TempPath("cli_report.pdf");
    std::remove(pdf.c_str());
    const CliRun r = Cli({"report", "--data", data, "--size", "800x600", "--pdf", pdf});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, pdf + "\n");

    const std::string text = PdfText(pdf);
    const std::string row1 =
        WithSeparator("  3.650|   13.3| 2700|  S-Val| 2.15| 9.00| 34.0| -73.0");
    const std::string row2 = WithSeparator("  7.100|   20.0| 2700|  Field| --- | --- | --- |  ---");
    for (const std::string& expected :
         {std::string("Noise Report generated on "),
          std::string("Local man-made noise with respect to ITU-R P.372"),
          std::string("Noise Measurements"),
          std::string(" Freq. | Field |  BW |EntUnit|Gain |SUnit|AntV | AntP"), row1, row2,
          std::string("Printed with Floorwatch v 1.0 - (c) 2026 The Floorwatch authors")})
        EXPECT_NE(text.find(Squeezed(expected)), std::string::npos) << expected << "\n---\n"
                                                                    << text;
    EXPECT_LT(text.find(Squeezed(row1)), text.find(Squeezed(row2)));
    std::remove(pdf.c_str());
    std::remove(data.c_str());
}

// A long list continues on further pages, each numbered; the PDF holds them all.
TEST(CliReport, LongListGoesOnOverFurtherPages) {
    struct Case {
        int rows, pages;
    };
    for (const Case c : {Case{13, 1}, Case{14, 2}, Case{58, 2}, Case{59, 3}}) {
        SCOPED_TRACE(std::to_string(c.rows) + " rows");
        const std::string data = TempPath("report_pages.txt");
        std::string rows = "Locator: JO40HB\r\nDateTime: 2026-12-06 18:30\r\n";
        for (int i = 1; i <= c.rows; ++i)
            rows += std::to_string(i) + ",5;13,3;2700;S-Val;2,15;9;33,98;-73,01\r\n";
        WriteAll(data, WithSeparator(rows, ','));
        const std::string pdf = TempPath("cli_report_pages.pdf");
        std::remove(pdf.c_str());
        const CliRun r = Cli({"report", "--data", data, "--pdf", pdf});
        ASSERT_EQ(r.code, 0) << r.err;

        const std::string info = PdfInfo(pdf);
        EXPECT_NE(info.find("Pages:           " + std::to_string(c.pages) + "\n"),
                  std::string::npos)
            << info;
        EXPECT_NE(info.find("Title:           Noise Report\n"), std::string::npos) << info;
        const std::string text = PdfText(pdf);
        // Every row once, the last one on the last page.
        for (int i = 1; i <= c.rows; ++i) {
            const std::string freq = WithSeparator(" " + std::to_string(i) + ".500|");
            const auto at = text.find(freq);
            ASSERT_NE(at, std::string::npos) << freq;
            EXPECT_EQ(text.find(freq, at + 1), std::string::npos) << freq;
        }
        const std::string last =
            "Page " + std::to_string(c.pages) + " of " + std::to_string(c.pages);
        EXPECT_EQ(text.find(last) != std::string::npos, c.pages > 1) << text;
        std::remove(pdf.c_str());
        std::remove(data.c_str());
    }
}

TEST(CliReport, RefusalsAndUsageErrorsWriteNothing) {
    const std::string pdf = TempPath("cli_report_refused.pdf");
    std::remove(pdf.c_str());

    // Exactly one destination.
    EXPECT_EQ(Cli({"report"}).code, ExitUsage);
    EXPECT_EQ(Cli({"report", "--pdf", pdf, "--printer", "X"}).code, ExitUsage);
    EXPECT_EQ(Cli({"report", "--pdf", pdf, "--unknown"}).code, ExitUsage);

    const CliRun missing = Cli({"report", "--data", TempPath("no_such_file.txt"), "--pdf", pdf});
    EXPECT_EQ(missing.code, ExitRefused);
    EXPECT_NE(missing.err.find("File not found or converstion error!"), std::string::npos);
    EXPECT_FALSE(Exists(pdf));

    const CliRun noPrinter = Cli({"report", "--printer", "No Such Printer 4711"});
    EXPECT_EQ(noPrinter.code, ExitRefused);
    EXPECT_NE(noPrinter.err.find("No Such Printer 4711"), std::string::npos) << noPrinter.err;

    const CliRun badFolder = Cli({"report", "--pdf", TempPath("none/x/r.pdf")});
    EXPECT_EQ(badFolder.code, ExitRefused);
    EXPECT_NE(badFolder.err.find("none/x/r.pdf"), std::string::npos) << badFolder.err;
}

// A name that is not valid UTF-8 is written with exactly its bytes, as render and list do.
TEST(CliReport, KeepsTheBytesOfTheFileName) {
    const std::string pdf = TempPath("cli_report_p\xff\xfe.pdf");
    std::remove(pdf.c_str());
    const CliRun r = Cli({"report", "--pdf", pdf});
    ASSERT_EQ(r.code, ExitOk) << r.err;
    EXPECT_EQ(r.out, pdf + "\n");
    EXPECT_EQ(ReadAll(pdf).rfind("%PDF-", 0), 0u);
    std::remove(pdf.c_str());
}

}  // namespace
}  // namespace fw::cli
