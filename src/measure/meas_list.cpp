#include "measure/meas_list.h"

#include <numeric>
#include <utility>

#include "model/levels.h"

namespace fw {

MeasRow MeasList::row(std::size_t i) const {
    return MeasRow{freq_[i], field_[i],  bandwidth_[i], entryUnit_[i],
                   gain_[i], sUnits_[i], antVolt_[i],   antPower_[i]};
}

void MeasList::appendRow(MeasRow r) {
    freq_.push_back(r.freqMHz);
    field_.push_back(r.fieldDbuVm);
    bandwidth_.push_back(r.bandwidthHz);
    entryUnit_.push_back(std::move(r.entryUnit));
    gain_.push_back(r.gainDbi);
    sUnits_.push_back(r.sUnits);
    antVolt_.push_back(r.antVoltDbuV);
    antPower_.push_back(r.antPowerDbm);
}

bool MeasList::removeRow(std::size_t i) {
    if (i >= size()) return false;
    const auto at = static_cast<std::ptrdiff_t>(i);
    freq_.erase(freq_.begin() + at);
    field_.erase(field_.begin() + at);
    bandwidth_.erase(bandwidth_.begin() + at);
    entryUnit_.erase(entryUnit_.begin() + at);
    gain_.erase(gain_.begin() + at);
    sUnits_.erase(sUnits_.begin() + at);
    antVolt_.erase(antVolt_.begin() + at);
    antPower_.erase(antPower_.begin() + at);
    return true;
}

void MeasList::clear() {
    *this = MeasList();
}

void MeasList::reserve(std::size_t n) {
    freq_.reserve(n);
    field_.reserve(n);
    bandwidth_.reserve(n);
    entryUnit_.reserve(n);
    gain_.reserve(n);
    sUnits_.reserve(n);
    antVolt_.reserve(n);
    antPower_.reserve(n);
}

namespace {

template <typename T>
void Rearrange(std::vector<T>& column, const std::vector<std::size_t>& order) {
    std::vector<T> sorted;
    sorted.reserve(column.size());
    for (const std::size_t k : order) sorted.push_back(std::move(column[k]));
    column = std::move(sorted);
}

}  // namespace

void SortMeasList(MeasList& list) {
    const auto n = static_cast<std::ptrdiff_t>(list.size());
    if (n < 2) return;
    std::vector<double>& a = list.freq_;
    std::vector<std::size_t> index(list.size());
    std::iota(index.begin(), index.end(), std::size_t{0});

    // The recursive quicksort "sort L..J, then continue with I..R" run on an explicit stack
    // in the same order, so that no input can exhaust the call stack. A range pushed later
    // is finished, with all it pushes, before the ones beneath it.
    struct Range {
        std::ptrdiff_t left, right;
    };
    std::vector<Range> pending{{0, n - 1}};
    while (!pending.empty()) {
        const auto [left, right] = pending.back();
        pending.pop_back();
        std::ptrdiff_t i = left;
        std::ptrdiff_t j = right;
        std::ptrdiff_t p = (left + right) / 2;
        do {
            while (a[i] < a[p]) ++i;
            while (a[j] > a[p]) --j;
            if (i <= j) {
                std::swap(a[i], a[j]);
                std::swap(index[i], index[j]);
                if (p == i)
                    p = j;
                else if (p == j)
                    p = i;
                ++i;
                --j;
            }
        } while (i <= j);
        if (i < right) pending.push_back({i, right});
        if (left < j) pending.push_back({left, j});
    }

    Rearrange(list.field_, index);
    Rearrange(list.bandwidth_, index);
    Rearrange(list.entryUnit_, index);
    Rearrange(list.gain_, index);
    Rearrange(list.sUnits_, index);
    Rearrange(list.antVolt_, index);
    Rearrange(list.antPower_, index);
}

void AppendUserListLine(std::string& out, const MeasList& list, std::size_t i, char sep) {
    AppendLevel(out, 7, 3, true, list.MeasFreqMHz()[i], sep);
    AppendLevel(out, 7, 1, true, list.MeasFieldDbuVm()[i], sep);
    AppendLevel(out, 5, 0, true, list.MeasBandwidthHz()[i], sep);
    const std::string& tag = list.MeasEntryUnit()[i];
    if (tag.size() < 7) out.append(7 - tag.size(), ' ');
    out.append(tag);
    out.push_back('|');
    AppendLevel(out, 5, 2, true, list.MeasGainDbi()[i], sep);
    AppendLevel(out, 5, 2, true, list.MeasSUnits()[i], sep);
    AppendLevel(out, 5, 1, true, list.MeasAntVoltDbuV()[i], sep);
    AppendLevel(out, 6, 1, false, list.MeasAntPowerDbm()[i], sep);
}

std::vector<std::string> UserListLines(const MeasList& list, char sep) {
    std::vector<std::string> lines;
    lines.reserve(list.size() + 2);
    lines.emplace_back(UserListHeader1);
    lines.emplace_back(UserListHeader2);
    for (std::size_t i = 0; i < list.size(); ++i) {
        std::string line;
        line.reserve(64);
        AppendUserListLine(line, list, i, sep);
        lines.push_back(std::move(line));
    }
    return lines;
}

long RowOfListLine(long line, std::size_t rowCount) {
    if (line < 2 || static_cast<std::size_t>(line - 2) >= rowCount) return -1;
    return line - 2;
}

}  // namespace fw
