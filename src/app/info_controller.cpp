#include "app/info_controller.h"

#include <QAction>

#include "info/links.h"
#include "app/main_window.h"

namespace fw {

namespace {

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

InfoController::InfoController(MainWindow& window) : QObject(&window), window_(window) {
    const MainActions& a = window.controls().actions;
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
    open_ = opener ? std::move(opener) : ShellOpen;
}

void InfoController::MMIAboutClick() {
    window_.dialogs().information(Text(AboutText(window_.state().CopyrightText)));
}

void InfoController::MMIHelpClick() {
    openHelp(HelpFileEnglish);
}

void InfoController::MIHelpGermanClick() {
    openHelp(HelpFileGerman);
}

void InfoController::openHelp(std::string_view fileName) {
    const InfoMessage message = OpenHelp(window_.state().ProgramDir, fileName, open_);
    switch (message.kind) {
        case InfoMessage::Kind::Warning:
            window_.dialogs().warning(Text(message.text));
            break;
        case InfoMessage::Kind::Error:
            window_.dialogs().error(Text(message.text));
            break;
        case InfoMessage::Kind::None:
            break;
    }
}

void InfoController::MIKorvanClick() {
    open_(std::string(KorvanUrl));
}

void InfoController::MIVelmarRegion1Click() {
    open_(std::string(VelmarRegion1Url));
}

void InfoController::DownloadITURP3721Click() {
    open_(std::string(ItuP372Url));
}

}  // namespace fw
