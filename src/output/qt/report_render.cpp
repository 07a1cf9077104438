#include "output/qt/report_render.h"

#include <QBuffer>
#include <QDate>
#include <QFontMetricsF>
#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QPdfWriter>
#include <QPrinter>
#include <algorithm>
#include <cmath>
#include <type_traits>

#include "libs/atomic_file.h"
#include "libs/regional.h"
#include "output/cups_print.h"

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

QColor Grey(double fraction) {
    const int v = static_cast<int>(std::lround(std::clamp(fraction, 0.0, 1.0) * 255));
    return QColor(v, v, v);
}

QPen PathPen(double grey, double widthMm, PageDash dash, double k) {
    if (!(widthMm > 0)) return QPen(Qt::NoPen);
    QPen pen(Grey(grey));
    pen.setWidthF(widthMm * k);
    pen.setCapStyle(dash == PageDash::Solid ? Qt::FlatCap : Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    // Dash patterns in units of the pen's width, as Qt measures them.
    if (dash == PageDash::Dashed) pen.setDashPattern({6, 4});
    if (dash == PageDash::Dotted) pen.setDashPattern({0.5, 3});
    return pen;
}

void DrawPath(QPainter& painter, const PagePathItem& it, double k) {
    if (it.points.size() < 2) return;
    QPainterPath path(QPointF(it.points[0].xMm * k, it.points[0].yMm * k));
    for (std::size_t i = 1; i < it.points.size(); ++i)
        path.lineTo(it.points[i].xMm * k, it.points[i].yMm * k);
    if (it.closed) path.closeSubpath();
    painter.setPen(PathPen(it.grey, it.lineWidthMm, it.dash, k));
    painter.setBrush(it.fillGrey >= 0 ? QBrush(Grey(it.fillGrey)) : QBrush(Qt::NoBrush));
    painter.drawPath(path);
    painter.setBrush(Qt::NoBrush);
}

void DrawMarker(QPainter& painter, const PageMarkerItem& it, double k) {
    const double r = it.sizeMm * k / 2;
    const QPointF c(it.at.xMm * k, it.at.yMm * k);
    QPen pen(Grey(it.grey));
    pen.setWidthF(r / 3);
    painter.setPen(pen);
    painter.setBrush(it.filled ? QBrush(Grey(it.grey)) : QBrush(Qt::white));
    switch (it.shape) {
        case PageMarkerShape::Circle:
            painter.drawEllipse(c, r, r);
            break;
        case PageMarkerShape::Square:
            painter.drawRect(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r));
            break;
        case PageMarkerShape::Triangle:
            painter.drawPolygon(QPolygonF({QPointF(c.x(), c.y() - r),
                                           QPointF(c.x() + r, c.y() + r * 0.8),
                                           QPointF(c.x() - r, c.y() + r * 0.8)}));
            break;
        case PageMarkerShape::Diamond:
            painter.drawPolygon(QPolygonF({QPointF(c.x(), c.y() - r), QPointF(c.x() + r, c.y()),
                                           QPointF(c.x(), c.y() + r), QPointF(c.x() - r, c.y())}));
            break;
    }
    painter.setBrush(Qt::NoBrush);
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
    RenderReportPage(page, std::span(&picture, 1), painter, dotsPerInch);
}

void RenderReportPage(const ReportPage& page, std::span<const QImage> pictures,
                      QPainter& painter, double dotsPerInch) {
    const double k = dotsPerInch / MmPerInch;
    const double deviceDpi = painter.device() ? painter.device()->logicalDpiY() : dotsPerInch;

    QPen linePen(Qt::black);
    linePen.setWidthF(std::max(dotsPerInch / LineGridDpi, 1.0));
    linePen.setCapStyle(Qt::FlatCap);

    painter.save();
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                           QPainter::SmoothPixmapTransform);
    painter.setBackgroundMode(Qt::TransparentMode);
    const auto draw = [&](const PageItem& item) {
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
                } else if constexpr (std::is_same_v<T, PagePathItem>) {
                    DrawPath(painter, it, k);
                } else if constexpr (std::is_same_v<T, PageMarkerItem>) {
                    DrawMarker(painter, it, k);
                } else if constexpr (std::is_same_v<T, PagePictureItem>) {
                    if (it.picture >= pictures.size() || pictures[it.picture].isNull()) return;
                    const QImage& picture = pictures[it.picture];
                    const QRectF target(QPointF(it.x1Mm * k, it.y1Mm * k),
                                        QPointF(it.x2Mm * k, it.y2Mm * k));
                    painter.drawImage(target, picture);
                }
            },
            item);
    };
    // The pictures first: a text that reaches into one (the descenders of the subtitle above
    // the diagram) stays whole on top of it.
    for (const PageItem& item : page.items)
        if (std::holds_alternative<PagePictureItem>(item)) draw(item);
    for (const PageItem& item : page.items)
        if (!std::holds_alternative<PagePictureItem>(item)) draw(item);
    painter.restore();
}

