#pragma once
// "Send eMail ...": hands the noise report with the USER data file to the user's mail program.
#include <QObject>

#include "app/window/dialogs.h"
#include "app/window/document.h"
#include "output/xdg_mail_system.h"

class QAction;
class QWidget;

namespace fw {

class MailController : public QObject {
    Q_OBJECT

  public:
    // `window` is the window the mail program is started for.
    MailController(const Document& document, MessageDialogs& dialogs, QAction& command, QWidget& window,
                   QObject* parent);

    void MISendeMailClick();

    // The mail system used from now on; null restores the desktop's (xdg-email).
    void setMailSystem(MailSystem* system);

  private:
    const Document& document_;
    MessageDialogs& dialogs_;
    QWidget& window_;
    XdgMailSystem desktopMail_;
    MailSystem* mail_ = &desktopMail_;
};

}  // namespace fw
