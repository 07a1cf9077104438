#include "campaign/campaign_data.h"

#include <algorithm>
#include <cstdio>

#include "libs/number_text.h"
#include "libs/median.h"
#include "stats/day_values.h"
#include "stationlog/log_queries.h"
#include "stationlog/log_receiver.h"
#include "stationlog/log_stats.h"
#include "stationlog/utc_text.h"

namespace fw {

namespace {

constexpr UtcSeconds Hour = 3600;
constexpr UtcSeconds Day = 86400;

// How a reading was taken, as far as the log says: the receiver set-up with its calibration,
// and the bandwidth.
std::string ReceiverWithBandwidth(const LogReading& r) {
    return ReceiverSetupText(ReceiverOf(r)) + ", " + GeneralText(r.bandwidthHz) + " Hz";
}

// A band's readings of the clock hour in hand, until the next hour (or another set of
// spans) begins.
struct BandState {
    BandSeries series;
    std::map<double, std::int64_t> bandwidths;
    UtcSeconds hour = -1;
    SpanMask spans = 0;
    std::vector<double> fa;

    void flush() {
        if (fa.empty()) return;
        series.hours.push_back({hour, static_cast<float>(Median(fa)), spans});
        fa.clear();
    }
};

void CountHoursAndDays(CampaignData& data, const BandSeries& series) {
    const std::size_t needed = MinHoursOfDay(data.hours);
    for (std::size_t s = 0; s < data.spans.size(); ++s) {
        const SpanMask bit = MaskOf(static_cast<CampaignSpan>(s));
        auto found = data.spans[s].bands.find(series.band);
        if (found == data.spans[s].bands.end()) continue;
        SpanBandFacts& facts = found->second;
        std::map<std::int64_t, std::size_t> perDay;
        for (const BandHour& v : series.hours) {
            if (!(v.spans & bit) || !data.hours.contains(UtcHourOfDay(v.hour))) continue;
            ++facts.hours;
            ++perDay[WindowDayOf(v.hour / Hour, data.hours)];
        }
        facts.days = static_cast<std::size_t>(std::count_if(
            perDay.begin(), perDay.end(), [&](const auto& d) { return d.second >= needed; }));
    }
}

void ReadGaps(StationLog& log, CampaignData& data, const std::vector<LogSpan>& spans) {
    std::map<LogBand, GapRun, LogBandOrder> open;
    ForEachGap(log, spans[0], [&](const LogGap& g) {
        const LogBand band{g.band, g.freqMHz};
        for (std::size_t s = 0; s < spans.size(); ++s) {
            if (!spans[s].contains(g.utc)) continue;
            SpanFacts& facts = data.spans[s];
            ++facts.gaps;
            SpanBandFacts& b = facts.bands[band];
            ++b.gaps;
            ++b.gapReasons[g.reason];
        }
        auto [run, made] = open.try_emplace(band, GapRun{g.utc, g.utc, band, g.reason, 0});
        if (!made && run->second.reason != g.reason) {
            data.gapRuns.push_back(run->second);
            run->second = GapRun{g.utc, g.utc, band, g.reason, 0};
        }
        run->second.last = g.utc;
        ++run->second.count;
    });
    for (auto& [band, run] : open) data.gapRuns.push_back(run);
    std::stable_sort(data.gapRuns.begin(), data.gapRuns.end(),
                     [](const GapRun& a, const GapRun& b) { return a.first < b.first; });
}

}  // namespace

CampaignData QueryCampaignData(StationLog& log, const LogSpan& whole, const LogSpan* before,
                               const LogSpan* after, const HourRange& hours) {
    CampaignData data;
    data.hours = hours;
    std::vector<LogSpan> spans = {whole};
    if (before && after) spans = {whole, *before, *after};
    for (const LogSpan& s : spans) {
        SpanFacts facts;
        facts.span = s;
        data.spans.push_back(std::move(facts));
    }

    const SqliteSnapshot snapshot(log.database());
    // The reading pass below meets sound readings only; the damaged ones are counted apart.
    for (SpanFacts& facts : data.spans) facts.damaged = DamagedReadingsIn(log, facts.span);
    std::map<LogBand, BandState, LogBandOrder> bands;
    ForEachReading(log, whole, [&](const LogReading& r) {
        SpanMask mask = 0;
        for (std::size_t s = 0; s < spans.size(); ++s)
            if (spans[s].contains(r.utc)) mask |= MaskOf(static_cast<CampaignSpan>(s));
        for (std::size_t s = 0; s < spans.size(); ++s) {
            if (!(mask & MaskOf(static_cast<CampaignSpan>(s)))) continue;
            SpanFacts& facts = data.spans[s];
            if (facts.readings == 0) facts.first = r.utc;
            facts.last = r.utc;
            ++facts.readings;
            ++facts.bands[BandOf(r)].readings;
            facts.receivers.insert(ReceiverWithBandwidth(r));
            if (!r.locator.empty()) facts.locators.insert(r.locator);
        }
        if (!r.locator.empty()) data.locator = r.locator;
        BandState& b = bands[BandOf(r)];
        const UtcSeconds hour = r.utc - ((r.utc % Hour) + Hour) % Hour;
        if (hour != b.hour || mask != b.spans) {
            b.flush();
            b.hour = hour;
            b.spans = mask;
        }
        b.fa.push_back(NoiseFactorDb(r.fieldDbuVm, r.freqMHz, r.bandwidthHz));
        ++b.bandwidths[r.bandwidthHz];
    });
    for (auto& [band, b] : bands) {
        b.flush();
        b.series.band = band;
        b.series.bandwidthHz =
            std::max_element(b.bandwidths.begin(), b.bandwidths.end(), [](const auto& x,
                                                                          const auto& y) {
                return x.second < y.second;
            })->first;
        CountHoursAndDays(data, b.series);
        data.bands.push_back(std::move(b.series));
    }
    ReadGaps(log, data, spans);
    return data;
}

}  // namespace fw
