#pragma once
// The measurement list: eight parallel columns, one element per measurement, that only
// change by whole rows so they always have the same length.
#include <cstddef>
#include <string>
#include <vector>

namespace fw {

// One measurement, fields in column order.
struct MeasRow {
    double freqMHz = 0;
    double fieldDbuVm = 0;
    double bandwidthHz = 0;
    std::string entryUnit;  // "S-Val", "AntVol", "AntPwr", "Field" (a file may bring any text)
    double gainDbi = 0;
    double sUnits = 0;
    double antVoltDbuV = 0;
    double antPowerDbm = 0;

    bool operator==(const MeasRow&) const = default;
};

class MeasList {
  public:
    const std::vector<double>& MeasFreqMHz() const { return freq_; }
    const std::vector<double>& MeasFieldDbuVm() const { return field_; }
    const std::vector<double>& MeasBandwidthHz() const { return bandwidth_; }
    const std::vector<std::string>& MeasEntryUnit() const { return entryUnit_; }
    const std::vector<double>& MeasGainDbi() const { return gain_; }
    const std::vector<double>& MeasSUnits() const { return sUnits_; }
    const std::vector<double>& MeasAntVoltDbuV() const { return antVolt_; }
    const std::vector<double>& MeasAntPowerDbm() const { return antPower_; }

    std::size_t size() const { return freq_.size(); }
    bool empty() const { return freq_.empty(); }
    MeasRow row(std::size_t i) const;  // i < size()

    void appendRow(MeasRow r);
    // Removes row i from all columns; an index out of range removes nothing and gives false.
    bool removeRow(std::size_t i);
    void clear();
    void reserve(std::size_t n);

    bool operator==(const MeasList&) const = default;

  private:
    friend void SortMeasList(MeasList& list);

    std::vector<double> freq_;
    std::vector<double> field_;
    std::vector<double> bandwidth_;
    std::vector<std::string> entryUnit_;
    std::vector<double> gain_;
    std::vector<double> sUnits_;
    std::vector<double> antVolt_;
    std::vector<double> antPower_;
};

// Sorts the rows by frequency, ascending, with the quicksort whose order of equal
// frequencies the list box, the data file and the report all show: the frequency column is
// sorted together with an index column, then the other columns follow the index column.
void SortMeasList(MeasList& list);

// The two header lines of the list box.
inline constexpr const char* UserListHeader1 =
    " Freq. | Field |  BW |EntUnit|Gain |SUnit|AntV | AntP ";
inline constexpr const char* UserListHeader2 =
    "   MHz |dBuV/m |  Hz |       | dBi |     |dBuV |  dBm ";

// One list-box line for a row, fixed-width fields through the level display rule.
void AppendUserListLine(std::string& out, const MeasList& list, std::size_t i, char sep);

// The list box's lines: the two header lines, then one line per row in list order.
std::vector<std::string> UserListLines(const MeasList& list, char sep);

// The row shown on list-box line `line` (the two header lines count), or -1 for a header
// line or a line past the end.
long RowOfListLine(long line, std::size_t rowCount);

}  // namespace fw
