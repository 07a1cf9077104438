#pragma once
// The neighbour comparison as a picture: the station's 24-hour profile and its neighbours'
// in one plot, for the window and the campaign report.
#include <string>

#include "diagram/picture.h"
#include "network/hourly_questions.h"

namespace fw {

struct NeighbourPictureRequest {
    std::string band;
    UtcSeconds from = 0, to = 0;  // the span compared, for the title
    int width = 800;
    int height = 500;
};

// Drawn at `ratio` times the logical size.
DiagramPicture RenderNeighbourComparison(const NeighbourComparison& c,
                                         const NeighbourPictureRequest& request, double ratio = 1);

}  // namespace fw
