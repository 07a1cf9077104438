#pragma once
// The questions of the "Station Log" menu and of the log views' windows.
#include <QString>
#include <QStringList>
#include <optional>

#include "app/window/picture_printing.h"
#include "campaign/campaign_report.h"
#include "stationlog/log_queries.h"
#include "stationlog/station_details.h"

namespace fw {

class StationLogDialogs : public virtual PicturePrintDialogs {
  public:
    // A UTC span of the station log, proposed as `proposed` (both ends given); the chosen
    // span with from before to, or no value on cancel.
    virtual std::optional<LogSpan> chooseLogSpan(const QString& caption,
                                                 const LogSpan& proposed) = 0;
    // "Campaign Report…": the report's span within `whole`, optionally the spans before and
    // after, and the hours; no value on cancel.
    virtual std::optional<CampaignRequest> chooseCampaign(const LogSpan& whole) = 0;
    // "Station Details…": the details edited from `current`; no value on cancel.
    virtual std::optional<StationDetails> editStationDetails(const StationDetails& current) = 0;
};

}  // namespace fw
