#include "output/report_page.h"

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

void PageBuilder::PagePicture(double x1Mm, double y1Mm, double x2Mm, double y2Mm) {
    page_.items.emplace_back(PagePictureItem{x1Mm, y1Mm, x2Mm, y2Mm});
}

std::string ReportFooterText(const NoiseReportTexts& texts) {
    std::string footer(ReportFooterPrefix);
    footer += texts.versionText;
    footer += " - ";
    footer += texts.copyrightText;
    return footer;
}

ReportPage BuildNoiseReport(int pictureWidthPx, int pictureHeightPx, const MeasList& list,
                            const NoiseReportTexts& texts, const TextWidthMm& textWidth) {
    ReportPage page;
    page.items.reserve(list.size() + 12);
    PageBuilder b(page, textWidth);

    b.SetPageFont(12, ReportFixedFont, false);
    b.PageText(std::string(ReportTitlePrefix) + texts.dateText, ReportLeftMm, 14);
    b.PageRule(ReportLeftMm, ReportRightMm, 20);

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

    b.SetPageFont(13, ReportFixedFont, true);
    b.PageText(std::string(ReportTableHeading), ReportLeftMm, 190);

    b.SetPageFont(13, ReportFixedFont, false);
    double y = ReportFirstHeaderMm;
    b.PageText(UserListHeader1, ReportLeftMm, y);
    y += ReportRowStepMm;
    b.PageText(UserListHeader2, ReportLeftMm, y);
    for (std::size_t i = 0; i < list.size(); ++i) {
        y += ReportRowStepMm;
        std::string line;
        line.reserve(64);
        AppendUserListLine(line, list, i, texts.decimalSeparator);
        b.PageText(std::move(line), ReportLeftMm, y);
    }

    b.PageFooter(ReportFooterText(texts), ReportLeftMm, ReportRightMm, ReportFooterRuleMm);
    return page;
}

}  // namespace fw
