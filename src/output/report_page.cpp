#include "output/report_page.h"

#include <algorithm>

#include "measure/meas_list.h"

namespace fw {

void PageBuilder::SetPageFont(double sizePt, std::string_view family, bool bold) {
    font_ = PageFont{std::string(family), sizePt, bold};
}

void PageBuilder::PageText(std::string text, double xMm, double yMm) {
    page_.items.emplace_back(PageTextItem{font_, xMm, yMm, std::move(text)});
}

void PageBuilder::PageRule(double x1Mm, double x2Mm, double yMm) {
    page_.items.emplace_back(PageLineItem{x1Mm, yMm, x2Mm, yMm});
}

void PageBuilder::PageFooter(std::string text, double x1Mm, double x2Mm, double yMm) {
    PageRule(x1Mm, x2Mm, yMm);
    SetPageFont(8, ReportFooterFont, false);
    const double width = textWidth_ ? textWidth_(font_, text) : 0.0;
    PageText(std::move(text), (x1Mm + x2Mm) / 2 - width / 2, yMm + 2);
}

void PageBuilder::PageTextRight(std::string text, double xRightMm, double yMm) {
    const double width = textWidth_ ? textWidth_(font_, text) : 0.0;
    PageText(std::move(text), xRightMm - width, yMm);
}

void PageBuilder::PagePicture(double x1Mm, double y1Mm, double x2Mm, double y2Mm,
                              std::size_t picture) {
    page_.items.emplace_back(PagePictureItem{x1Mm, y1Mm, x2Mm, y2Mm, picture});
}

std::string ReportFooterText(const NoiseReportTexts& texts) {
    std::string footer(ReportFooterPrefix);
    footer += texts.versionText;
    footer += " - ";
    footer += texts.copyrightText;
    return footer;
}

int ReportPageCount(std::size_t rows) {
    if (rows <= ReportFirstPageRows) return 1;
    const std::size_t further = rows - ReportFirstPageRows;
    return 1 + static_cast<int>((further + ReportFurtherPageRows - 1) / ReportFurtherPageRows);
}

std::string ReportPageNumberText(int n, int count) {
    return "Page " + std::to_string(n) + " of " + std::to_string(count);
}

namespace {

// Title with the date and its rule, at the top of every page.
void AddTitle(PageBuilder& b, const NoiseReportTexts& texts) {
    b.SetPageFont(12, ReportFixedFont, false);
    b.PageText(std::string(ReportTitlePrefix) + texts.dateText, ReportLeftMm, 14);
    b.PageRule(ReportLeftMm, ReportRightMm, 20);
}

// Subtitle and picture between the title and the table of page 1.
void AddSubtitleAndPicture(PageBuilder& b, int pictureWidthPx, int pictureHeightPx) {
    b.SetPageFont(16, ReportFixedFont, true);
    b.PageText(std::string(ReportSubtitle), ReportLeftMm, 30);

    // The picture is always 170.4975 mm wide and keeps its proportions; its height is not
    // limited. A picture without pixels has no proportions and is left out.
    if (pictureWidthPx > 0 && pictureHeightPx > 0) {
        const double heightMm =
            ReportPictureWidthMm * static_cast<double>(pictureHeightPx) / pictureWidthPx;
        b.PagePicture(ReportLeftMm, ReportPictureTopMm, ReportLeftMm + ReportPictureWidthMm,
                      ReportPictureTopMm + heightMm);
    }
}

// The heading at headingY, the two header lines and rows [first, first + count) below it.
void AddTable(PageBuilder& b, double headingY, const MeasList& list, std::size_t first,
              std::size_t count, char decimalSeparator) {
    b.SetPageFont(13, ReportFixedFont, true);
    b.PageText(std::string(ReportTableHeading), ReportLeftMm, headingY);

    b.SetPageFont(13, ReportFixedFont, false);
    double y = headingY + ReportRowStepMm;
    b.PageText(UserListHeader1, ReportLeftMm, y);
    y += ReportRowStepMm;
    b.PageText(UserListHeader2, ReportLeftMm, y);
    for (std::size_t i = first; i < first + count; ++i) {
        y += ReportRowStepMm;
        std::string line;
        line.reserve(64);
        AppendUserListLine(line, list, i, decimalSeparator);
        b.PageText(std::move(line), ReportLeftMm, y);
    }
}

}  // namespace

ReportDocument BuildNoiseReport(int pictureWidthPx, int pictureHeightPx, const MeasList& list,
                                const NoiseReportTexts& texts, const TextWidthMm& textWidth) {
    const int count = ReportPageCount(list.size());
    ReportDocument report;
    report.pages.resize(static_cast<std::size_t>(count));
    const std::string footer = ReportFooterText(texts);
    std::size_t row = 0;
    for (int n = 1; n <= count; ++n) {
        ReportPage& page = report.pages[static_cast<std::size_t>(n - 1)];
        const bool first = n == 1;
        const std::size_t rows =
            std::min(list.size() - row, first ? ReportFirstPageRows : ReportFurtherPageRows);
        page.items.reserve(rows + 13);
        PageBuilder b(page, textWidth);

        AddTitle(b, texts);
        if (first) AddSubtitleAndPicture(b, pictureWidthPx, pictureHeightPx);
        AddTable(b, first ? ReportFirstHeadingMm : ReportFurtherHeadingMm, list, row, rows,
                 texts.decimalSeparator);
        row += rows;

        b.PageFooter(footer, ReportLeftMm, ReportRightMm, ReportFooterRuleMm);
        // The footer's font is current: the page number shares it and its line.
        if (count > 1)
            b.PageTextRight(ReportPageNumberText(n, count), ReportRightMm, ReportFooterTextMm);
    }
    return report;
}

}  // namespace fw
