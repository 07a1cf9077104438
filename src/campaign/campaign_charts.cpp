#include "campaign/campaign_charts.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <optional>

#include "libs/number_text.h"
#include "libs/median.h"
#include "stationlog/utc_text.h"
#include "stats/day_values.h"
#include "stats/hour_range.h"

namespace fw {

namespace {

constexpr UtcSeconds Day = 86400;
constexpr double LabelPt = 7;
constexpr double LeftMm = 11;    // room for the level labels
constexpr double TopMm = 4;      // room for the axis title
constexpr double BottomMm = 15;  // the time labels and the legend
constexpr double ExcludedGrey = 0.9;
constexpr double OutsideGrey = 0.6;  // what lies outside the chosen hours or the spans

// The plot's rectangle and the scale of its axes.
class Axes {
  public:
    Axes(const ChartBox& box, double x0, double x1, double y0, double y1)
        : left_(box.xMm + LeftMm), top_(box.yMm + TopMm), width_(box.widthMm - LeftMm),
          height_(box.heightMm - TopMm - BottomMm), x0_(x0), x1_(x1), y0_(y0), y1_(y1) {}

    double x(double v) const { return left_ + (v - x0_) / (x1_ - x0_) * width_; }
    double y(double v) const { return top_ + (y1_ - v) / (y1_ - y0_) * height_; }
    double left() const { return left_; }
    double right() const { return left_ + width_; }
    double top() const { return top_; }
    double bottom() const { return top_ + height_; }
    double y0() const { return y0_; }
    double y1() const { return y1_; }

