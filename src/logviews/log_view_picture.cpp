#include "logviews/log_view_picture.h"

#include <memory>

#include "diagram/scaled_canvas.h"
#include "logviews/hourly_profile_view.h"
#include "logviews/level_over_time_view.h"
#include "logviews/profile_comparison_view.h"
#include "measure/maidenhead.h"
#include "model/atmospheric_noise.h"
#include "stationlog/log_queries.h"
#include "stationlog/utc_text.h"

namespace fw {

namespace {

std::string DayText(UtcSeconds t) {
    return UtcStampText(t).substr(0, 10);  // "YYYY-MM-DD"
}

}  // namespace

std::optional<std::array<double, 24>> AtmosphericFaByHour(std::string_view locator, int month,
                                                          double freqMHz,
                                                          const ItuCoefficientCache& coefficients) {
    if (!InAtmosphericRange(freqMHz)) return std::nullopt;
    const Outcome<LocatorSquare> square = ParseMaidenhead(locator);
    if (!square) return std::nullopt;
    const auto kept = coefficients.Month(month);
    const Outcome<ItuNoiseCoefficients>& c = *kept;
    if (!c) return std::nullopt;
    const GeoPoint& at = square->centre;
    std::array<double, 24> fa{};
    for (int hour = 0; hour < 24; ++hour) {
        const AtmosphericNoise n = AtmosphericNoiseAt(
            c.value(), MakeAtmosphericSite(c.value(), at.latDeg, at.lonDeg, hour), freqMHz);
        if (!ImplausibleFigure(n, freqMHz).empty()) return std::nullopt;
        fa[static_cast<std::size_t>(hour)] = n.fa;
    }
    return fa;
}

namespace {

// The chosen view read from the log once, ready to draw on any canvas.
std::function<void(DiagramCanvas&)> ViewDrawing(StationLog& log, const LogViewRequest& r,
                                                const ItuCoefficientCache& coefficients) {
    const LogSpan span{r.from, r.to};
    if (r.kind == LogViewKind::LevelOverTime) {
        auto in = std::make_shared<LevelOverTimeInputs>();
        in->width = r.width;
        in->height = r.height;
        in->series = QueryLevelSeries(log, r.bands, span, r.bandwidthHz);
        in->from = r.from;
        in->to = r.to;
        in->bandwidthHz = r.bandwidthHz;
        return [in](DiagramCanvas& canvas) { DrawLevelOverTime(canvas, *in); };
    }
    auto in = std::make_shared<HourlyProfileInputs>();
    in->width = r.width;
    in->height = r.height;
    in->bandwidthHz = r.bandwidthHz;
    // The span's last second names its last day.
    in->spanText = DayText(r.from) + " - " + DayText(std::max(r.from, r.to - 1));
    if (!r.bands.empty()) {
        const LogBand& band = r.bands.front();
        in->profile = QueryHourlyProfile(log, band, span, r.bandwidthHz);
        const int month = UtcFieldsOf(r.from + (r.to - r.from) / 2).month;
        in->atmosphericFa =
            AtmosphericFaByHour(LatestLocator(log), month, band.freqMHz, coefficients);
    }
    return [in](DiagramCanvas& canvas) { DrawHourlyProfile(canvas, *in); };
}

}  // namespace

LogViewPictures RenderLogView(StationLog& log, const LogViewRequest& r,
                              const ItuCoefficientCache& coefficients, double ratio) {
    const std::function<void(DiagramCanvas&)> draw = ViewDrawing(log, r, coefficients);
    LogViewPictures pictures;
    pictures.logical = DrawAtRatio(r.width, r.height, 1.0, draw);
    pictures.shown =
        ratio == 1.0 ? pictures.logical : DrawAtRatio(r.width, r.height, ratio, draw);
    return pictures;
}

DiagramPicture RenderProfileComparison(StationLog& log, const ProfileComparisonRequest& r,
                                       double ratio) {
    ProfileComparisonInputs in;
    in.width = r.width;
    in.height = r.height;
    in.bandwidthHz = r.bandwidthHz;
    in.before = QueryHourlyProfile(log, r.band, r.before, r.bandwidthHz);
    in.after = QueryHourlyProfile(log, r.band, r.after, r.bandwidthHz);
    in.beforeText = "before " + UtcSpanText(*r.before.from, *r.before.to);
    in.afterText = "after " + UtcSpanText(*r.after.from, *r.after.to);
    return DrawAtRatio(r.width, r.height, ratio,
                       [&in](DiagramCanvas& canvas) { DrawProfileComparison(canvas, in); });
}

}  // namespace fw