QImage RenderReportImage(const ReportPage& page, const QImage& picture, double dotsPerInch) {
    return RenderReportImage(page, std::span(&picture, 1), dotsPerInch);
}

QImage RenderReportImage(const ReportPage& page, std::span<const QImage> pictures,
                         double dotsPerInch) {
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
    RenderReportPage(page, pictures, painter, dotsPerInch);
    painter.end();
    return image;
}

QByteArray ReportPdfBytes(const ReportDocument& report, const QImage& picture, int fromPage,
                          int toPage) {
    return ReportPdfBytes(report, std::span(&picture, 1), fromPage, toPage);
}

QByteArray ReportPdfBytes(const ReportDocument& report, std::span<const QImage> pictures,
                          int fromPage, int toPage, std::stop_token stop) {
    const int from = std::max(fromPage, 1);
    const int to = std::min(toPage, static_cast<int>(report.pages.size()));
    if (from > to) return {};
    QByteArray pdf;
    QBuffer buffer(&pdf);
    if (!buffer.open(QIODevice::WriteOnly)) return {};
    {
        QPdfWriter writer(&buffer);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
        writer.setResolution(static_cast<int>(PdfDpi));
        writer.setCreator(QStringLiteral("Floorwatch"));
        writer.setTitle(QString::fromStdString(report.title));
        QPainter painter;
        if (!painter.begin(&writer)) return {};
        for (int n = from; n <= to; ++n) {
            if (stop.stop_requested()) return {};
            if (n > from && !writer.newPage()) return {};
            RenderReportPage(report.pages[static_cast<std::size_t>(n - 1)], pictures, painter,
                             PdfDpi);
        }
        if (!painter.end()) return {};
    }
    return pdf;
}

QByteArray ReportPdfBytes(const ReportDocument& report, const QImage& picture) {
    return ReportPdfBytes(report, picture, 1, static_cast<int>(report.pages.size()));
}

std::string SaveReportPdf(std::string_view pdf, const std::string& path) {
    const std::string failed = "The report could not be written to \"" + path + "\"";
    if (pdf.empty()) return failed;
    const std::string error = WriteFileAtomically(path, pdf);
    if (!error.empty()) return failed + ": " + error;
    return {};
}

std::string WriteReportPdf(const ReportDocument& report, const QImage& picture,
                           const std::string& path) {
    return WriteReportPdf(report, std::span(&picture, 1), path);
}

std::string WriteReportPdf(const ReportDocument& report, std::span<const QImage> pictures,
                           const std::string& path, std::stop_token stop) {
    const QByteArray pdf =
        ReportPdfBytes(report, pictures, 1, static_cast<int>(report.pages.size()), stop);
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

std::string PrintReport(const ReportDocument& report, const QImage& picture,
                        const ReportPrintJob& job) {
    return PrintReportPictures(report, std::span(&picture, 1), job);
}

std::string PrintReportPictures(const ReportDocument& report,
                                std::span<const QImage> pictures, const ReportPrintJob& job) {
    const std::string failed = "The report could not be printed on \"" + job.printerName + "\": ";
    const int count = static_cast<int>(report.pages.size());
    if (job.fromPage > job.toPage || job.toPage < 1 || job.fromPage > count)
        return failed + "the report has no page from " + std::to_string(job.fromPage) + " to " +
               std::to_string(job.toPage);
    const QByteArray pdf = ReportPdfBytes(report, pictures, job.fromPage, job.toPage);
    if (pdf.isEmpty()) return failed + "the pages could not be drawn";
    const PrintOptions options = {
        {"copies", std::to_string(std::max(job.copies, 1))},
        {"multiple-document-handling", "separate-documents-collated-copies"},
        {"print-color-mode", "color"},
        {"print-quality", "4"},  // normal
        {"sides", "one-sided"},
        {"media", "iso_a4_210x297mm"},
    };
    const std::string reason = PrintPdfOnCups(
        job.printerName, ReportDocumentName,
        std::string_view(pdf.constData(), static_cast<std::size_t>(pdf.size())), options);
    if (!reason.empty()) return failed + reason;
    return {};
}

}  // namespace fw
