#include "app/log_view_pictures.h"

#include "app/station_log_tasks.h"
#include "logviews/hourly_profile_view.h"
#include "logviews/level_over_time_view.h"
#include "stationlog/log_queries.h"
#include "stationlog/utc_text.h"

namespace fw {

namespace {

std::string DayText(UtcSeconds t) {
    return UtcStampText(t).substr(0, 10);  // "YYYY-MM-DD"
}

}  // namespace

DiagramPicture RenderLogView(StationLog& log, const LogViewRequest& r,
                             ItuCoefficientCache& coefficients) {
    const LogSpan span{r.from, r.to};
    if (r.kind == LogViewKind::LevelOverTime) {
        LevelOverTimeInputs in;
        in.width = r.width;
        in.height = r.height;
        in.series = QueryLevelSeries(log, r.bands, span, r.bandwidthHz);
        in.from = r.from;
        in.to = r.to;
        in.bandwidthHz = r.bandwidthHz;
        return RenderLevelOverTime(in);
    }
    HourlyProfileInputs in;
    in.width = r.width;
    in.height = r.height;
    in.bandwidthHz = r.bandwidthHz;
    // The span's last second names its last day.
    in.spanText = DayText(r.from) + " - " + DayText(std::max(r.from, r.to - 1));
    if (r.bands.empty()) return RenderHourlyProfile(in);
    const LogBand& band = r.bands.front();
    in.profile = QueryHourlyProfile(log, band, span, r.bandwidthHz);
    const int month = UtcFieldsOf(r.from + (r.to - r.from) / 2).month;
    in.atmosphericFa = AtmosphericFaByHour(LatestLocator(log), month, band.freqMHz, coefficients);
    return RenderHourlyProfile(in);
}

}  // namespace fw
