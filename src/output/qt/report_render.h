#pragma once
// Draws the report's pages onto Qt paint devices (the preview image, a PDF file) and prints
// them. Needs a QGuiApplication for its fonts.
#include <QByteArray>
#include <QFont>
#include <QImage>
#include <span>
#include <stop_token>
#include <string>
#include <string_view>

#include "output/report_page.h"

class QPainter;
class QPrinter;

namespace fw {

// The report's texts on this machine: today's date in the system's short date format and
// the decimal separator of the regional settings.
NoiseReportTexts SystemReportTexts(std::string versionText, std::string copyrightText);

// The installed face that stands in for a report font family: "Courier New" becomes
// Liberation Mono, "Arial" Liberation Sans (metrically compatible), anything else is asked
// for by its own name.
QString ReportFaceFamily(std::string_view family);

// The report font at its point size, for a device whose logical resolution is
// deviceLogicalDpi but on which the page is drawn at dotsPerInch.
QFont ReportQFont(const PageFont& font, double dotsPerInch, double deviceLogicalDpi);

// Width of a text in a report font in millimetres, from the face's unhinted metrics, so it
// is the same for every device.
double ReportTextWidthMm(const PageFont& font, std::string_view text);

// Draws the page with its top-left sheet corner at the painter's origin, at dotsPerInch
// device pixels per inch. The picture is stretched into the picture item's rectangle.
void RenderReportPage(const ReportPage& page, const QImage& picture, QPainter& painter,
                      double dotsPerInch);
// The same for a report of several pictures, each picture item drawing the one it names.
void RenderReportPage(const ReportPage& page, std::span<const QImage> pictures,
                      QPainter& painter, double dotsPerInch);

// The whole sheet as a white image at dotsPerInch (96 * zoom / 100 for a preview).
QImage RenderReportImage(const ReportPage& page, const QImage& picture, double dotsPerInch);
QImage RenderReportImage(const ReportPage& page, std::span<const QImage> pictures,
                         double dotsPerInch);

// Pages fromPage to toPage (from 1, both included, kept within the report's pages) as an A4
// portrait PDF at 600 dpi without margins; empty when no page lies in the range, the pages
// could not be drawn or `stop` was requested before the last page.
QByteArray ReportPdfBytes(const ReportDocument& report, const QImage& picture, int fromPage,
                          int toPage);
QByteArray ReportPdfBytes(const ReportDocument& report, std::span<const QImage> pictures,
                          int fromPage, int toPage, std::stop_token stop = {});
// Every page.
QByteArray ReportPdfBytes(const ReportDocument& report, const QImage& picture);

// Writes PDF bytes to `path` (its bytes used as given, whatever their encoding) through the
// program's file writer, so a failure never leaves a half-written file or destroys an earlier
// one, and a read-only file is refused. Returns an empty text on success, else "The report
// could not be written to "path"" and the reason.
std::string SaveReportPdf(std::string_view pdf, const std::string& path);

// Every page as PDF, written with SaveReportPdf; nothing is written once `stop` is requested.
std::string WriteReportPdf(const ReportDocument& report, const QImage& picture,
                           const std::string& path);
std::string WriteReportPdf(const ReportDocument& report, std::span<const QImage> pictures,
                           const std::string& path, std::stop_token stop = {});

inline constexpr const char* ReportDocumentName = "<document>";

// The report's print settings, as the print dialog starts from them: the given copies,
// collated, colour, one-sided, A4 portrait, coordinates from the sheet's corner, the job
// named "<document>".
void ConfigureReportPrinter(QPrinter& printer, int copies);

// What is printed where: a printer ("queue" or "queue/instance"), copies and the pages from
// fromPage to toPage (from 1, both included).
struct ReportPrintJob {
    std::string printerName;
    int copies = 1;
    int fromPage = 1;
    int toPage = 1;
};

// Prints the job's pages with the report's print settings, as a PDF handed to the CUPS
// server. Returns an empty text when the server took the job, else "The report could not be
// printed on "printer": " and the reason.
std::string PrintReport(const ReportDocument& report, const QImage& picture,
                        const ReportPrintJob& job);
std::string PrintReportPictures(const ReportDocument& report,
                                std::span<const QImage> pictures, const ReportPrintJob& job);

}  // namespace fw
