#include "network/square_map.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "libs/number_text.h"
#include "diagram/raster_canvas.h"
#include "diagram/render.h"

namespace fw {

namespace {

constexpr int Width = 960, Height = 720;
constexpr int Left = 70, Top = 60, Right = Width - 150, Bottom = Height - 50;
constexpr Rgb SquareLine = RgbHex(0xD8D8D8), FieldLine = RgbHex(0x606060);
constexpr double SquareLon = 2, SquareLat = 1, FieldLon = 20, FieldLat = 10;

// The part of the globe shown and its projection: equirectangular, a degree of longitude
// shortened by the cosine of the middle latitude.
struct View {
    double west = 0, east = 0, south = 0, north = 0;
    double pxPerDeg = 1, lonFactor = 1;
    int x0 = Left, y0 = Top;

    int x(double lon) const { return x0 + static_cast<int>(std::lround((lon - west) * pxPerDeg * lonFactor)); }
    int y(double lat) const { return y0 + static_cast<int>(std::lround((north - lat) * pxPerDeg)); }
};

// The squares with one square more on each side, on whole squares; the field JO for none.
View ViewOf(const std::vector<SquareValue>& squares) {
    View v{0, 20, 50, 60};
    if (!squares.empty()) {
        v = View{1e9, -1e9, 1e9, -1e9};
        for (const SquareValue& s : squares) {
            v.west = std::min(v.west, s.centre.lonDeg - 1.5 * SquareLon);
            v.east = std::max(v.east, s.centre.lonDeg + 1.5 * SquareLon);
            v.south = std::min(v.south, s.centre.latDeg - 1.5 * SquareLat);
            v.north = std::max(v.north, s.centre.latDeg + 1.5 * SquareLat);
        }
        v.west = std::max(-180.0, std::floor(v.west / SquareLon) * SquareLon);
        v.east = std::min(180.0, std::ceil(v.east / SquareLon) * SquareLon);
        v.south = std::max(-90.0, std::floor(v.south));
        v.north = std::min(90.0, std::ceil(v.north));
    }
    v.lonFactor = std::max(0.2, std::cos((v.south + v.north) / 2 * 3.14159265358979 / 180));
    v.pxPerDeg = std::min((Right - Left) / ((v.east - v.west) * v.lonFactor),
                          (Bottom - Top) / (v.north - v.south));
    v.x0 = Left + ((Right - Left) - static_cast<int>((v.east - v.west) * v.lonFactor * v.pxPerDeg)) / 2;
    v.y0 = Top + ((Bottom - Top) - static_cast<int>((v.north - v.south) * v.pxPerDeg)) / 2;
    return v;
}

std::string FieldName(double lon, double lat) {
    const int f = static_cast<int>((lon + 180) / FieldLon), g = static_cast<int>((lat + 90) / FieldLat);
    return {static_cast<char>('A' + std::clamp(f, 0, 17)), static_cast<char>('A' + std::clamp(g, 0, 17))};
}

std::string Degrees(double d) {
    return FixedText(d, 0) + "\u00B0";
}

void DrawGrid(DiagramCanvas& c, const View& v) {
    const double lonStep = (v.east - v.west) > 40 ? FieldLon : SquareLon;
    const double latStep = (v.north - v.south) > 20 ? FieldLat : SquareLat;
    const int labelEvery = std::max(1, static_cast<int>(std::ceil(60 / (lonStep * v.lonFactor * v.pxPerDeg))));
    int k = 0;
    for (double lon = v.west; lon <= v.east + 1e-9; lon += lonStep, ++k) {
        const bool field = std::fmod(lon + 180, FieldLon) == 0;
        c.DrawLine(v.x(lon), v.y(v.north), v.x(lon), v.y(v.south) + 1, field ? FieldLine : SquareLine);
        if (k % labelEvery == 0) c.DrawText(v.x(lon) - 10, v.y(v.south) + 6, Degrees(lon), Black, White);
    }
    const int latLabelEvery = std::max(1, static_cast<int>(std::ceil(24 / (latStep * v.pxPerDeg))));
    k = 0;
    for (double lat = v.south; lat <= v.north + 1e-9; lat += latStep, ++k) {
        const bool field = std::fmod(lat + 90, FieldLat) == 0;
        c.DrawLine(v.x(v.west), v.y(lat), v.x(v.east) + 1, v.y(lat), field ? FieldLine : SquareLine);
        if (k % latLabelEvery == 0) c.DrawText(v.x(v.west) - 45, v.y(lat) - 8, Degrees(lat), Black, White);
    }
}

void DrawFieldNames(DiagramCanvas& c, const View& v) {
    for (double lon = std::floor((v.west + 180) / FieldLon) * FieldLon - 180; lon < v.east; lon += FieldLon)
        for (double lat = std::floor((v.south + 90) / FieldLat) * FieldLat - 90; lat < v.north; lat += FieldLat) {
            const double west = std::max(lon, v.west), north = std::min(lat + FieldLat, v.north);
            c.DrawText(v.x(west) + 4, v.y(north) + 3, FieldName(lon + 1, lat + 1), FieldLine, White);
        }
}

void DrawScale(DiagramCanvas& c, double low, double high) {
    const int x = Right + 40, top = Top + 40, height = 300;
    c.DrawText(x - 10, Top + 8, "Fa dB", Black, White);
    c.DrawBox(x - 1, top - 1, 26, height + 2, White, Black);
    for (int i = 0; i < height; ++i)
        c.FillBox(x, top + i, 24, 1, ScaleColour(high - (high - low) * i / (height - 1), low, high));
    for (int k = 0; k <= 4; ++k) {
        const std::string text = FixedText(high - (high - low) * k / 4, 1);
        const int y = top + (height - 1) * k / 4;
        c.DrawLine(x + 24, y, x + 30, y, Black);
        c.DrawText(x + 34, y - 8, text, Black, White);
    }
}

}  // namespace

Rgb ScaleColour(double value, double low, double high) {
    static constexpr Rgb Stops[] = {RgbHex(0x2040C0), RgbHex(0x20A0E0), RgbHex(0x40C040),
                                    RgbHex(0xF0E020), RgbHex(0xF08020), RgbHex(0xD02020)};
    constexpr int Last = static_cast<int>(std::size(Stops)) - 1;
    const double t = high > low ? std::clamp((value - low) / (high - low), 0.0, 1.0) * Last : Last / 2.0;
    const int i = std::min(static_cast<int>(t), Last - 1);
    const double f = t - i;
    const auto mix = [f](std::uint8_t a, std::uint8_t b) {
        return static_cast<std::uint8_t>(std::lround(a + (b - a) * f));
    };
    return Rgb{mix(Stops[i].r, Stops[i + 1].r), mix(Stops[i].g, Stops[i + 1].g),
               mix(Stops[i].b, Stops[i + 1].b)};
}

DiagramPicture DrawSquareMap(const std::vector<SquareValue>& squares, const std::string& title) {
    RasterCanvas c(Width, Height);
    c.ClearCanvas();
    c.SetFont(DiagramFontFamily, 10);
    const View v = ViewOf(squares);
    double low = 1e300, high = -1e300;
    for (const SquareValue& s : squares) low = std::min(low, s.medianDb), high = std::max(high, s.medianDb);
    if (squares.empty()) low = 0, high = 1;
    if (high - low < 1) low -= 0.5, high += 0.5;
    for (const SquareValue& s : squares) {
        const int x1 = v.x(s.centre.lonDeg - SquareLon / 2), x2 = v.x(s.centre.lonDeg + SquareLon / 2);
        const int y1 = v.y(s.centre.latDeg + SquareLat / 2), y2 = v.y(s.centre.latDeg - SquareLat / 2);
        c.FillBox(x1, y1, x2 - x1, y2 - y1, ScaleColour(s.medianDb, low, high));
    }
    DrawGrid(c, v);
    DrawFieldNames(c, v);
    for (const SquareValue& s : squares) {
        const int x1 = v.x(s.centre.lonDeg - SquareLon / 2), y2 = v.y(s.centre.latDeg - SquareLat / 2);
        if (v.pxPerDeg >= 30) c.DrawText(x1 + 3, y2 - 18, s.square, Black, ScaleColour(s.medianDb, low, high));
        std::vector<DotCentre> dots;
        for (const GeoPoint& p : s.stations) dots.push_back({v.x(p.lonDeg), v.y(p.latDeg)});
        c.DrawDots(dots, 3, Black);
    }
    DrawScale(c, low, high);
    c.SetFont(DiagramFontFamily, 12);
    c.DrawText(Left, 16, title, Black, White);
    return c.takePicture();
}

}  // namespace fw
