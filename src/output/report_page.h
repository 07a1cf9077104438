#pragma once
// The printed noise report as a plain page model: pages of texts, lines and one picture placed
// in millimetres from the top-left corner of an A4 portrait sheet, drawn in the order added.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace fw {

class MeasList;

inline constexpr double A4WidthMm = 210.0;
inline constexpr double A4HeightMm = 297.0;

// Font families the report asks for; the renderer maps them to installed faces.
inline constexpr std::string_view ReportFixedFont = "Courier New";
inline constexpr std::string_view ReportFooterFont = "Arial";

struct PageFont {
    std::string family;
    double sizePt = 12;
    bool bold = false;

    bool operator==(const PageFont&) const = default;
};

// A text line with the top-left corner of its cell at (xMm, yMm); black, no background.
struct PageTextItem {
    PageFont font;
    double xMm = 0;
    double yMm = 0;
    std::string text;  // UTF-8

    bool operator==(const PageTextItem&) const = default;
};

// A solid black line, one dot wide at 600 dpi.
struct PageLineItem {
    double x1Mm = 0, y1Mm = 0, x2Mm = 0, y2Mm = 0;

    bool operator==(const PageLineItem&) const = default;
};

// One of the report's pictures stretched into the rectangle (x1, y1)-(x2, y2).
struct PagePictureItem {
    double x1Mm = 0, y1Mm = 0, x2Mm = 0, y2Mm = 0;
    std::size_t picture = 0;  // which of the report's pictures; the noise report has one

    bool operator==(const PagePictureItem&) const = default;
};

struct PagePoint {
    double xMm = 0, yMm = 0;
    bool operator==(const PagePoint&) const = default;
};

enum class PageDash { Solid, Dashed, Dotted };

// A vector path through the points: an open line, or a closed outline, stroked in a grey
// (0 black, 1 white) and optionally filled, so that charts stay sharp at any size and small.
struct PagePathItem {
    std::vector<PagePoint> points;
    bool closed = false;
    double lineWidthMm = 0.2;  // 0: no stroke
    PageDash dash = PageDash::Solid;
    double grey = 0;
    double fillGrey = -1;  // below 0: not filled

    bool operator==(const PagePathItem&) const = default;
};

// A chart marker centred on a point; the shapes tell series apart in black and white.
enum class PageMarkerShape { Circle, Square, Triangle, Diamond };

struct PageMarkerItem {
    PagePoint at;
    PageMarkerShape shape = PageMarkerShape::Circle;
    double sizeMm = 1.2;  // the width of the shape
    bool filled = true;
    double grey = 0;

    bool operator==(const PageMarkerItem&) const = default;
};

using PageItem =
    std::variant<PageTextItem, PageLineItem, PagePictureItem, PagePathItem, PageMarkerItem>;

struct ReportPage {
    double widthMm = A4WidthMm;
    double heightMm = A4HeightMm;
    std::vector<PageItem> items;  // in drawing order
};

// The report's pages in order; page n is pages[n - 1].
struct ReportDocument {
    std::vector<ReportPage> pages;
    std::string title = "Noise Report";  // the PDF's document title
};

// Width of a text in a font, in millimetres.
using TextWidthMm = std::function<double(const PageFont&, std::string_view text)>;

// Adds items to a page with a current font, as the report's layout steps are phrased.
class PageBuilder {
  public:
    PageBuilder(ReportPage& page, TextWidthMm textWidth)
        : page_(page), textWidth_(std::move(textWidth)) {}

    void SetPageFont(double sizePt, std::string_view family, bool bold);
    void PageText(std::string text, double xMm, double yMm);
    // Horizontal line from (x1, y) to (x2, y).
    void PageRule(double x1Mm, double x2Mm, double yMm);
    // A rule at y, then the text in Arial 8 pt centred on (x1 + x2) / 2 with its top at y + 2.
    void PageFooter(std::string text, double x1Mm, double x2Mm, double yMm);
    // Text in the current font whose right edge lies at xRight.
    void PageTextRight(std::string text, double xRightMm, double yMm);
    void PagePicture(double x1Mm, double y1Mm, double x2Mm, double y2Mm, std::size_t picture = 0);
    void PagePath(PagePathItem path) { page_.items.emplace_back(std::move(path)); }
    void PageMarker(const PageMarkerItem& marker) { page_.items.emplace_back(marker); }
    const PageFont& font() const { return font_; }
    const TextWidthMm& textWidth() const { return textWidth_; }

  private:
    ReportPage& page_;
    TextWidthMm textWidth_;
    PageFont font_{std::string(ReportFixedFont), 12, false};
};

// What the report shows besides the measurement list.
struct NoiseReportTexts {
    std::string dateText;       // today in the system's short date format
    std::string versionText;    // e.g. "v 1.0"
    std::string copyrightText;  // the author's copyright line
    char decimalSeparator = '.';
};

inline constexpr std::string_view ReportTitlePrefix = "Noise Report generated on ";
inline constexpr std::string_view ReportSubtitle =
    "Local man-made noise with respect to ITU-R P.372";
inline constexpr std::string_view ReportTableHeading = "Noise Measurements";
inline constexpr std::string_view ReportFooterPrefix = "Printed with Floorwatch ";

// Layout constants of the report, in millimetres.
inline constexpr double ReportLeftMm = 20.0;
inline constexpr double ReportRightMm = 190.0;
inline constexpr double ReportPictureTopMm = 35.0;
// 644.4 pixels at 96 pixels per inch, whatever the picture's pixel size.
inline constexpr double ReportPictureWidthMm = 644.4 / 96.0 * 25.4;
// The table heading on page 1 and on every further page; the two header lines and the rows
// follow it every 5 mm.
inline constexpr double ReportFirstHeadingMm = 190.0;
inline constexpr double ReportFurtherHeadingMm = 30.0;
inline constexpr double ReportRowStepMm = 5.0;
inline constexpr double ReportFooterRuleMm = 270.0;
inline constexpr double ReportFooterTextMm = ReportFooterRuleMm + 2.0;
// Rows that fit above the footer rule: page 1 from 205 mm, further pages from 45 mm, both
// down to 265 mm.
inline constexpr std::size_t ReportFirstPageRows = 13;
inline constexpr std::size_t ReportFurtherPageRows = 45;

// "Printed with Floorwatch <version> - <copyright>".
std::string ReportFooterText(const NoiseReportTexts& texts);

// Pages a report of `rows` measurements takes: 1 up to 13 rows, one more per 45 rows after.
int ReportPageCount(std::size_t rows);

// "Page n of N".
std::string ReportPageNumberText(int n, int count);

// The report. Page 1: title with the date, rule, subtitle, the picture 170.4975 mm wide
// keeping the proportions of a pictureWidthPx x pictureHeightPx bitmap, the table heading, the
// two header lines, rows 1 to 13 every 5 mm from y = 205, and the centred footer. Every
// further page: title and rule, the heading at 30 mm, the header lines and up to 45 rows from
// y = 45, and the footer. With more than one page every footer also says "Page n of N",
// right-aligned to the rules' end.
ReportDocument BuildNoiseReport(int pictureWidthPx, int pictureHeightPx, const MeasList& list,
                                const NoiseReportTexts& texts, const TextWidthMm& textWidth);

}  // namespace fw
