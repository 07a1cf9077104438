#include "output/report_page.h"

#include <gtest/gtest.h>

#include "measure/meas_list.h"

namespace fw {
namespace {

constexpr const char* Header1 = " Freq. | Field |  BW |EntUnit|Gain |SUnit|AntV | AntP ";
constexpr const char* Header2 = "   MHz |dBuV/m |  Hz |       | dBi |     |dBuV |  dBm ";
constexpr double PictureWidthMm = 170.4975;

// Half a millimetre per character, so the footer's centring can be checked exactly.
double HalfMmPerChar(const PageFont&, std::string_view text) {
    return 0.5 * text.size();
}

NoiseReportTexts Texts() {
    return NoiseReportTexts{"06.12.26", "v 1.0", "(c) 2026 The Floorwatch authors", '.'};
}

MeasRow S9Row() {
    return {3.65, 13.298542065735, 2700, "S-Val", 2.15, 9, 33.9794, -73.0103};
}
MeasRow FieldRow(double freq) {
    return {freq, 30, 2700, "Field", -999, -999, -999, -999};
}

const PageTextItem& TextAt(const ReportPage& page, std::size_t i) {
    return std::get<PageTextItem>(page.items.at(i));
}

void ExpectText(const ReportPage& page, std::size_t i, const std::string& text, double x, double y,
                const PageFont& font) {
    SCOPED_TRACE(testing::Message() << "item " << i << " \"" << text << "\"");
    ASSERT_TRUE(std::holds_alternative<PageTextItem>(page.items.at(i)));
    const PageTextItem& t = TextAt(page, i);
    EXPECT_EQ(t.text, text);
    EXPECT_DOUBLE_EQ(t.xMm, x);
    EXPECT_DOUBLE_EQ(t.yMm, y);
    EXPECT_EQ(t.font, font);
}

void ExpectRule(const ReportPage& page, std::size_t i, double y) {
    SCOPED_TRACE(testing::Message() << "item " << i);
    ASSERT_TRUE(std::holds_alternative<PageLineItem>(page.items.at(i)));
    EXPECT_EQ(std::get<PageLineItem>(page.items.at(i)), (PageLineItem{20, y, 190, y}));
}

const PageFont Title{"Courier New", 12, false};
const PageFont Subtitle{"Courier New", 16, true};
const PageFont Heading{"Courier New", 13, true};
const PageFont Table{"Courier New", 13, false};
const PageFont Footer{"Arial", 8, false};

TEST(NoiseReport, EmptyListGivesEveryPartButTheDataLines) {
    const MeasList empty;
    const ReportDocument report = BuildNoiseReport(537, 497, empty, Texts(), HalfMmPerChar);
    ASSERT_EQ(report.pages.size(), 1u);
    const ReportPage& page = report.pages[0];
    EXPECT_DOUBLE_EQ(page.widthMm, 210);
    EXPECT_DOUBLE_EQ(page.heightMm, 297);
    ASSERT_EQ(page.items.size(), 9u);

    ExpectText(page, 0, "Noise Report generated on 06.12.26", 20, 14, Title);
    ExpectRule(page, 1, 20);
    ExpectText(page, 2, "Local man-made noise with respect to ITU-R P.372", 20, 30, Subtitle);
    ASSERT_TRUE(std::holds_alternative<PagePictureItem>(page.items[3]));
    const auto& pic = std::get<PagePictureItem>(page.items[3]);
    EXPECT_DOUBLE_EQ(pic.x1Mm, 20);
    EXPECT_DOUBLE_EQ(pic.y1Mm, 35);
    EXPECT_NEAR(pic.x2Mm, 20 + PictureWidthMm, 1e-9);
    EXPECT_NEAR(pic.y2Mm, 35 + PictureWidthMm * 497 / 537, 1e-9);
    ExpectText(page, 4, "Noise Measurements", 20, 190, Heading);
    ExpectText(page, 5, Header1, 20, 195, Table);
    ExpectText(page, 6, Header2, 20, 200, Table);
    ExpectRule(page, 7, 270);

    const std::string footer = "Printed with Floorwatch v 1.0 - (c) 2026 The Floorwatch authors";
    ExpectText(page, 8, footer, 105 - 0.25 * footer.size(), 272, Footer);
}

MeasList MixedRows(int n) {
    MeasList list;
    for (int i = 0; i < n; ++i) {
        MeasRow r = i % 2 == 0 ? S9Row() : FieldRow(0);
        r.freqMHz = 1 + i;
        list.appendRow(r);
    }
    return list;
}

std::string RowText(const MeasList& list, std::size_t i) {
    std::string line;
    AppendUserListLine(line, list, i, '.');
    return line;
}

TEST(NoiseReport, PageOneHoldsThirteenRowsEveryFurtherPageFortyFive) {
    struct Case {
        int rows;
        int pages;
    };
    for (const Case c : {Case{0, 1}, Case{1, 1}, Case{13, 1}, Case{14, 2}, Case{58, 2}, Case{59, 3},
                         Case{103, 3}, Case{104, 4}}) {
        SCOPED_TRACE(testing::Message() << c.rows << " rows");
        EXPECT_EQ(ReportPageCount(static_cast<std::size_t>(c.rows)), c.pages);
        const MeasList list = MixedRows(c.rows);
        const ReportDocument report = BuildNoiseReport(537, 497, list, Texts(), HalfMmPerChar);
        ASSERT_EQ(report.pages.size(), static_cast<std::size_t>(c.pages));

        // Every row exactly once and in order, above the footer rule, 5 mm apart from 205 mm
        // on page 1 and from 45 mm on further pages.
        std::size_t next = 0;
        for (std::size_t p = 0; p < report.pages.size(); ++p) {
            double y = p == 0 ? 205 : 45;
            for (const PageItem& item : report.pages[p].items) {
                const auto* t = std::get_if<PageTextItem>(&item);
                if (!t || t->font != Table || t->text == Header1 || t->text == Header2) continue;
                ASSERT_LT(next, list.size()) << "page " << p + 1;
                EXPECT_EQ(t->text, RowText(list, next)) << "page " << p + 1;
                EXPECT_DOUBLE_EQ(t->yMm, y) << "row " << next + 1;
                EXPECT_DOUBLE_EQ(t->xMm, 20) << "row " << next + 1;
                EXPECT_LE(t->yMm, 265) << "row " << next + 1;
                y += 5;
                ++next;
            }
        }
        EXPECT_EQ(next, list.size());
    }
}

TEST(NoiseReport, PageOneStaysAsItIsWhenTheTableGoesOn) {
    const ReportPage alone =
        BuildNoiseReport(537, 497, MixedRows(13), Texts(), HalfMmPerChar).pages[0];
    ASSERT_EQ(alone.items.size(), 9u + 13u);
    ExpectText(alone, 7, "  1.000|   13.3| 2700|  S-Val| 2.15| 9.00| 34.0| -73.0", 20, 205, Table);
    ExpectText(alone, 19, " 13.000|   13.3| 2700|  S-Val| 2.15| 9.00| 34.0| -73.0", 20, 265, Table);
    ExpectRule(alone, 20, 270);

    // With more rows page 1 has the same items and, last, its page number.
    for (const int rows : {14, 59}) {
        SCOPED_TRACE(testing::Message() << rows << " rows");
        const ReportDocument report =
            BuildNoiseReport(537, 497, MixedRows(rows), Texts(), HalfMmPerChar);
        const ReportPage& first = report.pages[0];
        ASSERT_EQ(first.items.size(), alone.items.size() + 1);
        EXPECT_TRUE(std::equal(alone.items.begin(), alone.items.end(), first.items.begin()));
        const std::string number = "Page 1 of " + std::to_string(report.pages.size());
        ExpectText(first, alone.items.size(), number, 190 - 0.5 * number.size(), 272, Footer);
    }
}

TEST(NoiseReport, FurtherPageHasTitleTableAndFooterWithItsNumber) {
    const MeasList list = MixedRows(59);
    const ReportDocument report = BuildNoiseReport(537, 497, list, Texts(), HalfMmPerChar);
    ASSERT_EQ(report.pages.size(), 3u);
    const std::string footer = "Printed with Floorwatch v 1.0 - (c) 2026 The Floorwatch authors";

    struct Case {
        std::size_t page;
        std::size_t firstRow, rows;
    };
    for (const Case c : {Case{1, 13, 45}, Case{2, 58, 1}}) {
        SCOPED_TRACE(testing::Message() << "page " << c.page + 1);
        const ReportPage& page = report.pages[c.page];
        EXPECT_DOUBLE_EQ(page.widthMm, 210);
        EXPECT_DOUBLE_EQ(page.heightMm, 297);
        ASSERT_EQ(page.items.size(), 5u + c.rows + 3u);
        ExpectText(page, 0, "Noise Report generated on 06.12.26", 20, 14, Title);
        ExpectRule(page, 1, 20);
        ExpectText(page, 2, "Noise Measurements", 20, 30, Heading);
        ExpectText(page, 3, Header1, 20, 35, Table);
        ExpectText(page, 4, Header2, 20, 40, Table);
        ExpectText(page, 5, RowText(list, c.firstRow), 20, 45, Table);
        ExpectText(page, 4 + c.rows, RowText(list, c.firstRow + c.rows - 1), 20, 40 + 5.0 * c.rows,
                   Table);
        ExpectRule(page, 5 + c.rows, 270);
        ExpectText(page, 6 + c.rows, footer, 105 - 0.25 * footer.size(), 272, Footer);
        const std::string number = "Page " + std::to_string(c.page + 1) + " of 3";
        ExpectText(page, 7 + c.rows, number, 190 - 0.5 * number.size(), 272, Footer);
        // No picture on a further page.
        for (const PageItem& item : page.items)
            EXPECT_FALSE(std::holds_alternative<PagePictureItem>(item));
    }
    EXPECT_EQ(ReportPageNumberText(12, 120), "Page 12 of 120");
}

TEST(NoiseReport, PictureIsAlwaysAsWideAndKeepsItsProportions) {
    const MeasList empty;
    struct Case {
        int w, h;
    };
    // A picture more than about 0.909 times as high as wide reaches below the heading.
    for (const Case c : {Case{537, 497}, Case{1600, 900}, Case{1, 1}, Case{100, 200}}) {
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
        const ReportPage page = BuildNoiseReport(c.w, c.h, empty, Texts(), HalfMmPerChar).pages[0];
        const auto& pic = std::get<PagePictureItem>(page.items.at(3));
        EXPECT_NEAR(pic.x2Mm - pic.x1Mm, PictureWidthMm, 1e-9);
        EXPECT_NEAR(pic.y2Mm - pic.y1Mm, PictureWidthMm * c.h / c.w, 1e-9);
        EXPECT_DOUBLE_EQ(TextAt(page, 4).yMm, 190);
    }
    // Without pixels there are no proportions: the picture is left out, the rest stays.
    for (const Case c : {Case{0, 497}, Case{537, 0}, Case{-5, 10}}) {
        const ReportPage page = BuildNoiseReport(c.w, c.h, empty, Texts(), HalfMmPerChar).pages[0];
        ASSERT_EQ(page.items.size(), 8u);
        for (const PageItem& item : page.items)
            EXPECT_FALSE(std::holds_alternative<PagePictureItem>(item));
        EXPECT_EQ(TextAt(page, 3).text, "Noise Measurements");
    }
}

TEST(NoiseReport, FooterIsCentredOnItsMeasuredWidth) {
    const MeasList empty;
    PageFont asked;
    std::string measured;
    const ReportPage page =
        BuildNoiseReport(537, 497, empty, Texts(), [&](const PageFont& f, std::string_view t) {
            asked = f;
            measured = std::string(t);
            return 80.0;
        }).pages[0];
    EXPECT_EQ(asked, Footer);
    EXPECT_EQ(measured, "Printed with Floorwatch v 1.0 - (c) 2026 The Floorwatch authors");
    EXPECT_DOUBLE_EQ(TextAt(page, 8).xMm, 65);

    NoiseReportTexts other = Texts();
    other.versionText = "v 2.5";
    EXPECT_EQ(ReportFooterText(other),
              "Printed with Floorwatch v 2.5 - (c) 2026 The Floorwatch authors");
}

}  // namespace
}  // namespace fw
