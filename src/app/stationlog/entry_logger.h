#pragma once
// Logs every measurement entered in the window (typed, or read from the rig) into the
// station log while the setting "log every measurement" is on. The commits run in the order
// of entry off the window's thread, so that a log locked by another program never holds the
// window; the list group's title says while they are under way. A log that cannot be
// written is reported once, until a write succeeds again; the list keeps the row either way.
#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>
#include <string>

#include "app/jobs/jobs.h"
#include "app/window/dialogs.h"
#include "app/window/document.h"

class QGroupBox;

namespace fw {

class EntryLogger : public QObject {
    Q_OBJECT

  public:
    EntryLogger(Document& document, MessageDialogs& dialogs, QGroupBox& listGroup,
                QObject* parent);
    // The commits still pending run to their end after the logger is gone, each within the
    // log's busy timeout; those that fail then are reported on standard error.

    void logRow(const MeasRow& row, RowOrigin origin, const std::optional<SdrEstimate>& estimate);
    // No commit is pending.
    bool idle() const { return pending_ == 0; }

  signals:
    // The last pending commit is done and its failure, if any, reported.
    void idleAgain();

  private:
    // After each commit: `error` is empty when it went through.
    void written(const std::string& error);
    void showPending();
    QString pendingTitle() const;

    Document& document_;
    MessageDialogs& dialogs_;
    QGroupBox& listGroup_;
    const QString title_;  // the list group's own title
    QTimer showDelay_;     // a commit that ends at once is not shown
    int pending_ = 0;
    bool failureShown_ = false;
    bool reporting_ = false;  // a failure's message is open
    jobs::SerialJobs commits_;
};

}  // namespace fw
