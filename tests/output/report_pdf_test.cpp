// The report drawn on real devices: the preview image, a PDF file and a CUPS printer whose
// PDF output is read back with poppler's tools.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cmath>
#include <map>
#include <span>
#include <thread>

#include "gui_app_environment.h"
#include "measure/meas_list.h"
#include "output/report_page.h"
#include "output/qt/report_render.h"

namespace fw {
namespace {

constexpr double PtToMm = 25.4 / 72.0;
constexpr double PictureWidthMm = 170.4975;
constexpr const char* PrinterQueue = "FloorwatchPDF";

struct Word {
    QString text;
    double xMin, yMin, xMax, yMax;  // mm
};

// Runs a tool and gives its standard output; a tool that fails is a test failure.
QByteArray RunTool(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    const bool finished = p.waitForFinished(120000);
    EXPECT_TRUE(finished && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
        << program.toStdString() << ": " << p.readAllStandardError().toStdString();
    return p.readAllStandardOutput();
}

// The words of a page with their boxes, from `pdftotext -bbox`.
std::vector<Word> PdfWords(const QString& pdf, const QString& workDir, int page = 1) {
    const QString html = workDir + "/words.html";
    const QString n = QString::number(page);
    RunTool("pdftotext", {"-bbox", "-f", n, "-l", n, pdf, html});
    QFile f(html);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(f.readAll());
    static const QRegularExpression re(
        R"re(<word xMin="([-\d.]+)" yMin="([-\d.]+)" xMax="([-\d.]+)" yMax="([-\d.]+)">([^<]*)</word>)re");
    std::vector<Word> words;
    for (auto it = re.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        words.push_back({m.captured(5), m.captured(1).toDouble() * PtToMm,
                         m.captured(2).toDouble() * PtToMm, m.captured(3).toDouble() * PtToMm,
                         m.captured(4).toDouble() * PtToMm});
    }
    return words;
}

// The first word with this text (or this text and the table's "|" after it) whose top
// lies near y (any y when y < 0).
const Word* FindWord(const std::vector<Word>& words, const QString& text, double y = -1) {
    for (const Word& w : words) {
        const bool same = w.text == text || w.text == text + "|";
        if (same && (y < 0 || std::abs(w.yMin - y) < 2.0)) return &w;
    }
    return nullptr;
}

// Distance in mm from a word's left edge to its line's start, for a line of the fixed font
// at 13 pt whose word begins after `blanks` blanks (0.6 em per character).
double FixedIndentMm(int blanks) {
    return blanks * 0.6 * 13 * PtToMm;
}

// Bounding box in mm of the picture's pure red, from the page rendered at 100 dpi.
QRectF RedBoxMm(const QString& pdf, const QString& workDir) {
    const QString prefix = workDir + "/page";
    RunTool("pdftoppm", {"-r", "100", "-f", "1", "-l", "1", "-singlefile", "-png", pdf, prefix});
    QImage page(prefix + ".png");
    EXPECT_FALSE(page.isNull());
    int left = page.width(), top = page.height(), right = -1, bottom = -1;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            const QColor c = page.pixelColor(x, y);
            if (c.red() > 200 && c.green() < 60 && c.blue() < 60) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    const double mmPerPx = 25.4 / 100;
    return QRectF(QPointF(left * mmPerPx, top * mmPerPx),
                  QPointF((right + 1) * mmPerPx, (bottom + 1) * mmPerPx));
}

MeasList Rows(int n) {
    MeasList list;
    for (int i = 0; i < n; ++i)
        list.appendRow({1.0 + i, 13.3, 2700, "S-Val", 2.15, 9, 33.98, -73.01});
    return list;
}

NoiseReportTexts Texts() {
    return NoiseReportTexts{"06.12.26", "v 1.0", "(c) 2026 The Floorwatch authors", '.'};
}

QImage RedPicture(int w, int h) {
    QImage image(w, h, QImage::Format_RGB888);
    image.fill(QColor(255, 0, 0));
    return image;
}

// The number of pages, from pdfinfo.
int PdfPages(const QString& pdf) {
    static const QRegularExpression pages(R"(Pages:\s+(\d+)\n)");
    const auto m = pages.match(QString::fromUtf8(RunTool("pdfinfo", {pdf})));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

struct ExpectedWord {
    QString text;
    double x, y;  // mm; x < 0: anywhere on the line
};

// Each word is found on its line with its top within 1 mm (the reading tool takes the font's
// ascent from the PDF's font description, which its producer may give differently from the
// font's own metrics) and its left edge within 0.6 mm.
void CheckWords(const std::vector<Word>& words, std::span<const ExpectedWord> expected) {
    for (const ExpectedWord& e : expected) {
        SCOPED_TRACE(e.text.toStdString() + " at y " + std::to_string(e.y));
        const Word* w = FindWord(words, e.text, e.y);
        ASSERT_NE(w, nullptr);
        EXPECT_NEAR(w->yMin, e.y, 1.0);
        if (e.x >= 0) {
            EXPECT_NEAR(w->xMin, e.x, 0.6);
        }
    }
}

// Texts, their positions and the picture's rectangle on page 1 of a report with `rows` rows
// (up to 13 on the page) and a picture of w x h pixels, read back from a PDF. Positions
// within 0.6 mm; the top of a text within 1 mm, as the reading tool takes the font's ascent
// from the PDF's font description, which its producer may give differently from the font's
// own metrics.
void CheckReportPdf(const QString& pdf, const QString& workDir, int rows, int w, int h) {
    const double tol = 0.6;
    const double topTol = 1.0;
    const std::vector<Word> words = PdfWords(pdf, workDir);
    ASSERT_FALSE(words.empty()) << "no text in " << pdf.toStdString();

    const ExpectedWord expected[] = {
        {"Noise", 20, 14},
        {"06.12.26", -1, 14},
        {"Local", 20, 30},
        {"P.372", -1, 30},
        {"Noise", 20, 190},
        {"Measurements", -1, 190},
        {"Freq.", 20 + FixedIndentMm(1), 195},
        {"MHz", 20 + FixedIndentMm(3), 200},
        {"Printed", -1, 272},
        {"authors", -1, 272},
    };
    CheckWords(words, expected);

    // Rows 1 to 13 at 205 + 5 i; a frequency "  1.000" starts after two blanks, " 10.000"
    // after one. Row 14 belongs to page 2.
    for (int i = 0; i < rows; ++i) {
        SCOPED_TRACE("row " + std::to_string(i + 1));
        const double y = 205 + 5.0 * i;
        const QString freq = QString::number(1.0 + i, 'f', 3);
        const Word* w = FindWord(words, freq, y);
        if (i >= 13) {
            EXPECT_EQ(FindWord(words, freq), nullptr);
            continue;
        }
        ASSERT_NE(w, nullptr);
        EXPECT_NEAR(w->yMin, y, topTol);
        EXPECT_NEAR(w->xMin, 20 + FixedIndentMm(freq.size() == 5 ? 2 : 1), tol);
    }

    // The footer is centred on 105 mm.
    const Word* first = FindWord(words, "Printed", 272);
    const Word* last = FindWord(words, "authors", 272);
    ASSERT_TRUE(first && last);
    EXPECT_NEAR((first->xMin + last->xMax) / 2, 105, tol);

    const QRectF box = RedBoxMm(pdf, workDir);
    EXPECT_NEAR(box.left(), 20, tol);
    EXPECT_NEAR(box.top(), 35, tol);
    EXPECT_NEAR(box.right(), 20 + PictureWidthMm, tol);
    EXPECT_NEAR(box.bottom(), 35 + PictureWidthMm * h / w, tol);
}

TEST(ReportRender, PreviewImageHasTheSheetsSizeAndItsItems) {
    const ReportPage page =
        BuildNoiseReport(537, 497, Rows(2), Texts(), ReportTextWidthMm).pages.at(0);
    const QImage image = RenderReportImage(page, RedPicture(537, 497), 96);
    ASSERT_EQ(image.size(), QSize(794, 1123));  // 210 x 297 mm at 96 dpi
    const auto px = [&](double xMm, double yMm) {
        return image.pixelColor(static_cast<int>(xMm / 25.4 * 96),
                                static_cast<int>(yMm / 25.4 * 96));
    };
    EXPECT_EQ(px(100, 100), QColor(255, 0, 0));  // inside the picture
    EXPECT_EQ(px(195, 100), QColor(Qt::white));  // right of it
    EXPECT_LT(px(100, 20).lightness(), 160);     // the rule under the title
    EXPECT_EQ(px(10, 20), QColor(Qt::white));    // left of the rule
    EXPECT_TRUE(RenderReportImage(page, QImage(), 0).isNull());
}

// The descenders of the subtitle ("respect") reach below the picture's top edge and stay
// drawn over the picture, at scale 1 and 2.
TEST(ReportRender, SubtitleDescendersStandOverThePicture) {
    const ReportPage page =
        BuildNoiseReport(537, 497, Rows(1), Texts(), ReportTextWidthMm).pages.at(0);
    QImage white(537, 497, QImage::Format_RGB888);
    white.fill(Qt::white);
    for (const double dpi : {96.0, 192.0}) {
        const QImage image = RenderReportImage(page, white, dpi);
        const double k = dpi / 25.4;
        int ink = 0;
        for (int y = static_cast<int>(std::ceil(ReportPictureTopMm * k)); y < 37 * k; ++y)
            for (int x = static_cast<int>(20 * k); x < 190 * k; ++x)
                ink += image.pixelColor(x, y).lightness() < 128 ? 1 : 0;
        EXPECT_GT(ink, 0) << dpi << " dpi";
    }
}

TEST(ReportRender, FooterTextWidthUsesTheSansFace) {
    const PageFont footer{"Arial", 8, false};
    const double one = ReportTextWidthMm(footer, "Printed with Floorwatch");
    EXPECT_GT(one, 25);
    EXPECT_LT(one, 40);
    // Widths add up and scale with the size; the fixed face is 0.6 em per character.
    EXPECT_NEAR(ReportTextWidthMm({"Arial", 16, false}, "Printed with Floorwatch"), 2 * one, 0.01);
    EXPECT_NEAR(ReportTextWidthMm({"Courier New", 13, false}, std::string(54, 'x')),
                54 * FixedIndentMm(1), 0.05);
    EXPECT_DOUBLE_EQ(ReportTextWidthMm(footer, ""), 0);
}

TEST(ReportPdf, TextsAndPictureStandWhereThePageModelPutsThem) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString pdf = dir.filePath("report.pdf");
    const MeasList list = Rows(13);
    const ReportDocument report = BuildNoiseReport(537, 497, list, Texts(), ReportTextWidthMm);
    ASSERT_EQ(WriteReportPdf(report, RedPicture(537, 497), pdf.toStdString()), "");
    ASSERT_TRUE(QFileInfo::exists(pdf));
    EXPECT_FALSE(QFileInfo::exists(pdf + ".tmp"));

    // One A4 portrait page; the picture embedded at its own pixel size.
    const QString info = QString::fromUtf8(RunTool("pdfinfo", {pdf}));
    EXPECT_TRUE(info.contains(QRegularExpression(R"(Pages:\s+1\n)"))) << info.toStdString();
    EXPECT_TRUE(
        info.contains(QRegularExpression(R"(Page size:\s+595(\.\d+)? x 84[12](\.\d+)? pts)")))
        << info.toStdString();
    const QString images = QString::fromUtf8(RunTool("pdfimages", {"-list", pdf}));
    EXPECT_TRUE(images.contains(QRegularExpression(R"(\n\s*1\s+0\s+image\s+537\s+497\s)")))
        << images.toStdString();

    CheckReportPdf(pdf, dir.path(), 13, 537, 497);
    // A single page has no page number.
    EXPECT_EQ(FindWord(PdfWords(pdf, dir.path()), "Page", 272), nullptr);
}

// "Page n of N" on the footer's line at 272 mm, its right edge at 190 mm.
void CheckPageNumber(const std::vector<Word>& words, int page, int pages) {
    const Word* label = FindWord(words, "Page", 272);
    ASSERT_NE(label, nullptr);
    EXPECT_NEAR(label->yMin, 272, 1.0);
    std::vector<const Word*> line;
    for (const Word& w : words)
        if (std::abs(w.yMin - label->yMin) < 0.1 && w.xMin >= label->xMin) line.push_back(&w);
    std::sort(line.begin(), line.end(), [](auto* a, auto* b) { return a->xMin < b->xMin; });
    QStringList texts;
    for (const Word* w : line) texts << w->text;
    EXPECT_EQ(texts, QStringList({"Page", QString::number(page), "of", QString::number(pages)}));
    EXPECT_NEAR(line.back()->xMax, 190, 0.6);
}

// Checks a further page read back from a PDF: the title and its date at 14 mm, the heading at
// 30, the header lines at 35 and 40, rows firstRow.. from 45 mm and "Page n of N" ending at
// 190 mm on the footer's line.
void CheckFurtherPage(const QString& pdf, const QString& workDir, int page, int pages, int firstRow,
                      int rows) {
    SCOPED_TRACE("page " + std::to_string(page));
    const std::vector<Word> words = PdfWords(pdf, workDir, page);
    const double tol = 0.6;
    const double topTol = 1.0;
    const ExpectedWord expected[] = {
        {"Noise", 20, 14},
        {"06.12.26", -1, 14},
        {"Noise", 20, 30},
        {"Measurements", -1, 30},
        {"Freq.", 20 + FixedIndentMm(1), 35},
        {"MHz", 20 + FixedIndentMm(3), 40},
        {"Printed", -1, 272},
    };
    CheckWords(words, expected);
    EXPECT_EQ(FindWord(words, "Local"), nullptr) << "the subtitle is on page 1 only";
    for (int i = 0; i < rows; ++i) {
        const int row = firstRow + i;
        SCOPED_TRACE("row " + std::to_string(row));
        const QString freq = QString::number(double(row), 'f', 3);
        const Word* w = FindWord(words, freq, 45 + 5.0 * i);
        ASSERT_NE(w, nullptr);
        EXPECT_NEAR(w->yMin, 45 + 5.0 * i, topTol);
        EXPECT_NEAR(w->xMin, 20 + FixedIndentMm(freq.size() == 5 ? 2 : 1), tol);
    }
    CheckPageNumber(words, page, pages);
}

TEST(ReportPdf, FurtherPagesCarryTheTableOnWithTheirNumbers) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString pdf = dir.filePath("pages.pdf");
    const ReportDocument report = BuildNoiseReport(537, 497, Rows(59), Texts(), ReportTextWidthMm);
    ASSERT_EQ(WriteReportPdf(report, RedPicture(537, 497), pdf.toStdString()), "");
    ASSERT_EQ(PdfPages(pdf), 3);

    CheckReportPdf(pdf, dir.path(), 14, 537, 497);
    CheckPageNumber(PdfWords(pdf, dir.path(), 1), 1, 3);
    CheckFurtherPage(pdf, dir.path(), 2, 3, 14, 45);
    CheckFurtherPage(pdf, dir.path(), 3, 3, 59, 1);

    // A range of pages, as printing asks for it; bounds outside the report are kept to it.
    struct Case {
        int from, to, pages;
        QString firstRow;  // on the range's first page
    };
    for (const Case& c : {Case{2, 3, 2, "14.000"}, Case{3, 3, 1, "59.000"}, Case{0, 1, 1, "1.000"},
                          Case{2, 99, 2, "14.000"}}) {
        SCOPED_TRACE(testing::Message() << c.from << " to " << c.to);
        const QByteArray bytes = ReportPdfBytes(report, RedPicture(537, 497), c.from, c.to);
        const QString part = dir.filePath("part.pdf");
        QFile f(part);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        EXPECT_EQ(PdfPages(part), c.pages);
        EXPECT_NE(FindWord(PdfWords(part, dir.path(), 1), c.firstRow), nullptr);
    }
    EXPECT_TRUE(ReportPdfBytes(report, RedPicture(537, 497), 4, 5).isEmpty());
    EXPECT_TRUE(ReportPdfBytes(report, RedPicture(537, 497), 3, 2).isEmpty());
}

TEST(ReportPdf, FailedWriteNamesThePathAndKeepsTheOldFile) {
    QTemporaryDir dir;
    const ReportDocument page = BuildNoiseReport(537, 497, Rows(1), Texts(), ReportTextWidthMm);
    const std::string missingDir = dir.filePath("no/such/folder/r.pdf").toStdString();
    const std::string error = WriteReportPdf(page, RedPicture(537, 497), missingDir);
    EXPECT_NE(error.find(missingDir), std::string::npos) << error;
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(missingDir)));
    EXPECT_NE(WriteReportPdf(page, RedPicture(537, 497), ""), "");

