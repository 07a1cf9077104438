#include "network/neighbour_picture.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "diagram/scaled_canvas.h"
#include "logviews/neighbour_profile_view.h"
#include "stationlog/utc_text.h"

namespace fw {

DiagramPicture RenderNeighbourComparison(const NeighbourComparison& c,
                                         const NeighbourPictureRequest& r, double ratio) {
    NeighbourProfileInputs in;
    in.width = r.width;
    in.height = r.height;
    in.title = c.callsign + " and its neighbours, " + r.band;
    in.own.fill(std::nan(""));
    in.neighbours.fill(std::nan(""));
    int most = 0;
    for (const HourComparison& h : c.hours) {
        in.own[static_cast<std::size_t>(h.hour)] = h.ownDb;
        in.neighbours[static_cast<std::size_t>(h.hour)] = h.othersDb;
        most = std::max(most, h.stations);
    }
    char radius[32];
    std::snprintf(radius, sizeof radius, "%.0f", c.radiusKm);
    in.ownText = c.callsign + ": median of its hourly values, " + UtcSpanText(r.from, r.to);
    in.neighboursText = "neighbours within " + std::string(radius) + " km, up to " +
                        std::to_string(most) + (most == 1 ? " station" : " stations") +
                        "; shaded: " +
                        std::to_string(static_cast<int>(StandOutDb)) + " dB or more apart";
    in.standOutDb = StandOutDb;
    return DrawAtRatio(r.width, r.height, ratio,
                       [&in](DiagramCanvas& canvas) { DrawNeighbourProfiles(canvas, in); });
}

}  // namespace fw
