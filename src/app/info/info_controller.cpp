#include "app/info/info_controller.h"

#include <QAction>

#include "app/window/qt_text.h"
#include "libs/process_start.h"
#include "info/links.h"

namespace fw {

namespace {}  // namespace

InfoController::InfoController(const Document& document, MessageDialogs& dialogs, const MainActions& a,
                               QObject* parent)
    : QObject(parent), document_(document), dialogs_(dialogs) {
    setOpener(nullptr);
    const auto wire = [this](QAction* item, void (InfoController::*handler)()) {
        item->setEnabled(true);
        connect(item, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    };
    wire(a.about, &InfoController::MMIAboutClick);
    wire(a.help, &InfoController::MMIHelpClick);
    wire(a.helpGerman, &InfoController::MIHelpGermanClick);
    wire(a.linkKorvan, &InfoController::MIKorvanClick);
    wire(a.linkVelmar, &InfoController::MIVelmarRegion1Click);
    wire(a.downloadItu, &InfoController::DownloadITURP3721Click);
}

void InfoController::setOpener(Opener opener) {
    open_ = opener ? std::move(opener) : [this](const std::string& target) { openWatched(target); };
}

void InfoController::openWatched(const std::string& target) {
    jobs_.run([target](std::stop_token) { return RunProgram("xdg-open", {target}); },
              [this, target](int status) {
            if (status == 0) return;
            dialogs_.show({MessageKind::Warning,
                           status == ProgramNotStarted
                               ? "Nothing could open " + target +
                                     ": xdg-open, which opens documents and web pages, is not "
                                     "installed."
                               : "Nothing could open " + target + " (xdg-open ended with status " +
                                     std::to_string(status) +
                                     "). Install a web browser and a PDF viewer, or open it "
                                     "yourself."});
        });
}

void InfoController::MMIAboutClick() {
    dialogs_.show({MessageKind::Information, AboutText(document_.state().VersionText, document_.state().CopyrightText)});
}

void InfoController::MMIHelpClick() {
    openHelp(HelpFileEnglish);
}

void InfoController::MIHelpGermanClick() {
    openHelp(HelpFileGerman);
}

void InfoController::openHelp(std::string_view fileName) {
    if (const auto failure = OpenHelp(document_.state().ProgramDir, fileName, open_))
        dialogs_.show(*failure);
}

void InfoController::MIKorvanClick() {
    openLink("Korvan", document_.settings().korvanUrl);
}

void InfoController::MIVelmarRegion1Click() {
    openLink("Velmar Region 1", document_.settings().velmarUrl);
}

void InfoController::openLink(std::string_view item, const std::string& url) {
    if (!url.empty()) {
        open_(url);
        return;
    }
    dialogs_.show({MessageKind::Information, NoAddressText(item)});
}

void InfoController::DownloadITURP3721Click() {
    open_(std::string(ItuP372Url));
}

}  // namespace fw