    // Writing over an existing file replaces it whole; the folder holds nothing else.
    const QString pdf = dir.filePath("r.pdf");
    {
        QFile old(pdf);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    ASSERT_EQ(WriteReportPdf(page, RedPicture(537, 497), pdf.toStdString()), "");
    QFile written(pdf);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.readAll().startsWith("%PDF-"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"r.pdf"});
}

TEST(ReportPrinter, ConfigurationOfThePrintJob) {
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setCollateCopies(false);
    printer.setColorMode(QPrinter::GrayScale);
    printer.setDuplex(QPrinter::DuplexLongSide);
    ConfigureReportPrinter(printer, 3);
    EXPECT_EQ(printer.copyCount(), 3);
    EXPECT_TRUE(printer.collateCopies());
    EXPECT_EQ(printer.colorMode(), QPrinter::Color);
    EXPECT_EQ(printer.duplex(), QPrinter::DuplexNone);
    EXPECT_EQ(printer.docName(), "<document>");
    EXPECT_TRUE(printer.fullPage());
    EXPECT_EQ(printer.resolution(), 600);
    EXPECT_EQ(printer.pageLayout().pageSize().id(), QPageSize::A4);
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Portrait);
    ConfigureReportPrinter(printer, 0);
    EXPECT_EQ(printer.copyCount(), 1);
}

