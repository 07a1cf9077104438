#pragma once
// Logs every measurement entered in the window (typed, or read from the rig) into the
// station log while the setting "log every measurement" is on. A log that cannot be written
// is reported once, until a write succeeds again; the list keeps the row either way.
#include <QObject>

#include "app/window/dialogs.h"
#include "app/window/document.h"

namespace fw {

class EntryLogger : public QObject {
    Q_OBJECT

  public:
    EntryLogger(Document& document, MessageDialogs& dialogs, QObject* parent);

    void logRow(const MeasRow& row, RowOrigin origin);

  private:
    // An empty text when the reading is committed, otherwise why not.
    std::string write(const MeasRow& row, RowOrigin origin);

    Document& document_;
    MessageDialogs& dialogs_;
    bool failureShown_ = false;
};

}  // namespace fw