  private:
    double left_, top_, width_, height_, x0_, x1_, y0_, y1_;
};

struct Range {
    double low = std::numeric_limits<double>::infinity();
    double high = -std::numeric_limits<double>::infinity();
    void add(double v) {
        if (!std::isfinite(v)) return;
        low = std::min(low, v);
        high = std::max(high, v);
    }
};

double TickStep(const Range& r) {
    return r.high - r.low > 30 ? 10 : 5;
}

void Text(PageBuilder& page, const std::string& text, double xMm, double yMm, double sizePt) {
    page.SetPageFont(sizePt, ReportFooterFont, false);
    page.PageText(text, xMm, yMm);
}

void TextRight(PageBuilder& page, const std::string& text, double xRightMm, double yMm) {
    page.SetPageFont(LabelPt, ReportFooterFont, false);
    page.PageTextRight(text, xRightMm, yMm);
}

void TextCentred(PageBuilder& page, const std::string& text, double xMm, double yMm) {
    page.SetPageFont(LabelPt, ReportFooterFont, false);
    const double w = page.textWidth()(page.font(), text);
    page.PageText(text, xMm - w / 2, yMm);
}

void Line(PageBuilder& page, double x1, double y1, double x2, double y2, double widthMm,
          double grey = 0, PageDash dash = PageDash::Solid) {
    page.PagePath({{{x1, y1}, {x2, y2}}, false, widthMm, dash, grey, -1});
}

// The frame, the level grid with its labels and the axis title.
Axes Frame(PageBuilder& page, const ChartBox& box, double x0, double x1, Range levels) {
    if (!std::isfinite(levels.low)) levels = {0, 10};
    const double step = TickStep(levels);
    double y0 = std::floor(levels.low / step) * step;
    double y1 = std::ceil(levels.high / step) * step;
    if (y1 <= y0) y1 = y0 + step;
    const Axes a(box, x0, x1, y0, y1);
    for (double v = y0; v <= y1 + step / 2; v += step) {
        Line(page, a.left(), a.y(v), a.right(), a.y(v), 0.1, 0.75);
        TextRight(page, FixedText(v, 0), a.left() - 1, a.y(v) - 1.3);
    }
    Text(page, "Fa in dB above kT0b", a.left(), box.yMm, LabelPt);
    return a;
}

void Border(PageBuilder& page, const Axes& a) {
    page.PagePath({{{a.left(), a.top()}, {a.right(), a.top()}, {a.right(), a.bottom()},
                    {a.left(), a.bottom()}},
                   true, 0.25, PageDash::Solid, 0, -1});
}

// Draws a series' points joined by its line, the line broken where consecutive points lie
// further apart than `joinWithin`.
void Series(PageBuilder& page, const Axes& a, const std::vector<std::pair<double, double>>& points,
            const SeriesStyle& style, double markerMm, double joinWithin,
            const std::vector<double>& greys = {}) {
    // A run of the line ends where the points lie apart or change their grey; the next run
    // starts from the last point, so that a change of grey does not break the line.
    const auto greyAt = [&](std::size_t i) { return greys.empty() ? style.grey : greys[i]; };
    std::vector<PagePoint> run;
    double runGrey = style.grey;
    const auto flush = [&] {
        if (run.size() > 1) page.PagePath({run, false, 0.3, style.dash, runGrey, -1});
        run.clear();
    };
    for (std::size_t i = 0; i < points.size(); ++i) {
        const PagePoint p{a.x(points[i].first), a.y(points[i].second)};
        if (i > 0 && points[i].first - points[i - 1].first > joinWithin) {
            flush();
        } else if (i > 0 && greyAt(i) != runGrey) {
            // The segment between two greys takes the lighter one.
            const PagePoint last = run.back();
            flush();
            page.PagePath({{last, p}, false, 0.3, style.dash, std::max(runGrey, greyAt(i)), -1});
        }
        if (run.empty()) runGrey = greyAt(i);
        run.push_back(p);
    }
    flush();
    for (std::size_t i = 0; i < points.size(); ++i)
        page.PageMarker({{a.x(points[i].first), a.y(points[i].second)}, style.shape, markerMm,
                         style.filled, greys.empty() ? style.grey : greys[i]});
}

// One legend entry: a short line with the marker, and the name; returns the next entry's x.
double LegendEntry(PageBuilder& page, double x, double y, const SeriesStyle& style,
                   bool marker = true) {
    Line(page, x, y, x + 8, y, 0.3, style.grey, style.dash);
    if (marker) page.PageMarker({{x + 4, y}, style.shape, 1.4, style.filled, style.grey});
    Text(page, style.name, x + 9.5, y - 1.3, LabelPt);
    return x + 12 + page.textWidth()({std::string(ReportFooterFont), LabelPt, false}, style.name);
}

std::vector<CampaignSpan> DrawnSpans(const CampaignData& data) {
    if (!data.compared()) return {CampaignSpan::Whole};
    return {CampaignSpan::Whole, CampaignSpan::Before, CampaignSpan::After};
}

// Whether an hourly value is drawn in the series of `span`: with a comparison the whole
// span's series holds only what lies in neither of the two.
bool InSeries(const BandHour& v, CampaignSpan span, bool compared) {
    if (span != CampaignSpan::Whole || !compared) return v.spans & MaskOf(span);
    return !(v.spans & (MaskOf(CampaignSpan::Before) | MaskOf(CampaignSpan::After)));
}

// The day's position on the time axis: the middle of its window of chosen hours.
double DayMiddle(std::int64_t day, const HourRange& hours) {
    return static_cast<double>(day * Day) + (hours.first + WindowHourCount(hours) / 2.0) * 3600;
}

void TimeTicks(PageBuilder& page, const Axes& a, UtcSeconds from, UtcSeconds to) {
    const double days = static_cast<double>(to - from) / Day;
    const bool months = days > 62;
    std::vector<UtcSeconds> ticks;
    if (months) {
        UtcFields f = UtcFieldsOf(from);
        f.day = 1, f.hour = 0, f.minute = 0, f.second = 0;
        const int step = days > 400 ? 3 : 1;
        for (UtcSeconds t = UtcSecondsOf(f); t <= to;) {
            if (t >= from) ticks.push_back(t);
            for (int k = 0; k < step; ++k) {
                f.month = f.month % 12 + 1;
                if (f.month == 1) ++f.year;
            }
            t = UtcSecondsOf(f);
        }
    } else {
        const UtcSeconds step = Day * std::max<UtcSeconds>(1, static_cast<UtcSeconds>(days / 10) + 1);
        for (UtcSeconds t = from - ((from % Day) + Day) % Day; t <= to; t += step)
            if (t >= from) ticks.push_back(t);
    }
    for (const UtcSeconds t : ticks) {
        const double x = a.x(static_cast<double>(t));
        Line(page, x, a.top(), x, a.bottom(), 0.1, 0.75);
        const UtcFields f = UtcFieldsOf(t);
        char label[16];
        if (months)
            std::snprintf(label, sizeof label, "%04d-%02d", f.year, f.month);
        else
            std::snprintf(label, sizeof label, "%02d-%02d", f.month, f.day);
        TextCentred(page, label, x, a.bottom() + 1);
    }
}

struct DayPoint {
    double x = 0;
    double median = 0;
    double low = 0;
    double high = 0;
};

// The days of one series: values of the chosen hours grouped by DayOfHour.
std::vector<DayPoint> DaysOf(const CampaignData& data, const BandSeries& band, CampaignSpan span) {
    std::vector<HourValue> hourly;
    Range whole;
    for (const BandHour& v : band.hours)
        if (InSeries(v, span, data.compared()) && data.hours.contains(UtcHourOfDay(v.hour)))
            hourly.push_back({v.hour / 3600, v.fa});
    // The days' values as the comparison takes them, and each day's range of hourly values.
    std::map<std::int64_t, Range> ranges;
    for (const HourValue& h : hourly) ranges[WindowDayOf(h.hour, data.hours)].add(h.value);
    std::vector<DayPoint> out;
    for (const DayValue& d : DayValues(hourly, data.hours)) {
        const Range& r = ranges[d.day];
        out.push_back({DayMiddle(d.day, data.hours), d.value, r.low, r.high});
    }
    return out;
}

}  // namespace

SeriesStyle StyleOf(CampaignSpan span, bool compared) {
    switch (span) {
        case CampaignSpan::Before:
            return {PageMarkerShape::Circle, true, PageDash::Solid, 0, "before"};
        case CampaignSpan::After:
            return {PageMarkerShape::Square, false, PageDash::Dashed, 0, "after"};
        case CampaignSpan::Whole:
            break;
    }
    if (compared)
        return {PageMarkerShape::Diamond, true, PageDash::Dotted, OutsideGrey, "neither span"};
    return {PageMarkerShape::Circle, true, PageDash::Solid, 0, "days"};
}

void DrawDailyChart(PageBuilder& page, const ChartBox& box, const CampaignData& data,
                    const BandSeries& band, const std::vector<MonthAtmosphere>& atmosphere) {
    const LogSpan& whole = data.span(CampaignSpan::Whole).span;
    std::vector<std::pair<CampaignSpan, std::vector<DayPoint>>> series;
    Range levels;
    for (const CampaignSpan s : DrawnSpans(data)) {
        series.emplace_back(s, DaysOf(data, band, s));
        for (const DayPoint& d : series.back().second) {
            levels.add(d.low);
            levels.add(d.high);
        }
    }
    for (const MonthAtmosphere& m : atmosphere) levels.add(m.fa);
    const Axes a = Frame(page, box, static_cast<double>(*whole.from),
                         static_cast<double>(*whole.to), levels);
    TimeTicks(page, a, *whole.from, *whole.to);
    const double spanDays = static_cast<double>(*whole.to - *whole.from) / Day;
    const double markerMm = std::clamp(0.6 * (a.right() - a.left()) / std::max(spanDays, 1.0), 0.5, 1.6);
    for (const auto& [span, days] : series)
        for (const DayPoint& d : days)
            Line(page, a.x(d.x), a.y(d.low), a.x(d.x), a.y(d.high), 0.12, OutsideGrey);
    for (const auto& [span, days] : series) {
        std::vector<std::pair<double, double>> points;
        for (const DayPoint& d : days) points.emplace_back(d.x, d.median);
        Series(page, a, points, StyleOf(span, data.compared()), markerMm, 1.5 * Day);
    }
    const SeriesStyle atmos{PageMarkerShape::Circle, false, PageDash::Dotted, 0,
                            "atmospheric Fa of the month (ITU-R P.372)"};
    for (const MonthAtmosphere& m : atmosphere) {
        const double x1 = a.x(static_cast<double>(std::max(m.from, *whole.from)));
        const double x2 = a.x(static_cast<double>(std::min(m.to, *whole.to)));
        Line(page, x1, a.y(m.fa), x2, a.y(m.fa), 0.4, 0, PageDash::Dotted);
    }
    Border(page, a);
    double x = a.left();
    const double y = a.bottom() + 10;
    for (const auto& [span, days] : series)
        if (!days.empty()) x = LegendEntry(page, x, y, StyleOf(span, data.compared()));
    if (!atmosphere.empty()) x = LegendEntry(page, x, y, atmos, false);
    Line(page, x, y - 1.5, x, y + 1.5, 0.12, OutsideGrey);
    Text(page, "day's hourly values, lowest to highest", x + 1.5, y - 1.3, LabelPt);
}

void DrawProfileChart(PageBuilder& page, const ChartBox& box, const CampaignData& data,
                      const BandSeries& band) {
    // Per series and hour of the day, that hour's values over the span.
    std::vector<std::pair<CampaignSpan, std::array<std::vector<double>, 24>>> series;
    for (const CampaignSpan s : DrawnSpans(data)) {
        series.emplace_back(s, std::array<std::vector<double>, 24>{});
        for (const BandHour& v : band.hours)
            if (InSeries(v, s, data.compared()))
                series.back().second[static_cast<std::size_t>(UtcHourOfDay(v.hour))].push_back(v.fa);
    }
    struct Point {
        double median, low, high;
    };
    std::vector<std::pair<CampaignSpan, std::array<std::optional<Point>, 24>>> points;
    Range levels;
    for (auto& [span, hours] : series) {
        points.emplace_back(span, std::array<std::optional<Point>, 24>{});
        for (std::size_t h = 0; h < 24; ++h) {
            if (hours[h].empty()) continue;
            const Point p{Median(hours[h]), Quantile(hours[h], 0.1), Quantile(hours[h], 0.9)};
            points.back().second[h] = p;
            levels.add(p.low);
            levels.add(p.high);
        }
    }
    const Axes a = Frame(page, box, 0, 24, levels);
    for (int h = 0; h < 24; ++h) {
        if (data.hours.contains(h)) continue;
        page.PagePath({{{a.x(h), a.top()}, {a.x(h + 1), a.top()}, {a.x(h + 1), a.bottom()},
                        {a.x(h), a.bottom()}},
                       true, 0, PageDash::Solid, 0, ExcludedGrey});
    }
    for (int h = 0; h <= 24; h += 3) {
        Line(page, a.x(h), a.top(), a.x(h), a.bottom(), 0.1, 0.75);
        char label[8];
        std::snprintf(label, sizeof label, "%02d", h);
        TextCentred(page, label, a.x(h), a.bottom() + 1);
    }
    // With two spans drawn their points stand a little apart, so that neither hides the other.
    const bool alone = !data.compared();
    for (std::size_t i = 0; i < points.size(); ++i) {
        const auto& [span, hours] = points[i];
        const double offset = alone ? 0 : (static_cast<double>(i) - 1) * 0.15;
        std::vector<std::pair<double, double>> line;
        std::vector<double> greys;
        SeriesStyle style = StyleOf(span, data.compared());
        for (int h = 0; h < 24; ++h) {
            const auto& p = hours[static_cast<std::size_t>(h)];
            if (!p) continue;
            const double x = h + 0.5 + offset;
            const double grey = data.hours.contains(h) ? style.grey : OutsideGrey;
            if (alone) Line(page, a.x(x), a.y(p->low), a.x(x), a.y(p->high), 0.15, grey);
            line.emplace_back(x, p->median);
            greys.push_back(grey);
        }
        Series(page, a, line, style, 1.4, 1.5, greys);
    }
    Border(page, a);
    TextCentred(page, "UTC hour of the day", (a.left() + a.right()) / 2, a.bottom() + 4.5);
    double x = a.left();
    const double y = a.bottom() + 11;
    for (const auto& [span, hours] : points) {
        if (std::none_of(hours.begin(), hours.end(), [](const auto& p) { return p.has_value(); }))
            continue;
        SeriesStyle style = StyleOf(span, data.compared());
        if (alone) style.name = "median of the hour's values";
        x = LegendEntry(page, x, y, style);
    }
    if (alone) {
        Line(page, x, y - 1.5, x, y + 1.5, 0.15, 0);
        Text(page, "10 % to 90 % of the hour's values", x + 1.5, y - 1.3, LabelPt);
        x += 50;
    }
    if (!data.hours.wholeDay()) {
        page.PagePath({{{x, y - 1.5}, {x + 4, y - 1.5}, {x + 4, y + 1.5}, {x, y + 1.5}},
                       true, 0, PageDash::Solid, 0, ExcludedGrey});
        Text(page, "hours outside " + HourRangeText(data.hours) + ", not counted", x + 5, y - 1.3,
             LabelPt);
    }
}

}  // namespace fw
