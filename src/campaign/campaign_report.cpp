#include "campaign/campaign_report.h"

#include <cmath>
#include <cstdio>
#include <sstream>

#include "campaign/campaign_summary.h"
#include "libs/real_text.h"
#include "logviews/log_view_picture.h"
#include "stationlog/utc_text.h"
#include "stats/comparison_text.h"
#include "stats/span_comparison.h"

namespace fw {

namespace {

constexpr double TopMm = 30;
constexpr double BottomMm = 265;  // the last line's top; the footer rule lies at 270
constexpr double PictureWidthMm = ReportRightMm - ReportLeftMm;
constexpr int ViewWidth = 800;
constexpr int ViewHeight = 500;
constexpr std::string_view BodyFont = ReportFooterFont;

constexpr double PictureHeightMm(double widthMm) {
    return widthMm * ViewHeight / ViewWidth;
}

std::string Fixed1(double v) {
    if (std::isnan(v)) return "-";
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f", v);
    return buf;
}

std::string SpanText(const LogSpan& span) {
    return UtcSpanText(*span.from, *span.to);
}

template <typename Set, typename Text>
std::string Joined(const Set& set, Text text) {
    std::string out;
    for (const auto& v : set) out += (out.empty() ? "" : ", ") + text(v);
    return out.empty() ? "none logged" : out;
}

std::string Number(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", v);
    return buf;
}

// Lays out the report page by page: a title on each new page, lines that move on down. The
// numbers in its texts take the decimal separator of the printed report's texts.
class Layout {
  public:
    Layout(ReportDocument& doc, const NoiseReportTexts& texts, const TextWidthMm& textWidth)
        : doc_(doc), texts_(texts), textWidth_(textWidth) {}

    void newPage() {
        doc_.pages.emplace_back();
        PageBuilder b = builder();
        b.SetPageFont(12, ReportFixedFont, false);
        b.PageText(std::string(CampaignTitlePrefix) + texts_.dateText, ReportLeftMm, 14);
        b.PageRule(ReportLeftMm, ReportRightMm, 20);
        y_ = TopMm;
    }
    // Starts a new page unless `heightMm` still fits on this one.
    void room(double heightMm) {
        if (doc_.pages.empty() || y_ + heightMm > BottomMm) newPage();
    }
    void line(std::string text, double sizePt, std::string_view family, bool bold,
              double stepMm) {
        room(stepMm);
        PageBuilder b = builder();
        b.SetPageFont(sizePt, family, bold);
        b.PageText(WithDecimalSeparator(std::move(text), texts_.decimalSeparator), ReportLeftMm,
                   y_);
        y_ += stepMm;
    }
    void heading(std::string text) {
        room(20);
        line(std::move(text), 14, ReportFixedFont, true, 9);
    }
    // Body text in lines that fit the page's width, then half a line of space.
    void paragraph(const std::string& text) {
        const PageFont font{std::string(BodyFont), 10, false};
        std::istringstream words(WithDecimalSeparator(text, texts_.decimalSeparator));
        std::string current;
        for (std::string word; words >> word;) {
            const std::string longer = current.empty() ? word : current + " " + word;
            if (!current.empty() && textWidth_(font, longer) > PictureWidthMm) {
                line(current, 10, BodyFont, false, 4.6);
                current = word;
            } else {
                current = longer;
            }
        }
        if (!current.empty()) line(current, 10, BodyFont, false, 4.6);
        y_ += 2.3;
    }
    // A picture of the given aspect at (x, y) `widthMm` wide; returns its height.
    double picture(std::size_t index, double xMm, double widthMm) {
        const double heightMm = PictureHeightMm(widthMm);
        builder().PagePicture(xMm, y_, xMm + widthMm, y_ + heightMm, index);
        return heightMm;
    }
    void skip(double mm) { y_ += mm; }

