#include "logviews/level_over_time_view.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "diagram/raster_canvas.h"
#include "libs/fw_math.h"
#include "stationlog/utc_text.h"

namespace fw {

namespace {

constexpr UtcSeconds Hour = 3600;
constexpr UtcSeconds Day = 86400;

// Dash lengths of the four man-made levels, city to quiet rural, so they are told apart in
// one band colour.
constexpr std::array<int, 4> DashOf = {12, 8, 5, 2};
// Their short names, for labels that also name the band.
constexpr std::array<std::string_view, 4> ShortNameOf = {"City", "Resid.", "Rural", "Quiet"};

std::string TwoDigits(int v) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d", v);
    return buf;
}

std::string TickText(UtcSeconds t, UtcSeconds step, bool newDay) {
    const UtcFields f = UtcFieldsOf(t);
    const std::string day = TwoDigits(f.month) + "-" + TwoDigits(f.day);
    if (step >= 28 * Day) return std::to_string(f.year) + "-" + TwoDigits(f.month);
    if (step >= Day) return day;
    const std::string clock = TwoDigits(f.hour) + ":" + TwoDigits(f.minute);
    return newDay ? day + " " + clock : clock;
}

std::vector<TimeTick> MonthTicks(UtcSeconds from, UtcSeconds to, int most) {
    const UtcFields first = UtcFieldsOf(from);
    int months = 1;
    const UtcSeconds spanMonths = (to - from) / (30 * Day) + 1;
    while (spanMonths / months > most) months = months < 3 ? months + 1 : months * 2;
    std::vector<TimeTick> ticks;
    UtcFields f{first.year, first.month, 1, 0, 0, 0};
    for (;;) {
        const UtcSeconds t = UtcSecondsOf(f);
        if (t > to) break;
        if (t >= from) ticks.push_back({t, TickText(t, 30 * Day, false)});
        f.month += months;
        while (f.month > 12) {
            f.month -= 12;
            ++f.year;
        }
    }
    return ticks;
}

void DrawTimeAxis(DiagramCanvas& canvas, const ViewFrame& f, const LinearAxis& time,
                  UtcSeconds from, UtcSeconds to) {
    const int most = std::max(2, f.plot.plotWidth / (8 * f.plot.mainFontSize));
    std::vector<LineSegment> grid;
    for (const TimeTick& t : TimeTicks(from, to, most)) {
        const int x = time.pixel(static_cast<double>(t.utc));
        grid.push_back({x, f.plot.bottom, x, f.top()});
        canvas.DrawText(x - RoundPx(0.02 * f.plot.plotWidth),
                        f.plot.bottom + RoundPx(0.02 * f.plot.plotHeight), t.text, Black, White);
    }
    canvas.DrawLines(grid, GreyLevel(0.9));
    canvas.DrawText(f.right() - 6 * f.plot.mainFontSize,
                    f.plot.bottom + RoundPx(0.08 * f.plot.plotHeight), "UTC", Black, White);
}

}  // namespace

std::vector<TimeTick> TimeTicks(UtcSeconds from, UtcSeconds to, int most) {
    if (to <= from || most < 1) return {};
    static constexpr std::array<UtcSeconds, 12> steps = {Hour,      2 * Hour, 3 * Hour, 6 * Hour,
                                                         12 * Hour, Day,      2 * Day,  4 * Day,
                                                         7 * Day,   14 * Day, 21 * Day, 28 * Day};
    UtcSeconds step = 0;
    for (UtcSeconds s : steps) {
        if ((to - from) / s + 1 > most) continue;
        step = s;
        break;
    }
    if (step == 0 || step == 28 * Day) return MonthTicks(from, to, most);
    std::vector<TimeTick> ticks;
    // The first mark at or after `from`: whole hours, midnights UTC, weeks on Mondays (the
    // first Monday after 1970-01-01 is 4 days on).
    const UtcSeconds origin = step >= 7 * Day ? 4 * Day : 0;
    UtcSeconds t = (from - origin) / step * step + origin;
    if (t < from) t += step;
    int lastDay = -1;
    for (; t <= to; t += step) {
        const int day = UtcFieldsOf(t).day;
        ticks.push_back({t, TickText(t, step, lastDay != -1 && day != lastDay)});
        lastDay = day;
    }
    return ticks;
}

void DrawLevelOverTime(DiagramCanvas& canvas, const LevelOverTimeInputs& in) {
    const ViewFrame f = MakeViewFrame(in.width, in.height);
    std::vector<double> all;
    for (std::size_t b = 0; b < in.series.size(); ++b) {
        const LevelSeries& s = in.series[b];
        all.insert(all.end(), s.fieldDbuVm.begin(), s.fieldDbuVm.end());
        for (const ReferenceLevel& r : ManMadeLevels(s.band.freqMHz, in.bandwidthHz))
            all.push_back(r.fieldDbuVm);
    }
    const LinearAxis level =
        DrawViewBase(canvas, f, in.levels.value_or(LevelRangeFor(all)), "Level over time");
    const LinearAxis time(static_cast<double>(in.from), static_cast<double>(in.to), f.plot.left,
                          f.right());
    DrawTimeAxis(canvas, f, time, in.from, in.to);

    std::vector<LegendRow> legend;
    std::vector<ReferenceLine> references;
    std::vector<DotCentre> dots;
    for (std::size_t b = 0; b < in.series.size(); ++b) {
        const LevelSeries& s = in.series[b];
        const Rgb colour = BandColour(b);
        dots.clear();
        const std::size_t n = std::min(s.utc.size(), s.fieldDbuVm.size());
        for (std::size_t i = 0; i < n; ++i) {
            if (s.utc[i] < in.from || s.utc[i] > in.to) continue;
            dots.push_back(
                {time.pixel(static_cast<double>(s.utc[i])), level.pixel(s.fieldDbuVm[i])});
        }
        // Dense series in small dots, so that a month still shows its daily course.
        const bool dense = dots.size() > static_cast<std::size_t>(f.plot.plotWidth / 2);
        canvas.DrawDots(dots, dense ? 1 : std::max(1, f.plot.dotRadius), colour);
        legend.push_back({BandLabel(s.band), colour});
        const std::vector<ReferenceLevel> levels = ManMadeLevels(s.band.freqMHz, in.bandwidthHz);
        for (std::size_t e = 0; e < levels.size(); ++e)
            references.push_back(
                {level.pixel(levels[e].fieldDbuVm), colour, DashOf[e % DashOf.size()],
                 in.series.size() > 1
                     ? BandLabel(s.band) + " " + std::string(ShortNameOf[e % ShortNameOf.size()])
                     : std::string(levels[e].name)});
    }
    // The reference levels over the readings, so they stay visible in a dense month.
    DrawReferenceLines(canvas, f, references);
    DrawViewLegend(canvas, f, legend);
}

DiagramPicture RenderLevelOverTime(const LevelOverTimeInputs& in) {
    RasterCanvas canvas(in.width, in.height);
    DrawLevelOverTime(canvas, in);
    return canvas.takePicture();
}

}  // namespace fw
