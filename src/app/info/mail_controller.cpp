#include "app/info/mail_controller.h"

#include <QAction>
#include <QGuiApplication>
#include <QWidget>

#include "info/links.h"
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

MailController::MailController(const Document& document, MessageDialogs& dialogs, QAction& command,
                               QWidget& window, QObject* parent)
    : QObject(parent), document_(document), dialogs_(dialogs), window_(window) {
    command.setEnabled(true);
    connect(&command, &QAction::triggered, this, [this] { MISendeMailClick(); });
}

void MailController::setMailSystem(MailSystem* system) {
    mail_ = system ? system : &desktopMail_;
}

void MailController::MISendeMailClick() {
    const AppState& state = document_.state();
    if (state.UserDataFile.empty()) {
        dialogs_.show(
            {MessageKind::Information,
             "Please save or load USER Data first, before submitting your data via eMail!"});
        return;
    }
    // Failures of the mail program are not shown: the mailer's error handler stays unset.
    OverrideBusyCursor cursor;
    MapiMailer mailer(*mail_, &cursor);
    PrepareReportMail(mailer, {state.AppTitle, state.VersionText,
                               document_.settings().reportRecipient, state.UserDataFile});
    mailer.Send(static_cast<MapiWindow>(window_.effectiveWinId()));
}

}  // namespace fw
