#include "packaging/help_layout.h"

#include <QAbstractTextDocumentLayout>
#include <QFont>
#include <QFontMetricsF>
#include <QMarginsF>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <cmath>

namespace fw::helpdoc {

namespace {

// Room at the foot of every page for its number, in lines of the body font.
constexpr qreal FooterLines = 2.5;

QFont BodyFont() {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(10.5);
    return font;
}

// Qt lays a document out lazily, block by block as they are asked for; measuring blocks of a
// half-done layout and then changing a format can leave the rest of the document unlaid (and
// unpainted). Laying it all out first keeps every measure and page count whole.
void LayOutWhole(QTextDocument& document) {
    document.pageCount();
}

int PageAt(qreal y, qreal pageHeight) {
    return static_cast<int>(std::floor(y / pageHeight));
}

// Top of the block's first line, or of the block itself when it has no lines, and bottom of
// its last line, in document coordinates.
qreal FirstLineTop(const QTextDocument& document, const QTextBlock& block) {
    const QRectF rect = document.documentLayout()->blockBoundingRect(block);
    const QTextLayout* layout = block.layout();
    if (!layout || layout->lineCount() == 0) return rect.top();
    return rect.top() + layout->lineAt(0).y() - layout->boundingRect().top();
}

qreal LastLineBottom(const QTextDocument& document, const QTextBlock& block) {
    const QRectF rect = document.documentLayout()->blockBoundingRect(block);
    const QTextLayout* layout = block.layout();
    if (!layout || layout->lineCount() == 0) return rect.bottom();
    const QTextLine last = layout->lineAt(layout->lineCount() - 1);
    return rect.top() + last.y() + last.height() - layout->boundingRect().top();
}

bool IsHeading(const QTextBlock& block) {
    return block.isValid() && block.blockFormat().headingLevel() > 0;
}

bool BreaksBefore(const QTextBlock& block) {
    return block.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore;
}

// The first of the headings that directly precede `block`'s text, `block` included.
QTextBlock FirstOfHeadings(QTextBlock block) {
    while (IsHeading(block.previous())) block = block.previous();
    return block;
}

// The first of the headings in a row of which one ends a page while the next block starts a
// later one, if any; headings that already start a page are left as they are.
QTextBlock HeadingsLeftAlone(const QTextDocument& document) {
    const qreal pageHeight = document.pageSize().height();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextBlock next = block.next();
        if (!IsHeading(block) || !next.isValid()) continue;
        // The heading's last line is within its page, so a hair above its bottom is too.
        const int headingPage = PageAt(LastLineBottom(document, block) - 0.5, pageHeight);
        if (PageAt(FirstLineTop(document, next), pageHeight) <= headingPage) continue;
        const QTextBlock first = FirstOfHeadings(block);
        if (!BreaksBefore(first)) return first;
    }
    return {};
}

}  // namespace

QPageLayout GuidePageLayout() {
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(20, 18, 20, 18),
                       QPageLayout::Millimeter);
}

void LoadGuide(QTextDocument& document, const QString& html, QPagedPaintDevice& device) {
    document.setDefaultFont(BodyFont());
    document.setDefaultStyleSheet(QStringLiteral(
        "h1 { font-size: 20pt; color: #1a3c6e; } h2 { font-size: 14pt; color: #1a3c6e; }"
        " h3 { font-size: 11.5pt; } pre { font-family: 'Liberation Mono'; font-size: 8.5pt; }"
        " tt { font-family: 'Liberation Mono'; }"));
    document.setHtml(html);
    // Laid out in the device's pixels, so that what is measured here is what is painted.
    document.documentLayout()->setPaintDevice(&device);
    document.setDocumentMargin(0);
    QTextFrameFormat root = document.rootFrame()->frameFormat();
    root.setBottomMargin(FooterLines * QFontMetricsF(BodyFont(), &device).lineSpacing());
    document.rootFrame()->setFrameFormat(root);
    document.setPageSize(QSizeF(device.width(), device.height()));
    LayOutWhole(document);
}

int KeepHeadingsWithText(QTextDocument& document) {
    int moved = 0;
    // Each move lays the document out anew; a heading is moved at most once, so this ends.
    for (QTextBlock alone = HeadingsLeftAlone(document); alone.isValid();
         alone = HeadingsLeftAlone(document)) {
        QTextBlockFormat format = alone.blockFormat();
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        QTextCursor(alone).setBlockFormat(format);
        LayOutWhole(document);
        ++moved;
    }
    return moved;
}

int UsedPageCount(QTextDocument& document) {
    LayOutWhole(document);
    return PageAt(LastLineBottom(document, document.lastBlock()) - 0.5,
                  document.pageSize().height()) +
           1;
}

void PaintPages(QTextDocument& document, QPagedPaintDevice& device) {
    const int pages = UsedPageCount(document);
    const QSizeF page = document.pageSize();
    QPainter painter(&device);
    const QFont numberFont = BodyFont();
    for (int i = 0; i < pages; ++i) {
        if (i > 0) device.newPage();
        const QRectF view(0, i * page.height(), page.width(), page.height());
        painter.save();
        painter.translate(0, -view.top());
        painter.setClipRect(view);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = view;
        document.documentLayout()->draw(&painter, context);
        painter.restore();
        painter.setFont(numberFont);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(0, 0, page.width(), page.height()),
                         Qt::AlignRight | Qt::AlignBottom, QString::number(i + 1));
    }
}

}  // namespace fw::helpdoc
