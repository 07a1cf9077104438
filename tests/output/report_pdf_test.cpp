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

#include "gui_app_environment.h"
#include "measure/meas_list.h"
#include "output/report_page.h"
#include "output/report_render.h"

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

// The words of page 1 with their boxes, from `pdftotext -bbox`.
std::vector<Word> PdfWords(const QString& pdf, const QString& workDir) {
    const QString html = workDir + "/words.html";
    RunTool("pdftotext", {"-bbox", "-f", "1", "-l", "1", pdf, html});
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

// Texts, their positions and the picture's rectangle of a report with `rows` rows and a
// picture of w x h pixels, read back from a PDF. Positions within 0.6 mm; the top of a
// text within 1 mm, as the reading tool takes the font's ascent from the PDF's font
// description, which its producer may give differently from the font's own metrics.
void CheckReportPdf(const QString& pdf, const QString& workDir, int rows, int w, int h) {
    const double tol = 0.6;
    const double topTol = 1.0;
    const std::vector<Word> words = PdfWords(pdf, workDir);
    ASSERT_FALSE(words.empty()) << "no text in " << pdf.toStdString();

    struct Expected {
        QString text;
        double x, y;
    };
    const Expected expected[] = {
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
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.text.toStdString() + " at y " + std::to_string(e.y));
        const Word* w = FindWord(words, e.text, e.y);
        ASSERT_NE(w, nullptr);
        EXPECT_NEAR(w->yMin, e.y, topTol);
        if (e.x >= 0) {
            EXPECT_NEAR(w->xMin, e.x, tol);
        }
    }

    // Every row, also those on and below the footer rule, at 205 + 5 i; its frequency
    // "  1.000" starts after two blanks, " 10.000" after one.
    for (int i = 0; i < rows; ++i) {
        SCOPED_TRACE("row " + std::to_string(i + 1));
        const double y = 205 + 5.0 * i;
        const QString freq = QString::number(1.0 + i, 'f', 3);
        const Word* w = FindWord(words, freq, y);
        if (y + 5 > 297) continue;  // the sheet ends within the line
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
    const ReportPage page = BuildNoiseReport(537, 497, Rows(2), Texts(), ReportTextWidthMm);
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
    const MeasList list = Rows(18);
    const ReportPage page = BuildNoiseReport(537, 497, list, Texts(), ReportTextWidthMm);
    ASSERT_EQ(WriteReportPdf(page, RedPicture(537, 497), pdf.toStdString()), "");
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

    CheckReportPdf(pdf, dir.path(), 18, 537, 497);
}

TEST(ReportPdf, FailedWriteNamesThePathAndKeepsTheOldFile) {
    QTemporaryDir dir;
    const ReportPage page = BuildNoiseReport(537, 497, Rows(1), Texts(), ReportTextWidthMm);
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

    QPrinter printer;
    printer.setPrinterName(PrinterQueue);
    ASSERT_EQ(printer.printerName(), PrinterQueue);
    ConfigureReportPrinter(printer, 1);
    const ReportPage page = BuildNoiseReport(537, 497, Rows(13), Texts(), ReportTextWidthMm);
    ASSERT_EQ(PrintReport(page, RedPicture(537, 497), printer), "");

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
    CheckReportPdf(produced, dir.path(), 13, 537, 497);
    if (!HasFailure()) QFile::remove(produced);
}

}  // namespace
}  // namespace fw
