#pragma once
// A picture printed on one page, on a printer the user picks from the print server's ones:
// the Print button of the station log's views and of the Spectrum window. The server is
// asked for its printers and given the job off the window's thread, the button saying so
// meanwhile.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <string>

#include "app/jobs/jobs.h"
#include "app/window/picture_saving.h"
#include "output/cups_print.h"

class QPushButton;

namespace fw {

class PicturePrintDialogs : public virtual PictureDialogs {
  public:
    // One item of a list; its index, or no value on cancel.
    virtual std::optional<int> chooseItem(const QString& caption, const QString& prompt,
                                          const QStringList& items, int current) = 0;
};

// The print server's printers, and the job's hand-over (empty text or why it failed).
struct PrinterAccess {
    std::function<CupsPrinters()> list;
    std::function<std::string(const std::string& printer, const std::string& title,
                              const QByteArray& pdf)>
        job;
};

// The user's CUPS server, with its timeouts.
PrinterAccess CupsPrinterAccess();

// Asks for the printer (the server's default proposed) and prints `picture` with `title`;
// `button` is greyed and says what is under way until the job is handed over. No printer is
// a warning, a refused job an error naming the reason. The server's work runs in `jobs`:
// nothing is reported once they are gone.
void PrintPicture(jobs::Jobs& jobs, PicturePrintDialogs& dialogs, const PrinterAccess& printers,
                  const DiagramPicture& picture, const QString& title, QPushButton& button);

}  // namespace fw
