#pragma once
// The "Information" menu: about box, help documents and web links.
#include <QObject>

#include "info/help.h"

namespace fw {

class MainWindow;

class InfoController : public QObject {
    Q_OBJECT

  public:
    explicit InfoController(MainWindow& window);

    void MMIAboutClick();
    void MMIHelpClick();
    void MIHelpGermanClick();
    void MIKorvanClick();
    void MIVelmarRegion1Click();
    void DownloadITURP3721Click();

    // How documents and web addresses are opened from now on; ShellOpen by default.
    void setOpener(Opener opener);

  private:
    void openHelp(std::string_view fileName);

    MainWindow& window_;
    Opener open_ = ShellOpen;
};

}  // namespace fw
