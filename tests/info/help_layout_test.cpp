#include "packaging/help_layout.h"

#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <cmath>
#include <string>
#include <vector>

#include "libs/regional.h"

namespace fw::helpdoc {
namespace {

void EnsureGuiApplication() {
    if (QGuiApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "info_test";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    UseCNumericLocale();
}

// A PDF page device in memory with the guides' page layout and resolution.
struct PdfPages {
    QBuffer buffer;
    QPdfWriter writer{&buffer};
    PdfPages() {
        buffer.open(QIODevice::WriteOnly);
        writer.setPageLayout(GuidePageLayout());
        writer.setResolution(300);
    }
};

int PageAt(const QTextDocument& document, qreal y) {
    return static_cast<int>(std::floor(y / document.pageSize().height()));
}

// Pages on which a block's first line starts and its last line ends.
struct BlockPages {
    int first = 0;
    int last = 0;
};

BlockPages PagesOf(const QTextDocument& document, const QTextBlock& block) {
    const QRectF rect = document.documentLayout()->blockBoundingRect(block);
    const QTextLayout* layout = block.layout();
    if (layout->lineCount() == 0)
        return {PageAt(document, rect.top()), PageAt(document, rect.top())};
    const qreal origin = rect.top() - layout->boundingRect().top();
    const QTextLine last = layout->lineAt(layout->lineCount() - 1);
    return {PageAt(document, origin + layout->lineAt(0).y()),
            PageAt(document, origin + last.y() + last.height() - 0.5)};
}

// The texts of the headings whose following block starts on a later page.
std::vector<std::string> HeadingsLeftAlone(const QTextDocument& document) {
    std::vector<std::string> alone;
    for (QTextBlock b = document.begin(); b.next().isValid(); b = b.next()) {
        if (b.blockFormat().headingLevel() == 0) continue;
        if (PagesOf(document, b.next()).first > PagesOf(document, b).last)
            alone.push_back(b.text().toStdString());
    }
    return alone;
}

QTextBlock BlockWithText(const QTextDocument& document, const QString& text) {
    for (QTextBlock b = document.begin(); b.isValid(); b = b.next())
        if (b.text() == text) return b;
    return {};
}

TEST(HelpLayout, NoHeadingOfEitherGuideIsLeftAloneAtTheFootOfAPage) {
    EnsureGuiApplication();
    for (const char* guide : {"FloorwatchEN.html", "FloorwatchDE.html"}) {
        SCOPED_TRACE(guide);
        QFile file(QStringLiteral(FW_SOURCE_DIR "/docs/help/") + QLatin1String(guide));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        PdfPages pages;
        QTextDocument document;
        LoadGuide(document, QString::fromUtf8(file.readAll()), pages.writer);
        KeepHeadingsWithText(document);
        EXPECT_EQ(HeadingsLeftAlone(document), std::vector<std::string>{});
        // The whole guide is laid out: its last block ends on a page counted.
        ASSERT_GT(document.pageCount(), 1);
        EXPECT_LE(PagesOf(document, document.lastBlock()).last + 1, document.pageCount());
    }
}

// Filler lines push a heading (or two headings in a row) to the foot of page 1; the
// heading must then start page 2 with its text, the filler staying on page 1.
TEST(HelpLayout, HeadingsAtTheFootOfAPageMoveToTheNextWithTheirText) {
    EnsureGuiApplication();
    struct Case {
        const char* name;
        QString headings;
        std::vector<QString> texts;
    };
    const std::vector<Case> cases = {
        {"one heading", QStringLiteral("<h2>Moved</h2>"), {QStringLiteral("Moved")}},
        {"a heading under a heading",
         QStringLiteral("<h2>Upper</h2><h3>Lower</h3>"),
         {QStringLiteral("Upper"), QStringLiteral("Lower")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bool found = false;
        for (int fillers = 20; fillers < 200 && !found; ++fillers) {
            QString html;
            for (int i = 0; i < fillers; ++i) html += QStringLiteral("<p>Filler %1</p>").arg(i);
            html += c.headings + QStringLiteral("<p>Text after the heading</p>");
            PdfPages pages;
            QTextDocument document;
            LoadGuide(document, html, pages.writer);
            // The case wanted: the last heading alone at the foot of page 1.
            if (HeadingsLeftAlone(document) !=
                std::vector<std::string>{c.texts.back().toStdString()})
                continue;
            if (PagesOf(document, BlockWithText(document, c.texts.front())).first != 0) continue;
            found = true;

            EXPECT_EQ(KeepHeadingsWithText(document), 1);  // one break, before the first heading
            EXPECT_EQ(HeadingsLeftAlone(document), std::vector<std::string>{});
            const QTextBlock text =
                BlockWithText(document, QStringLiteral("Text after the heading"));
            EXPECT_EQ(PagesOf(document, text).first, 1);
            for (const QString& heading : c.texts)
                EXPECT_EQ(PagesOf(document, BlockWithText(document, heading)).first, 1);
            const QString lastFiller = QStringLiteral("Filler %1").arg(fillers - 1);
            EXPECT_EQ(PagesOf(document, BlockWithText(document, lastFiller)).last, 0);
        }
        EXPECT_TRUE(found) << "no filler count left the heading alone at the foot of page 1";
    }
}

// Both guides as the build writes them: every page painted, none lost to a layout left
// half done when the headings were moved.
TEST(HelpLayout, PaintsEveryPageOfTheGuide) {
    EnsureGuiApplication();
    for (const char* guide : {"FloorwatchEN.html", "FloorwatchDE.html"}) {
        SCOPED_TRACE(guide);
        QFile file(QStringLiteral(FW_SOURCE_DIR "/docs/help/") + QLatin1String(guide));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(file.readAll());
        QBuffer pdf;
        pdf.open(QIODevice::WriteOnly);
        {
            QPdfWriter writer(&pdf);
            writer.setPageLayout(GuidePageLayout());
            writer.setResolution(300);
            QTextDocument document;
            LoadGuide(document, html, writer);
            KeepHeadingsWithText(document);
            PaintPages(document, writer);
        }
        // The pages expected, counted on a copy laid out in full at every step.
        PdfPages pages;
        QTextDocument expected;
        LoadGuide(expected, html, pages.writer);
        for (QTextBlock b = expected.begin(); b.isValid(); b = b.next()) PagesOf(expected, b);
        KeepHeadingsWithText(expected);
        for (QTextBlock b = expected.begin(); b.isValid(); b = b.next()) PagesOf(expected, b);
        const int textPages = PagesOf(expected, expected.lastBlock()).last + 1;
        ASSERT_GT(textPages, 2);

        const QByteArray bytes = pdf.data();
        int pageObjects = 0;
        for (qsizetype at = bytes.indexOf("/Type /Page"); at >= 0;
             at = bytes.indexOf("/Type /Page", at + 1)) {
            if (bytes.mid(at + 11, 1) != "s") ++pageObjects;
        }
        EXPECT_EQ(pageObjects, textPages);  // and no empty page after the text
    }
}

}  // namespace
}  // namespace fw::helpdoc
