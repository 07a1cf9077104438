#pragma once
// The modal dialog of "Campaign Report…": the report's span, optionally the spans before and
// after a change to compare, and the UTC hours of the day that count.
#include <optional>

#include "campaign/campaign_report.h"

class QWidget;

namespace fw {

inline constexpr const char* CampaignCaption = "Campaign Report";

// Proposes `whole` as the report's span and its two halves as before and after, the
// comparison off and the whole day. OK is refused while a span's start does not lie before
// its end. No value on cancel.
std::optional<CampaignRequest> RunCampaignDialog(QWidget* parent, const LogSpan& whole);

}  // namespace fw
