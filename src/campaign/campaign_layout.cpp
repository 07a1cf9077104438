#include "campaign/campaign_layout.h"

#include <sstream>

#include "campaign/campaign_report.h"
#include "libs/real_text.h"

namespace fw {

namespace {

constexpr std::string_view BodyFont = ReportFooterFont;

}  // namespace

void CampaignLayout::newPage() {
    doc_.pages.emplace_back();
    PageBuilder b = builder();
    b.SetPageFont(12, ReportFixedFont, false);
    b.PageText(std::string(CampaignTitlePrefix) + texts_.dateText, ReportLeftMm, 14);
    b.PageRule(ReportLeftMm, ReportRightMm, 20);
    y_ = TopMm;
}

void CampaignLayout::room(double heightMm) {
    if (doc_.pages.empty() || y_ + heightMm > BottomMm) newPage();
}

void CampaignLayout::line(std::string text, double sizePt, std::string_view family, bool bold,
                          double stepMm, bool verbatim) {
    room(stepMm);
    PageBuilder b = builder();
    b.SetPageFont(sizePt, family, bold);
    b.PageText(verbatim ? std::move(text)
                        : WithDecimalSeparator(std::move(text), texts_.decimalSeparator),
               ReportLeftMm, y_);
    y_ += stepMm;
}

void CampaignLayout::heading(std::string text) {
    room(20);
    line(std::move(text), 14, ReportFixedFont, true, 9);
}

void CampaignLayout::subheading(std::string text) {
    room(16);
    skip(1.5);
    line(std::move(text), 10, ReportFixedFont, true, 5.5);
}

void CampaignLayout::paragraph(const std::string& text) {
    const PageFont font{std::string(BodyFont), 10, false};
    std::istringstream words(WithDecimalSeparator(text, texts_.decimalSeparator));
    std::string current;
    for (std::string word; words >> word;) {
        const std::string longer = current.empty() ? word : current + " " + word;
        if (!current.empty() && textWidth_(font, longer) > WidthMm) {
            line(current, 10, BodyFont, false, 4.6, true);
            current = word;
        } else {
            current = longer;
        }
    }
    if (!current.empty()) line(current, 10, BodyFont, false, 4.6, true);
    y_ += 2.3;
}

void CampaignLayout::finish() {
    const int count = static_cast<int>(doc_.pages.size());
    for (int n = 1; n <= count; ++n) {
        PageBuilder b(doc_.pages[static_cast<std::size_t>(n - 1)], textWidth_);
        b.PageFooter(ReportFooterText(texts_), ReportLeftMm, ReportRightMm, ReportFooterRuleMm);
        b.PageTextRight(ReportPageNumberText(n, count), ReportRightMm, ReportFooterTextMm);
    }
}

}  // namespace fw
