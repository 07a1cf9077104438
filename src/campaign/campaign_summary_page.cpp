#include <cmath>
#include <cstdio>

#include "libs/number_text.h"
#include "campaign/campaign_pages.h"
#include "campaign/campaign_report.h"
#include "stationlog/utc_text.h"
#include "stats/day_values.h"

namespace fw {

namespace {

std::string Fixed1(double v) {
    return std::isnan(v) ? "-" : FixedText(v, 1);
}

const char* SpanName(CampaignSpan s) {
    switch (s) {
        case CampaignSpan::Before:
            return "Before";
        case CampaignSpan::After:
            return "After";
        case CampaignSpan::Whole:
            break;
    }
    return "Whole report";
}

void AddStation(CampaignLayout& l, const StationDetails& station, const CampaignData& data) {
    l.subheading("Station");
    if (station.empty())
        l.info("No station details are kept in the log (Station Details, or log station).");
    for (const std::string& line : StationDetailsLines(station)) l.info(line, true);
    std::string locators;
    for (const std::string& loc : data.span(CampaignSpan::Whole).locators)
        locators += (locators.empty() ? "" : ", ") + loc;
    l.info("Locator(s): " + (locators.empty() ? std::string("none logged") : locators), true);
}

void AddFile(CampaignLayout& l, const LogFileFacts& file) {
    l.subheading("Station log");
    l.info("File: " + file.name, true);
    l.info("SHA-256: " + (file.sha256.empty() ? std::string("the file could not be read")
                                               : file.sha256),
           true);
    if (file.pendingBytes > 0)
        l.info("  (" + std::to_string(file.pendingBytes) +
                   " bytes of commits wait in its write-ahead file and are not covered)",
               true);
    l.info("Integrity check: " + file.integrity, true);
}

void AddSpan(CampaignLayout& l, const CampaignData& data, CampaignSpan which) {
    const SpanFacts& s = data.span(which);
    l.subheading(std::string(SpanName(which)) + ": " + SpanText(s.span));
    std::string counts = std::to_string(s.readings) + " readings";
    if (s.readings > 0)
        counts += ", the first " + UtcStampText(s.first) + ", the last " + UtcStampText(s.last);
    l.info(counts + "; " + std::to_string(s.gaps) + " gaps");
    if (s.damaged > 0)
        l.info(std::to_string(s.damaged) + " damaged readings (a level, frequency or bandwidth that is no usable number) left out");
    l.info("Receivers (receiver, antenna gain, calibration, bandwidth):");
    if (s.receivers.empty()) l.info("  none");
    for (const std::string& r : s.receivers) l.info("  " + r);
    char line[160];
    std::snprintf(line, sizeof line, "%-9s %8s %9s %6s %5s %6s", "Band", "MHz", "Readings",
                  "Hours", "Days", "Gaps");
    l.row(line, true);
    for (const auto& [band, b] : s.bands) {
        std::snprintf(line, sizeof line, "%-9s %8s %9lld %6zu %5zu %6lld", BandLabel(band).c_str(),
                      FixedText(band.freqMHz, 3).c_str(), static_cast<long long>(b.readings), b.hours, b.days,
                      static_cast<long long>(b.gaps));
        l.row(line);
    }
    for (const auto& [band, b] : s.bands) {
        if (b.gapReasons.empty()) continue;
        std::string reasons;
        for (const auto& [reason, n] : b.gapReasons)
            reasons += (reasons.empty() ? "" : "; ") + std::to_string(n) + " x " + reason;
        l.info("Gaps " + BandLabel(band) + ": " + reasons, true);
    }
}

void AddFaTable(CampaignLayout& l, std::span<const CampaignBandSummary> bands) {
    l.subheading("Noise factor Fa of the hourly values, whole report, in dB above kT0b");
    char row[160];
    std::snprintf(row, sizeof row, "%-9s %8s %6s %7s %7s %7s  %-12s %6s", "Band", "MHz", "Hours",
                  "Median", "Low 10%", "Up 90%", "Nearest", "Rural");
    l.row(row, true);
    for (const CampaignBandSummary& b : bands) {
        std::snprintf(row, sizeof row, "%-9s %8s %6zu %7s %7s %7s  %-12s %6s",
                      BandLabel(b.band).c_str(), FixedText(b.band.freqMHz, 3).c_str(), b.hourlyValues,
                      Fixed1(b.medianFa).c_str(), Fixed1(b.lowDecileFa).c_str(),
                      Fixed1(b.highDecileFa).c_str(), b.nearestEnvironment.c_str(),
                      SignedFixedText(b.aboveRuralDb, 1).c_str());
        l.row(row);
    }
    l.skip(2);
    l.paragraph("Nearest: the ITU-R P.372 man-made environment whose Fa at the band's frequency "
                "lies nearest to the median. Rural: the median minus the rural curve.");
}

// Months down, bands across: the atmospheric Fa of the model for each month of the span.
void AddAtmosphereTable(CampaignLayout& l, const CampaignData& data,
                        const BandAtmospheres& atmosphere) {
    std::size_t months = 0;
    for (const auto& a : atmosphere) months = std::max(months, a.size());
    l.subheading("Atmospheric Fa of ITU-R P.372 per month, in dB above kT0b");
    if (months == 0) {
        l.info("The model gives none here (no locator logged, or no coefficients installed).");
        return;
    }
    std::string head = "Month   ";
    for (const BandSeries& b : data.bands) {
        char cell[16];
        std::snprintf(cell, sizeof cell, "%7s", BandLabel(b.band).substr(0, 7).c_str());
        head += cell;
    }
    l.row(head, true);
    for (std::size_t m = 0; m < months; ++m) {
        std::string line;
        for (std::size_t b = 0; b < atmosphere.size(); ++b) {
            if (line.empty() && m < atmosphere[b].size()) {
                const UtcFields f = UtcFieldsOf(atmosphere[b][m].from);
                char month[16];
                std::snprintf(month, sizeof month, "%04d-%02d ", f.year, f.month);
                line = month;
            }
        }
        if (line.empty()) line = std::string(8, ' ');
        for (const auto& a : atmosphere) {
            char cell[16];
            std::snprintf(cell, sizeof cell, "%7s", m < a.size() ? Fixed1(a[m].fa).c_str() : "-");
            line += cell;
        }
        l.row(line);
    }
}

}  // namespace

std::string SpanText(const LogSpan& span) {
    return UtcSpanText(*span.from, *span.to);
}

void AddSummaryPages(CampaignLayout& l, const CampaignData& data, const StationDetails& station,
                     const LogFileFacts& file, std::span<const CampaignBandSummary> bands,
                     const BandAtmospheres& atmosphere) {
    l.newPage();
    l.line(std::string(CampaignSubtitle), 16, ReportFixedFont, true, 10);
    AddStation(l, station, data);
    AddFile(l, file);
    l.subheading("Hours counted");
    l.info(data.hours.wholeDay()
               ? std::string("The whole day; a day counts with at least 12 hours of values.")
               : HourRangeText(data.hours) + " only; a day counts with at least " +
                     std::to_string(MinHoursOfDay(data.hours)) + " of these hours.");
    for (std::size_t s = 0; s < data.spans.size(); ++s)
        AddSpan(l, data, static_cast<CampaignSpan>(s));
    AddFaTable(l, bands);
    AddAtmosphereTable(l, data, atmosphere);
}

}  // namespace fw
