#include "measure/meas_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "libs/fw_math.h"
#include "model/levels.h"

namespace fw {
namespace {

MeasRow Row(double freq, std::string tag, double field = 0) {
    return MeasRow{freq, field, 2700, std::move(tag), 1, 2, 3, 4};
}

MeasList ListOf(const std::vector<double>& freqs, const std::string& tags) {
    MeasList list;
    for (std::size_t i = 0; i < freqs.size(); ++i) list.appendRow(Row(freqs[i], {tags[i]}));
    return list;
}

std::string Tags(const MeasList& list) {
    std::string tags;
    for (const std::string& t : list.MeasEntryUnit()) tags += t;
    return tags;
}

void ExpectColumnsEqual(const MeasList& list) {
    const std::size_t n = list.size();
    EXPECT_EQ(list.MeasFreqMHz().size(), n);
    EXPECT_EQ(list.MeasFieldDbuVm().size(), n);
    EXPECT_EQ(list.MeasBandwidthHz().size(), n);
    EXPECT_EQ(list.MeasEntryUnit().size(), n);
    EXPECT_EQ(list.MeasGainDbi().size(), n);
    EXPECT_EQ(list.MeasSUnits().size(), n);
    EXPECT_EQ(list.MeasAntVoltDbuV().size(), n);
    EXPECT_EQ(list.MeasAntPowerDbm().size(), n);
}

TEST(MeasList, RowOperationsKeepTheColumnsTogether) {
    MeasList list;
    EXPECT_TRUE(list.empty());
    const MeasRow a{3.65, 13.3, 2700, "S-Val", 2.15, 9, 33.98, -73.01};
    const MeasRow b{7.1, 20, 6000, "Field", -999, -999, -999, -999};
    const MeasRow c{14.175, -5, 2700, "AntPwr", 0, 4, 3.99, -103};
    list.appendRow(a);
    list.appendRow(b);
    list.appendRow(c);
    ExpectColumnsEqual(list);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list.row(0), a);
    EXPECT_EQ(list.row(1), b);
    EXPECT_EQ(list.row(2), c);

    EXPECT_TRUE(list.removeRow(1));
    ExpectColumnsEqual(list);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list.row(0), a);
    EXPECT_EQ(list.row(1), c);

    EXPECT_FALSE(list.removeRow(2));  // past the end: nothing removed
    EXPECT_EQ(list.size(), 2u);

    list.clear();
    ExpectColumnsEqual(list);
    EXPECT_TRUE(list.empty());
}

TEST(MeasList, ListLinesMapToRows) {
    EXPECT_EQ(RowOfListLine(-1, 3), -1);  // no selection
    EXPECT_EQ(RowOfListLine(0, 3), -1);   // header lines
    EXPECT_EQ(RowOfListLine(1, 3), -1);
    EXPECT_EQ(RowOfListLine(2, 3), 0);
    EXPECT_EQ(RowOfListLine(4, 3), 2);
    EXPECT_EQ(RowOfListLine(5, 3), -1);
    EXPECT_EQ(RowOfListLine(2, 0), -1);
}

// Orders worked through the quicksort by hand; equal frequencies do not keep input order.
TEST(SortMeasList, EqualFrequenciesComeInTheQuicksortsOrder) {
    struct Case {
        std::vector<double> freqs;
        std::string tags;
        std::string sorted;
    };
    const Case cases[] = {
        {{5, 5}, "ab", "ba"},
        {{5, 5, 5}, "abc", "cba"},
        {{3, 1, 3, 2}, "abcd", "bdca"},
        {{2, 1, 2, 1, 2}, "abcde", "dbeac"},
        {{7, 7, 7, 7}, "abcd", "cdab"},
        {{1, 2, 3, 3, 3}, "abcde", "abedc"},
        {{9}, "a", "a"},
    };
    for (const Case& c : cases) {
        MeasList list = ListOf(c.freqs, c.tags);
        SortMeasList(list);
        EXPECT_EQ(Tags(list), c.sorted) << c.tags;
    }
    MeasList empty;
    SortMeasList(empty);
    EXPECT_TRUE(empty.empty());
}

