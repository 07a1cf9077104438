#pragma once
// The "Information" menu: about box, help documents and web links.
#include <QObject>

#include "app/jobs/jobs.h"
#include "app/window/dialogs.h"
#include "app/window/document.h"
#include "app/window/main_controls.h"
#include "info/help.h"

namespace fw {

class InfoController : public QObject {
    Q_OBJECT

  public:
    InfoController(const Document& document, MessageDialogs& dialogs, const MainActions& actions,
                   QObject* parent);

    void MMIAboutClick();
    void MMIHelpClick();
    void MIHelpGermanClick();
    void MIKorvanClick();
    void MIVelmarRegion1Click();
    void DownloadITURP3721Click();

    // How documents and web addresses are opened from now on. By default the desktop's opener
    // runs off the window's thread and a message says why it opened nothing.
    void setOpener(Opener opener);

  private:
    void openHelp(std::string_view fileName);
    void openLink(std::string_view item, const std::string& url);
    void openWatched(const std::string& target);

    const Document& document_;
    MessageDialogs& dialogs_;
    Opener open_;
    jobs::Jobs jobs_;  // the desktop's opener, as often as asked
};

}  // namespace fw
