#pragma once
// Positions and sizes of the main window's controls as created, in pixels relative to
// their parent. The layout rule moves only a few of them; the rest keep these places.
namespace fw {

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

struct Size {
    int width = 0;
    int height = 0;
    friend constexpr bool operator==(const Size&, const Size&) = default;
};

namespace design {

// Outer size of the main window as created, and its screen position.
inline constexpr Size Window{981, 580};
inline constexpr int WindowLeft = 338;
inline constexpr int WindowTop = 193;
// The outer size includes a frame and the caption and menu band; the client area, in which
// the controls below are placed, is this much smaller.
inline constexpr Size Chrome{8, 50};

// Window children.
inline constexpr Rect GBDia{1, 8, 553, 521};
inline constexpr Rect Panel1{560, 8, 401, 521};
// In GBDia.
inline constexpr Rect ImPlot{8, 16, 537, 497};
// In Panel1.
inline constexpr Rect GBDisplay{0, 0, 169, 129};
inline constexpr Rect RadioGroup1{0, 136, 169, 110};
inline constexpr Rect GBAddMeasurement{176, 0, 225, 169};
inline constexpr Rect ButEnter{176, 174, 225, 73};
inline constexpr Rect GBUD{0, 248, 401, 273};
// In the "Display Properties" group.
inline constexpr Rect LaBandwidth{8, 16, 73, 21};
inline constexpr Rect CBBandWidth{88, 16, 73, 21};
inline constexpr Rect CBbwMode{8, 44, 153, 25};
inline constexpr Rect LaYPos{8, 77, 57, 16};
inline constexpr Rect ScrollBarPos{72, 77, 89, 16};
inline constexpr Rect LaYWidth{8, 104, 57, 16};
inline constexpr Rect ScrollBarWidth{72, 104, 89, 16};
// In the "Add Measurement" group.
inline constexpr Rect CBBand{144, 16, 73, 21};
inline constexpr Rect CBFreqMode{24, 41, 113, 18};
inline constexpr Rect EditFrequency{144, 42, 73, 17};
inline constexpr Rect CBSValue{144, 64, 73, 21};
inline constexpr Rect EditGain{144, 88, 73, 17};
inline constexpr Rect EditAntdBm{144, 107, 73, 17};
inline constexpr Rect EditAntVol{144, 126, 73, 17};
inline constexpr Rect EditFieldStrength{144, 145, 73, 17};
inline constexpr int EntryCaptionLeft = 9;
inline constexpr int EntryCaptionLeftWide = 10;  // rows 5 and 6
inline constexpr int EntryCaptionWidth = 130;
// In GBUD.
inline constexpr Rect LBUserData{8, 14, 385, 249};
inline constexpr Rect PanDebug{16, 112, 369, 145};
// In PanDebug.
inline constexpr Rect Memo3{8, 8, 353, 129};

}  // namespace design
}  // namespace fw
