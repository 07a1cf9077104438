#pragma once
// Zoom of the report preview: the navigator's zoom steps, the fitted zooms and the bounds
// every zoom is kept within. Zooms are whole percents; 100 % shows the page at 96 dpi.
#include <array>

namespace fw {

inline constexpr int MinPreviewZoom = 10;
inline constexpr int MaxPreviewZoom = 200;
inline constexpr int ActualSizeZoom = 100;
inline constexpr double PreviewDpiAt100 = 96.0;

// The steps of zoom in and zoom out, ascending.
inline constexpr std::array<int, 15> PreviewZoomLevels = {7,   10,  14,  20,  30,  45,  60, 80,
                                                          120, 170, 250, 350, 500, 650, 800};

int ClampPreviewZoom(int zoom);

// The next larger (smaller) level than `zoom`, kept within the bounds; past the last level
// the zoom stays where it is.
int ZoomInStep(int zoom);
int ZoomOutStep(int zoom);

// A page length in millimetres as screen pixels at 96 dpi.
double PagePixelsAt96(double mm);

// (area - 2 * gap - 20) / pagePixels * 100, rounded to a whole percent (a half to the even
// neighbour) and kept within the bounds.
int FitZoom(int areaPixels, int gapPixels, double pagePixels);
int FitWidthZoom(int areaWidth, int gapPixels, double pageWidthMm);
int FitHeightZoom(int areaHeight, int gapPixels, double pageHeightMm);
// Fit height for a page taller than wide, else fit width.
int FitWholePageZoom(int areaWidth, int areaHeight, int gapPixels, double pageWidthMm,
                     double pageHeightMm);

// Dots per inch of the preview image at a zoom.
inline double PreviewDpi(int zoom) {
    return PreviewDpiAt100 * zoom / 100.0;
}

}  // namespace fw
