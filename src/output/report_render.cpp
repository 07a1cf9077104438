#include "output/report_render.h"

#include <QBuffer>
#include <QDate>
#include <QFontMetricsF>
#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <algorithm>
#include <cmath>
#include <type_traits>

#include "libs/atomic_file.h"
#include "libs/regional.h"

namespace fw {

namespace {

constexpr double MmPerInch = 25.4;
constexpr double PointsPerInch = 72.0;
// Lines are one dot wide on a 600 dpi grid.
constexpr double LineGridDpi = 600.0;
// Resolution of PDF files and print jobs.
constexpr double PdfDpi = 600.0;
// Metrics are taken at a large pixel size so that rounding inside the font engine does not
// show in the result.
constexpr int MeasurePixelSize = 1000;

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QFont ReportFaceFont(const PageFont& font) {
    QFont f(ReportFaceFamily(font.family));
    f.setStyleHint(font.family == ReportFixedFont ? QFont::TypeWriter : QFont::SansSerif);
    f.setBold(font.bold);
    // Unhinted outlines keep text widths proportional to the size on every device.
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

}  // namespace

NoiseReportTexts SystemReportTexts(std::string versionText, std::string copyrightText) {
    NoiseReportTexts texts;
    texts.dateText =
        QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat).toStdString();
    texts.versionText = std::move(versionText);
    texts.copyrightText = std::move(copyrightText);
    texts.decimalSeparator = SystemDecimalSeparator();
    return texts;
}

QString ReportFaceFamily(std::string_view family) {
    if (family == ReportFixedFont) return QStringLiteral("Liberation Mono");
    if (family == ReportFooterFont) return QStringLiteral("Liberation Sans");
    return FromUtf8(family);
}

QFont ReportQFont(const PageFont& font, double dotsPerInch, double deviceLogicalDpi) {
    QFont f = ReportFaceFont(font);
    const double scale = deviceLogicalDpi > 0 ? dotsPerInch / deviceLogicalDpi : 1.0;
    f.setPointSizeF(std::max(font.sizePt * scale, 0.01));
    return f;
}

double ReportTextWidthMm(const PageFont& font, std::string_view text) {
    QFont f = ReportFaceFont(font);
    f.setPixelSize(MeasurePixelSize);
    const QFontMetricsF metrics(f);
    const double emMm = font.sizePt / PointsPerInch * MmPerInch;
    return metrics.horizontalAdvance(FromUtf8(text)) / MeasurePixelSize * emMm;
}

void RenderReportPage(const ReportPage& page, const QImage& picture, QPainter& painter,
                      double dotsPerInch) {
    const double k = dotsPerInch / MmPerInch;
    const double deviceDpi = painter.device() ? painter.device()->logicalDpiY() : dotsPerInch;

    QPen linePen(Qt::black);
    linePen.setWidthF(std::max(dotsPerInch / LineGridDpi, 1.0));
    linePen.setCapStyle(Qt::FlatCap);

    painter.save();
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                           QPainter::SmoothPixmapTransform);
    painter.setBackgroundMode(Qt::TransparentMode);
    for (const PageItem& item : page.items) {
        std::visit(
            [&](const auto& it) {
                using T = std::decay_t<decltype(it)>;
                if constexpr (std::is_same_v<T, PageTextItem>) {
                    const QFont f = ReportQFont(it.font, dotsPerInch, deviceDpi);
                    painter.setFont(f);
                    painter.setPen(Qt::black);
                    // The item gives the top-left corner; Qt draws from the baseline.
                    const QFontMetricsF metrics(f, painter.device());
                    painter.drawText(QPointF(it.xMm * k, it.yMm * k + metrics.ascent()),
                                     FromUtf8(it.text));
                } else if constexpr (std::is_same_v<T, PageLineItem>) {
                    painter.setPen(linePen);
                    painter.drawLine(QPointF(it.x1Mm * k, it.y1Mm * k),
                                     QPointF(it.x2Mm * k, it.y2Mm * k));
                } else if constexpr (std::is_same_v<T, PagePictureItem>) {
                    if (picture.isNull()) return;
                    const QRectF target(QPointF(it.x1Mm * k, it.y1Mm * k),
                                        QPointF(it.x2Mm * k, it.y2Mm * k));
                    painter.drawImage(target, picture);
                }
            },
            item);
    }
    painter.restore();
}

QImage RenderReportImage(const ReportPage& page, const QImage& picture, double dotsPerInch) {
    if (!(dotsPerInch > 0)) return {};
    const int w =
        std::max(1, static_cast<int>(std::lround(page.widthMm / MmPerInch * dotsPerInch)));
    const int h =
        std::max(1, static_cast<int>(std::lround(page.heightMm / MmPerInch * dotsPerInch)));
    QImage image(w, h, QImage::Format_RGB32);
    if (image.isNull()) return {};
    const int dotsPerMeter = static_cast<int>(std::lround(dotsPerInch / MmPerInch * 1000.0));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    QPainter painter(&image);
    RenderReportPage(page, picture, painter, dotsPerInch);
    painter.end();
    return image;
}

QByteArray ReportPdfBytes(const ReportPage& page, const QImage& picture) {
    QByteArray pdf;
    QBuffer buffer(&pdf);
    if (!buffer.open(QIODevice::WriteOnly)) return {};
    {
        QPdfWriter writer(&buffer);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
        writer.setResolution(static_cast<int>(PdfDpi));
        writer.setCreator(QStringLiteral("Floorwatch"));
        writer.setTitle(QStringLiteral("Noise Report"));
        QPainter painter;
        if (!painter.begin(&writer)) return {};
        RenderReportPage(page, picture, painter, PdfDpi);
        if (!painter.end()) return {};
    }
    return pdf;
}

std::string SaveReportPdf(std::string_view pdf, const std::string& path) {
    const std::string failed = "The report could not be written to \"" + path + "\"";
    if (pdf.empty()) return failed;
    const std::string error = WriteFileAtomically(path, pdf);
    if (!error.empty()) return failed + ": " + error;
    return {};
}

std::string WriteReportPdf(const ReportPage& page, const QImage& picture, const std::string& path) {
    const QByteArray pdf = ReportPdfBytes(page, picture);
    return SaveReportPdf(std::string_view(pdf.constData(), static_cast<std::size_t>(pdf.size())),
                         path);
}

void ConfigureReportPrinter(QPrinter& printer, int copies) {
    printer.setCopyCount(std::max(copies, 1));
    printer.setCollateCopies(true);
    printer.setColorMode(QPrinter::Color);
    printer.setDuplex(QPrinter::DuplexNone);
    printer.setDocName(QString::fromLatin1(ReportDocumentName));
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    // The page's own drawing grid; at a screen resolution text would be laid out on coarse
    // pixels and come out wider than measured.
    printer.setResolution(static_cast<int>(PdfDpi));
    // The page's coordinates start at the sheet's corner, not at the printable area.
    printer.setFullPage(true);
}

std::string PrintReport(const ReportPage& page, const QImage& picture, QPrinter& printer) {
    const std::string failed =
        "The report could not be printed on \"" + printer.printerName().toStdString() + "\"";
    QPainter painter;
    if (!painter.begin(&printer)) return failed;
    RenderReportPage(page, picture, painter, printer.resolution());
    if (!painter.end() || printer.printerState() == QPrinter::Error) return failed;
    return {};
}

}  // namespace fw
