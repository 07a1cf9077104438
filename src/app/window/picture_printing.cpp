#include "app/window/picture_printing.h"

#include <QPointer>
#include <QPushButton>
#include <algorithm>
#include <memory>

#include "app/window/qt_text.h"
#include "output/qt/picture_pdf.h"
#include "output/qt/qimage_picture.h"

namespace fw {

namespace {

// The button greyed with `state` while the print server is at work; empty: ready again.
void ShowPrinting(const QPointer<QPushButton>& button, const QString& ready, const QString& state) {
    if (!button) return;
    button->setEnabled(state.isEmpty());
    button->setText(state.isEmpty() ? ready : state);
}

void ChoosePrinterAndPrint(jobs::Jobs& jobs, PicturePrintDialogs& dialogs,
                           const PrinterAccess& printers, const CupsPrinters& found,
                           const QByteArray& pdf, const QString& title,
                           const QPointer<QPushButton>& button, const QString& ready) {
    ShowPrinting(button, ready, {});
    QStringList names;
    for (const std::string& name : found.names) names << ToQString(name);
    if (names.isEmpty()) {
        dialogs.show({MessageKind::Warning,
                      "No printer is installed. Add one in the system's printer settings, or "
                      "save the picture instead."});
        return;
    }
    const int current = std::max<int>(0, names.indexOf(ToQString(found.defaultName)));
    const std::optional<int> chosen =
        dialogs.chooseItem(QStringLiteral("Print"), QStringLiteral("Printer:"), names, current);
    if (!chosen || *chosen < 0 || *chosen >= names.size()) return;
    ShowPrinting(button, ready, QStringLiteral("Printing…"));
    jobs.run(
        [job = printers.job, printer = found.names[*chosen], title = title.toStdString(), pdf](
            std::stop_token) { return job(printer, title, pdf); },
        [&dialogs, button, ready](const std::string& failure) {
            ShowPrinting(button, ready, {});
            if (!failure.empty())
                dialogs.show({MessageKind::Error, "The view could not be printed: " + failure});
        });
}

}  // namespace

PrinterAccess CupsPrinterAccess() {
    return {[] { return ListCupsPrinters(); },
            [](const std::string& printer, const std::string& title, const QByteArray& pdf) {
                return PrintPdfOnCups(
                    printer, title,
                    std::string_view(pdf.constData(), static_cast<std::size_t>(pdf.size())),
                    {{"sides", "one-sided"}});
            }};
}

void PrintPicture(jobs::Jobs& jobs, PicturePrintDialogs& dialogs, const PrinterAccess& printers,
                  const DiagramPicture& picture, const QString& title, QPushButton& button) {
    const QPointer<QPushButton> shown(&button);
    const QString ready = button.text();
    const QByteArray pdf = PicturePdfBytes(PictureToQImage(picture), title);
    ShowPrinting(shown, ready, QStringLiteral("Finding printers…"));
    jobs.run([list = printers.list](std::stop_token) { return list(); },
             [&jobs, &dialogs, printers, pdf, title, shown, ready](const CupsPrinters& found) {
                 ChoosePrinterAndPrint(jobs, dialogs, printers, found, pdf, title, shown, ready);
             });
}

}  // namespace fw
