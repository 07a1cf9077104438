#pragma once
// Lays out the campaign report page by page: a title on each new page, lines that move on
// down. The numbers in its texts take the decimal separator of the printed report's texts.
#include <string>

#include "output/report_page.h"

namespace fw {

class CampaignLayout {
  public:
    static constexpr double TopMm = 30;
    static constexpr double BottomMm = 265;  // the last line's top; the footer rule lies at 270
    static constexpr double WidthMm = ReportRightMm - ReportLeftMm;

    CampaignLayout(ReportDocument& doc, const NoiseReportTexts& texts, const TextWidthMm& textWidth)
        : doc_(doc), texts_(texts), textWidth_(textWidth) {}

    void newPage();
    // Starts a new page unless `heightMm` still fits on this one.
    void room(double heightMm);
    // One line; a `verbatim` one (a file name, the user's own texts) keeps its points.
    void line(std::string text, double sizePt, std::string_view family, bool bold, double stepMm,
              bool verbatim = false);
    // A line in the report's fixed font at 10 pt, or 8 pt for tables.
    void info(std::string text, bool verbatim = false) {
        line(std::move(text), 10, ReportFixedFont, false, 5, verbatim);
    }
    void row(std::string text, bool bold = false) {
        line(std::move(text), 8, ReportFixedFont, bold, 4.2);
    }
    void heading(std::string text);
    void subheading(std::string text);
    // Body text in lines that fit the page's width, then half a line of space.
    void paragraph(const std::string& text);
    void skip(double mm) { y_ += mm; }
    double y() const { return y_; }
    // The page in hand, for drawing charts on it.
    PageBuilder builder() { return PageBuilder(doc_.pages.back(), textWidth_); }
    char decimalSeparator() const { return texts_.decimalSeparator; }

    // The footer and "Page n of N" on every page.
    void finish();

  private:
    ReportDocument& doc_;
    const NoiseReportTexts& texts_;
    const TextWidthMm& textWidth_;
    double y_ = TopMm;
};

}  // namespace fw
