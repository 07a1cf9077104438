#include "app/mail_controller.h"

#include <QAction>
#include <QGuiApplication>

#include "info/links.h"
#include "app/main_window.h"
#include "output/report_mail.h"

namespace fw {

namespace {

// The application's hourglass while the mail program is called.
class OverrideBusyCursor : public BusyCursor {
  public:
    void show() override { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    void restore() override { QGuiApplication::restoreOverrideCursor(); }
};

}  // namespace

MailController::MailController(MainWindow& window) : QObject(&window), window_(window) {
    QAction* item = window.controls().actions.sendMail;
    item->setEnabled(true);
    connect(item, &QAction::triggered, this, [this] { MISendeMailClick(); });
}

void MailController::setMailSystem(MailSystem* system) {
    mail_ = system ? system : &desktopMail_;
}

void MailController::MISendeMailClick() {
    const AppState& state = window_.state();
    if (state.UserDataFile.empty()) {
        window_.dialogs().information(QStringLiteral(
            "Please save or load USER Data first, before submitting your data via eMail!"));
        return;
    }
    // Failures of the mail program are not shown: the mailer's error handler stays unset.
    OverrideBusyCursor cursor;
    MapiMailer mailer(*mail_, &cursor);
    PrepareReportMail(mailer, {state.AppTitle, state.VersionText, std::string(ReportMailbox),
                               state.UserDataFile});
    mailer.Send(static_cast<MapiWindow>(window_.effectiveWinId()));
}

}  // namespace fw