    // The footer and "Page n of N" on every page.
    void finish() {
        const int count = static_cast<int>(doc_.pages.size());
        for (int n = 1; n <= count; ++n) {
            PageBuilder b(doc_.pages[static_cast<std::size_t>(n - 1)], textWidth_);
            b.PageFooter(ReportFooterText(texts_), ReportLeftMm, ReportRightMm, ReportFooterRuleMm);
            b.PageTextRight(ReportPageNumberText(n, count), ReportRightMm, ReportFooterTextMm);
        }
    }

  private:
    PageBuilder builder() { return PageBuilder(doc_.pages.back(), textWidth_); }

    ReportDocument& doc_;
    const NoiseReportTexts& texts_;
    const TextWidthMm& textWidth_;
    double y_ = TopMm;
};

void AddSummary(Layout& l, const CampaignSummary& s, const LogSpan& span, const HourRange& hours) {
    l.newPage();
    l.line(std::string(CampaignSubtitle), 16, ReportFixedFont, true, 12);
    const CampaignSetup& c = s.setup;
    const auto info = [&](std::string text) { l.line(std::move(text), 10, ReportFixedFont, false, 5); };
    info("Station locator(s): " + Joined(c.locators, [](const std::string& v) { return v; }));
    info("Rig or SDR: " + Joined(c.receivers, [](const std::string& v) { return v; }));
    info("Antenna gain(s): " + Joined(c.gainsDbi, [](double v) { return Number(v) + " dBi"; }));
    info("Bandwidth(s): " + Joined(c.bandwidthsHz, [](double v) { return Number(v) + " Hz"; }));
    info("Span: " + SpanText(span));
    info("Hours: " + (hours.wholeDay() ? std::string("the whole day") : HourRangeText(hours)));
    info("Readings: " + std::to_string(c.readings) + ", gaps: " + std::to_string(c.gaps));
    l.skip(5);
    l.line("Noise factor Fa of the hourly values per band, in dB above kT0b", 11, ReportFixedFont,
           true, 7);
    char row[160];
    std::snprintf(row, sizeof row, "%-8s %8s %6s %7s %7s %7s  %-12s %6s %6s", "Band", "MHz",
                  "Hours", "Median", "Low 10%", "Up 90%", "Nearest", "Rural", "Atmos.");
    l.line(row, 8, ReportFixedFont, true, 4.5);
    for (const CampaignBandSummary& b : s.bands) {
        const std::string atmos = b.atmosphericFa ? Fixed1(*b.atmosphericFa) : "-";
        std::snprintf(row, sizeof row, "%-8s %8.3f %6zu %7s %7s %7s  %-12s %+6.1f %6s",
                      BandLabel(b.band).c_str(), b.band.freqMHz, b.hourlyValues,
                      Fixed1(b.medianFa).c_str(), Fixed1(b.lowDecileFa).c_str(),
                      Fixed1(b.highDecileFa).c_str(), b.nearestEnvironment.c_str(),
                      b.aboveRuralDb, atmos.c_str());
        l.line(row, 8, ReportFixedFont, false, 4.5);
    }
    l.skip(3);
    l.paragraph("Nearest: the ITU-R P.372 man-made environment whose Fa at the band's frequency "
                "lies nearest to the median. Rural: the median minus the rural curve. Atmos.: "
                "the median atmospheric Fa of the ITU-R P.372 model for the locator and the "
                "logged hours, where the model gives one.");
}

void AddBandPages(Layout& l, CampaignReport& report, StationLog& log, const CampaignSummary& s,
                  const LogSpan& span, ItuCoefficientCache& coefficients,
                  const std::stop_token& stop) {
    for (const CampaignBandSummary& b : s.bands) {
        if (stop.stop_requested()) return;
        l.newPage();
        l.line(BandLabel(b.band) + " (" + Number(b.band.freqMHz) + " MHz): " +
                   std::to_string(b.hourlyValues) + " hourly values, median Fa " +
                   Fixed1(b.medianFa) + " dB",
               14, ReportFixedFont, true, 9);
        for (LogViewKind kind : {LogViewKind::LevelOverTime, LogViewKind::HourlyProfile}) {
            const LogViewRequest r{kind, {b.band}, *span.from, *span.to, b.bandwidthHz,
                                   ViewWidth, ViewHeight};
            report.pictures.push_back(
                RenderLogView(log, r, coefficients, CampaignPictureRatio).shown);
            l.skip(l.picture(report.pictures.size() - 1, ReportLeftMm, PictureWidthMm) + 4);
        }
    }
}

void AddComparison(Layout& l, CampaignReport& report, StationLog& log,
                   const CampaignRequest& request, const CampaignSummary& s,
                   const std::stop_token& stop) {
    const std::vector<BandComparison> rows =
        QueryComparison(log, {*request.before, *request.after, request.hours, {}});
    l.newPage();
    l.line(std::string(CampaignComparisonHeading), 14, ReportFixedFont, true, 9);
    l.line("Before: " + SpanText(*request.before), 10, ReportFixedFont, false, 5);
    l.line("After:  " + SpanText(*request.after), 10, ReportFixedFont, false, 5);
    if (!request.hours.wholeDay())
        l.line("Hours:  " + HourRangeText(request.hours), 10, ReportFixedFont, false, 5);
    l.skip(3);
    std::istringstream text(ComparisonText(rows, request.hours));
    for (std::string line; std::getline(text, line);) l.line(line, 8, ReportFixedFont, false, 4.5);
    l.skip(3);
    l.paragraph("Fa in dB. The shift is the Hodges-Lehmann estimate of after minus before, with "
                "its 95 % confidence interval; p is the two-sided Mann-Whitney test. Below, each "
                "band's 24-hour profiles before and after the change, overlaid.");
    for (const BandComparison& c : rows) {
        if (stop.stop_requested()) return;
        l.room(6 + PictureHeightMm(PictureWidthMm) + 4);
        l.line(BandLabel(c.band) + ": before and after", 10, ReportFixedFont, true, 6);
        double bandwidth = 0;
        for (const CampaignBandSummary& b : s.bands)
            if (b.band == c.band) bandwidth = b.bandwidthHz;
        const ProfileComparisonRequest r{c.band, *request.before, *request.after,
                                         bandwidth > 0 ? bandwidth : StartBandwidthHz, ViewWidth,
                                         ViewHeight};
        report.pictures.push_back(RenderProfileComparison(log, r, CampaignPictureRatio));
        l.skip(l.picture(report.pictures.size() - 1, ReportLeftMm, PictureWidthMm) + 4);
    }
}

void AddMethod(Layout& l, const CampaignSummary& s, const HourRange& hours) {
    l.newPage();
    l.line(std::string(CampaignMethodHeading), 14, ReportFixedFont, true, 10);
    const std::string methods = Joined(s.setup.methods, [](const std::string& v) { return v; });
    l.paragraph(
        "Readings. Each reading is one noise level logged with its UTC time, band, frequency, "
        "receiver bandwidth, antenna gain and the receiver that took it. A reading from a rig's "
        "S-meter is the median of several samples taken 200 ms apart after the rig has settled "
        "on the band (5 samples unless the user chose otherwise), with a per-band calibration "
        "offset in dB added where the user set one; the number of samples and the offsets are "
        "set in the program, not stored with the reading. A reading from an SDR is the noise "
        "density of the whole band, estimated from a spectrum as the level that the lowest 20 % "
        "of its frequency bins reach, which transmissions do not lift, and logged as antenna "
        "power. Typed readings were entered by hand. The readings of this report were taken "
        "with: " + Joined(s.setup.receivers, [](const std::string& v) { return v; }) +
        "; entry methods (S-Val: S-meter in S-units, AntVol: antenna voltage, AntPwr: antenna "
        "power, Field: field strength): " + methods + ".");
    l.paragraph(
        "Noise factor. Each reading is converted to the field strength E in dB(uV/m) with the "
        "antenna gain and the wavelength, taking S9 as 50 uV at 50 ohms and 6 dB per S-unit. The "
        "noise factor Fa in dB above kT0b is Fa = E - 20 log10(f/MHz) - 10 log10(B/Hz) + 98.9, "
        "the inverse of the ITU-R P.372 relation between noise factor and field strength. Fa "
        "does not depend on the bandwidth B, so readings in different bandwidths compare.");
    l.paragraph(
        "Hourly values. Readings taken minutes apart are not independent of each other. Each "
        "band's readings are therefore reduced to one value per UTC clock hour: the median of "
        "that hour's readings (with an even count, the mean of the two middle values). Every "
        "count, median and decile of the summary and the band pages is one of these hourly "
        "values" +
        std::string(hours.wholeDay() ? "" : ", taken only from the readings of the UTC hours " +
                                               HourRangeText(hours)) +
        ". The deciles are the values below which 10 % and 90 % of the hourly values lie.");
    l.paragraph(
        "Comparison. The hours of one day are not independent: propagation, the weather and "
        "the neighbours' habits move a whole evening together. The comparison therefore counts "
        "days: a day's value is the median of its hourly values in the window of the chosen "
        "hours that starts on its UTC date (with 22-02, the hours 00-02 count for the evening "
        "before), and a day with fewer than half of the window's hours is left out. The shift "
        "between two spans is the Hodges-Lehmann estimate: the median of all differences "
        "between a day after and a day before the change. Its 95 % confidence interval runs "
        "from the k-th to the (M+1-k)-th of the M sorted differences, k = floor(M/2 - 1.959964 "
        "sqrt(nb na (nb + na + 1) / 12)), at least 1, for nb days before and na after. The "
        "p-value is that of the two-sided Mann-Whitney U test over the days in its normal "
        "approximation, with the variance corrected for tied values and a continuity "
        "correction of 1/2. It answers whether days like these could arise without a change, "
        "not how large the change is nor what caused it. A band needs " +
        std::to_string(MinComparedDays) + " days on each side for these figures.");
}

}  // namespace

namespace {

std::optional<CampaignReport> BuildReport(StationLog& log, const CampaignRequest& request,
                                          const NoiseReportTexts& texts,
                                          const TextWidthMm& textWidth,
                                          ItuCoefficientCache& coefficients,
                                          const std::stop_token& stop) {
    const LogExtent extent = ExtentOf(log);
    if (extent.readings == 0) return std::nullopt;
    const LogSpan whole = WholeHoursOf(extent);
    const LogSpan span{request.span.from.value_or(*whole.from),
                       request.span.to.value_or(*whole.to)};
    if (*span.from >= *span.to) return std::nullopt;
    const CampaignSummary summary =
        QueryCampaignSummary(log, *span.from, *span.to, request.hours, coefficients);
    if (summary.setup.readings == 0) return std::nullopt;

    CampaignReport report;
    report.document.title = CampaignDocumentTitle;
    Layout layout(report.document, texts, textWidth);
    AddSummary(layout, summary, span, request.hours);
    AddBandPages(layout, report, log, summary, span, coefficients, stop);
    if (request.before && request.after)
        AddComparison(layout, report, log, request, summary, stop);
    AddMethod(layout, summary, request.hours);
    layout.finish();
    return report;
}

}  // namespace

std::optional<CampaignReport> BuildCampaignReport(StationLog& log, const CampaignRequest& request,
                                                  const NoiseReportTexts& texts,
                                                  const TextWidthMm& textWidth,
                                                  ItuCoefficientCache& coefficients,
                                                  std::stop_token stop) {
    if (stop.stop_requested()) return std::nullopt;
    std::optional<CampaignReport> report;
    try {
        const SqliteStopOnRequest interruptible(log.database(), stop);
        report = BuildReport(log, request, texts, textWidth, coefficients, stop);
    } catch (const LogError&) {
        if (!stop.stop_requested()) throw;  // else the read was interrupted on purpose
    }
    if (stop.stop_requested()) return std::nullopt;
    return report;
}

}  // namespace fw
