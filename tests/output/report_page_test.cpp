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
    const ReportPage page = BuildNoiseReport(537, 497, empty, Texts(), HalfMmPerChar);
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

TEST(NoiseReport, TwentyRowsRunDownThePageEveryFiveMillimetres) {
    MeasList list;
    for (int i = 0; i < 20; ++i) {
        if (i % 2 == 0) {
            MeasRow r = S9Row();
            r.freqMHz = 1 + i;
            list.appendRow(r);
        } else {
            list.appendRow(FieldRow(1 + i));
        }
    }
    const ReportPage page = BuildNoiseReport(537, 497, list, Texts(), HalfMmPerChar);
    ASSERT_EQ(page.items.size(), 29u);
    ExpectText(page, 6, Header2, 20, 200, Table);
    for (std::size_t i = 0; i < 20; ++i) {
        const PageTextItem& row = TextAt(page, 7 + i);
        EXPECT_DOUBLE_EQ(row.yMm, 205 + 5.0 * i) << i;
        EXPECT_DOUBLE_EQ(row.xMm, 20) << i;
        EXPECT_EQ(row.font, Table) << i;
        EXPECT_EQ(row.text.size(), 54u) << row.text;
    }
    // Line 14 lies on the footer rule, line 20 wholly below the sheet: nothing is dropped.
    EXPECT_DOUBLE_EQ(TextAt(page, 7 + 13).yMm, 270);
    EXPECT_DOUBLE_EQ(TextAt(page, 7 + 19).yMm, 300);
    ExpectText(page, 7, "  1.000|   13.3| 2700|  S-Val| 2.15| 9.00| 34.0| -73.0", 20, 205, Table);
    ExpectText(page, 8, "  2.000|   30.0| 2700|  Field| --- | --- | --- |  --- ", 20, 210, Table);
    ExpectText(page, 26, " 20.000|   30.0| 2700|  Field| --- | --- | --- |  --- ", 20, 300, Table);
    // The footer comes last, drawn over any row that reaches it.
    ExpectRule(page, 27, 270);
    EXPECT_DOUBLE_EQ(TextAt(page, 28).yMm, 272);
}

TEST(NoiseReport, PictureIsAlwaysAsWideAndKeepsItsProportions) {
    const MeasList empty;
    struct Case {
        int w, h;
    };
    // A picture more than about 0.909 times as high as wide reaches below the heading.
    for (const Case c : {Case{537, 497}, Case{1600, 900}, Case{1, 1}, Case{100, 200}}) {
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
        const ReportPage page = BuildNoiseReport(c.w, c.h, empty, Texts(), HalfMmPerChar);
        const auto& pic = std::get<PagePictureItem>(page.items.at(3));
        EXPECT_NEAR(pic.x2Mm - pic.x1Mm, PictureWidthMm, 1e-9);
        EXPECT_NEAR(pic.y2Mm - pic.y1Mm, PictureWidthMm * c.h / c.w, 1e-9);
        EXPECT_DOUBLE_EQ(TextAt(page, 4).yMm, 190);
    }
    // Without pixels there are no proportions: the picture is left out, the rest stays.
    for (const Case c : {Case{0, 497}, Case{537, 0}, Case{-5, 10}}) {
        const ReportPage page = BuildNoiseReport(c.w, c.h, empty, Texts(), HalfMmPerChar);
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
        });
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
