#pragma once
// "Send eMail ...": hands the noise report with the USER data file to the user's mail program.
#include <QObject>

#include "output/xdg_mail_system.h"

namespace fw {

class MainWindow;

class MailController : public QObject {
    Q_OBJECT

  public:
    explicit MailController(MainWindow& window);

    void MISendeMailClick();

    // The mail system used from now on; null restores the desktop's (xdg-email).
    void setMailSystem(MailSystem* system);

  private:
    MainWindow& window_;
    XdgMailSystem desktopMail_;
    MailSystem* mail_ = &desktopMail_;
};

}  // namespace fw
