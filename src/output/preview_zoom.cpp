#include "output/preview_zoom.h"

#include <algorithm>
#include <cmath>

namespace fw {

int ClampPreviewZoom(int zoom) {
    return std::clamp(zoom, MinPreviewZoom, MaxPreviewZoom);
}

int ZoomInStep(int zoom) {
    const auto next = std::upper_bound(PreviewZoomLevels.begin(), PreviewZoomLevels.end(), zoom);
    return ClampPreviewZoom(next == PreviewZoomLevels.end() ? zoom : *next);
}

int ZoomOutStep(int zoom) {
    const auto atOrAbove =
        std::lower_bound(PreviewZoomLevels.begin(), PreviewZoomLevels.end(), zoom);
    return ClampPreviewZoom(atOrAbove == PreviewZoomLevels.begin() ? zoom : *(atOrAbove - 1));
}

double PagePixelsAt96(double mm) {
    return mm / 25.4 * PreviewDpiAt100;
}

int FitZoom(int areaPixels, int gapPixels, double pagePixels) {
    if (!(pagePixels > 0)) return ActualSizeZoom;
    const double zoom = (areaPixels - 2.0 * gapPixels - 20.0) * 100.0 / pagePixels;
    const double rounded = std::nearbyint(std::clamp(zoom, -1e6, 1e6));
    return ClampPreviewZoom(static_cast<int>(rounded));
}

int FitWidthZoom(int areaWidth, int gapPixels, double pageWidthMm) {
    return FitZoom(areaWidth, gapPixels, PagePixelsAt96(pageWidthMm));
}

int FitHeightZoom(int areaHeight, int gapPixels, double pageHeightMm) {
    return FitZoom(areaHeight, gapPixels, PagePixelsAt96(pageHeightMm));
}

int FitWholePageZoom(int areaWidth, int areaHeight, int gapPixels, double pageWidthMm,
                     double pageHeightMm) {
    // The on-screen image has the page's proportions at every zoom.
    if (pageHeightMm > pageWidthMm) return FitHeightZoom(areaHeight, gapPixels, pageHeightMm);
    return FitWidthZoom(areaWidth, gapPixels, pageWidthMm);
}

}  // namespace fw