// A print that cannot reach its printer says so and why, instead of passing for printed.
TEST(ReportPrinter, FailedPrintNamesThePrinterAndTheReason) {
    const ReportDocument report = BuildNoiseReport(537, 497, Rows(14), Texts(), ReportTextWidthMm);
    const QImage picture = RedPicture(537, 497);
    const auto print = [&](const std::string& printer, int from, int to) {
        return PrintReport(report, picture, {printer, 1, from, to});
    };
    struct Case {
        std::string printer;
        int from, to;
        std::string reason;  // expected within the text; empty: any reason
    };
    // With the print server running the unknown queue is refused by it, without one the
    // connection fails; either way the text names the printer and gives a reason.
    const std::vector<Case> cases = {
        {"No Such Printer 4711", 1, 2, ""},
        {"No Such Printer 4711/instance", 1, 1, ""},
        {"", 1, 2, "no printer is chosen"},
        {PrinterQueue, 3, 4, "the report has no page from 3 to 4"},
        {PrinterQueue, 2, 1, "the report has no page from 2 to 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.printer);
        const std::string error = print(c.printer, c.from, c.to);
        const std::string start = "The report could not be printed on \"" + c.printer + "\": ";
        ASSERT_EQ(error.rfind(start, 0), 0u) << error;
        EXPECT_GT(error.size(), start.size()) << error;
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    }

    // A print server that is not there, as with CUPS down: CUPS reads the setting once per
    // thread, so a fresh thread sees it.
    const QByteArray saved = qgetenv("CUPS_SERVER");
    const bool had = qEnvironmentVariableIsSet("CUPS_SERVER");
    qputenv("CUPS_SERVER", "/nonexistent/socket");
    std::string error;
    std::thread([&] { error = print(PrinterQueue, 1, 2); }).join();
    if (had)
        qputenv("CUPS_SERVER", saved);
    else
        qunsetenv("CUPS_SERVER");
    EXPECT_EQ(error, std::string("The report could not be printed on \"") + PrinterQueue +
                         "\": the print server \"/nonexistent/socket\" cannot be reached");
}

// The folder cups-pdf writes to, from its configuration ("Out", with ${HOME} and ${USER}).
QString CupsPdfOutputFolder() {
    QFile conf("/etc/cups/cups-pdf.conf");
    if (!conf.open(QIODevice::ReadOnly)) return {};
    static const QRegularExpression out(R"(^Out\s+(\S.*?)\s*$)",
                                        QRegularExpression::MultilineOption);
    const auto m = out.match(QString::fromUtf8(conf.readAll()));
    if (!m.hasMatch()) return {};
    QString folder = m.captured(1);
    folder.replace("${HOME}", QDir::homePath());
    folder.replace("${USER}", qEnvironmentVariable("USER", "root"));
    return folder;
}

QStringList PdfFiles(const QString& folder) {
    return QDir(folder).entryList({"*.pdf"}, QDir::Files, QDir::Name);
}

TEST(ReportPrinter, PrintsThroughCupsToThePdfQueue) {
    if (!QPrinterInfo::availablePrinterNames().contains(PrinterQueue))
        GTEST_SKIP() << "no printer " << PrinterQueue << " (scripts/cups-pdf-queue.sh sets it up)";
    const QString folder = CupsPdfOutputFolder();
    ASSERT_FALSE(folder.isEmpty()) << "no Out folder in /etc/cups/cups-pdf.conf";
    const QStringList before = PdfFiles(folder);

    // Two pages; the job asks for both.
    const ReportDocument report = BuildNoiseReport(537, 497, Rows(14), Texts(), ReportTextWidthMm);
    ASSERT_EQ(PrintReport(report, RedPicture(537, 497), {PrinterQueue, 1, 1, 2}), "");

    // Wait, bounded, until the queue is empty and a new PDF stands complete in the folder.
    QString produced;
    qint64 lastSize = -1;
    for (int i = 0; i < 600 && produced.isEmpty(); ++i) {
        QThread::msleep(200);
        const bool queued = !RunTool("lpstat", {"-o", PrinterQueue}).trimmed().isEmpty();
        QStringList added = PdfFiles(folder);
        for (const QString& f : before) added.removeAll(f);
        if (queued || added.isEmpty()) continue;
        const qint64 size = QFileInfo(folder + "/" + added.front()).size();
        if (size > 0 && size == lastSize) produced = folder + "/" + added.front();
        lastSize = size;
    }
    ASSERT_FALSE(produced.isEmpty())
        << "no PDF from " << PrinterQueue << " in " << folder.toStdString();
    // cups-pdf names the file after the job's title.
    EXPECT_TRUE(QFileInfo(produced).fileName().contains("document"))
        << QFileInfo(produced).fileName().toStdString();

    QTemporaryDir dir;
    EXPECT_EQ(PdfPages(produced), 2);
    CheckReportPdf(produced, dir.path(), 14, 537, 497);
    if (!HasFailure()) QFile::remove(produced);
}

}  // namespace
}  // namespace fw
