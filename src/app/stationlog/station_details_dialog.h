#pragma once
// The modal dialog "Station Details": the station's callsign, operator, address, antenna and
// notes as kept in the station log.
#include <optional>

#include "stationlog/station_details.h"

class QWidget;

namespace fw {

// Starts from `current`; OK is greyed while a field holds what the log refuses, and the
// field's problem is shown. The edited details on OK, none on Cancel.
std::optional<StationDetails> RunStationDetailsDialog(QWidget* parent,
                                                      const StationDetails& current);

}  // namespace fw