TEST(SortMeasList, RowsStayWholeAndAscending) {
    MeasList list;
    const std::vector<double> freqs = {28.85, 0.136, 7.1, 145, 3.65, 7.1, 1.905, 51, 0.475};
    for (std::size_t i = 0; i < freqs.size(); ++i)
        list.appendRow(MeasRow{freqs[i], freqs[i] * 2, freqs[i] * 3, std::to_string(freqs[i]),
                               freqs[i] * 5, freqs[i] * 6, freqs[i] * 7, freqs[i] * 8});
    SortMeasList(list);
    ExpectColumnsEqual(list);
    for (std::size_t i = 0; i < list.size(); ++i) {
        const MeasRow r = list.row(i);
        if (i > 0) {
            EXPECT_LE(list.MeasFreqMHz()[i - 1], r.freqMHz);
        }
        EXPECT_EQ(r.fieldDbuVm, r.freqMHz * 2);
        EXPECT_EQ(r.bandwidthHz, r.freqMHz * 3);
        EXPECT_EQ(r.entryUnit, std::to_string(r.freqMHz));
        EXPECT_EQ(r.gainDbi, r.freqMHz * 5);
        EXPECT_EQ(r.sUnits, r.freqMHz * 6);
        EXPECT_EQ(r.antVoltDbuV, r.freqMHz * 7);
        EXPECT_EQ(r.antPowerDbm, r.freqMHz * 8);
    }
}

TEST(SortMeasList, LargeListsOfEqualAndDescendingFrequencies) {
    MeasList list;
    for (int i = 0; i < 50000; ++i) list.appendRow(Row(i % 2 ? 7.0 : 50000.0 - i, "x"));
    SortMeasList(list);
    ExpectColumnsEqual(list);
    for (std::size_t i = 1; i < list.size(); ++i)
        ASSERT_LE(list.MeasFreqMHz()[i - 1], list.MeasFreqMHz()[i]) << i;
}

MeasRow SValueRow(double freq, double bandwidth) {
    const MeasurementLevels m = LevelsFromSValue(SValueFromText("S9"), freq, 2.15);
    return MeasRow{freq,      m.FieldDbuVm, bandwidth,     "S-Val",
                   m.GainDbi, m.SUnits,     m.AntVoltDbuV, m.AntPowerDbm};
}

MeasRow FieldRow(double freq, double field, double bandwidth) {
    const MeasurementLevels m = LevelsFromFieldStrength(field);
    return MeasRow{freq,      m.FieldDbuVm, bandwidth,     "Field",
                   m.GainDbi, m.SUnits,     m.AntVoltDbuV, m.AntPowerDbm};
}

TEST(UserListLines, HeaderAndRowsByteForByte) {
    MeasList list;
    EXPECT_EQ(UserListLines(list, '.'),
              (std::vector<std::string>{" Freq. | Field |  BW |EntUnit|Gain |SUnit|AntV | AntP ",
                                        "   MHz |dBuV/m |  Hz |       | dBi |     |dBuV |  dBm "}));

    list.appendRow(SValueRow(3.65, 2700));
    list.appendRow(FieldRow(7.1, 20, 2700));
    const auto point = UserListLines(list, '.');
    ASSERT_EQ(point.size(), 4u);
    EXPECT_EQ(point[0].size(), 54u);
    EXPECT_EQ(point[1].size(), 54u);
    EXPECT_EQ(point[2], "  3.650|   13.3| 2700|  S-Val| 2.15| 9.00| 34.0| -73.0");
    EXPECT_EQ(point[3], "  7.100|   20.0| 2700|  Field| --- | --- | --- |  --- ");

    const auto comma = UserListLines(list, ',');
    EXPECT_EQ(comma[2], "  3,650|   13,3| 2700|  S-Val| 2,15| 9,00| 34,0| -73,0");
    EXPECT_EQ(comma[3], "  7,100|   20,0| 2700|  Field| --- | --- | --- |  --- ");
}

TEST(UserListLines, WideValuesAndLongTagsShiftTheLineInsteadOfBeingCut) {
    MeasList list;
    list.appendRow(MeasRow{1234.5, -100.26, 123456, "LongerTag", -12.5, 123.456, 0, -1000});
    EXPECT_EQ(UserListLines(list, '.')[2],
              "1234.500| -100.3|123456|LongerTag|-12.50|123.46|  0.0|  --- ");
}

}  // namespace
}  // namespace fw
