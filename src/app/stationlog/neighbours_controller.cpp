#include "app/stationlog/neighbours_controller.h"

#include <QAction>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <chrono>
#include <memory>

#include "app/stationlog/log_span_dialog.h"
#include "app/stationlog/log_view_window.h"
#include "app/stationlog/neighbours_window.h"
#include "app/window/qt_text.h"
#include "app/window/screen_fit.h"
#include "libs/date_text.h"
#include "network/hourly_questions.h"
#include "network/neighbour_picture.h"
#include "network/stations.h"
#include "output/qt/qimage_picture.h"

namespace fw {

namespace {

constexpr UtcSeconds ProposedDays = 30;

// The question the window asks, or why it is none.
struct WindowQuestion {
    std::string server, callsign;
    HourlyQuestion question;
    double radiusKm = DefaultNeighbourRadiusKm;
    std::string problem;
};

WindowQuestion Refused(std::string why) {
    WindowQuestion q;
    q.problem = std::move(why);
    return q;
}

WindowQuestion QuestionOf(const NeighboursWindow& w) {
    WindowQuestion q;
    q.server = w.server->text().trimmed().toStdString();
    if (q.server.empty()) return Refused("Enter the network's server first.");
    if (std::string reason = CheckConnInfo(q.server); !reason.empty()) return Refused(reason);
    const std::optional<std::string> call = ParseCallsign(w.station->text().trimmed().toStdString());
    if (!call) return Refused("Enter the station's callsign, such as DL1ABC.");
    q.callsign = *call;
    q.question.band = w.band->currentText().toStdString();
    q.question.from = UtcSecondsOfEdit(*w.from);
    q.question.to = UtcSecondsOfEdit(*w.to);
    if (q.question.from >= q.question.to) return Refused("\"From\" must lie before \"To\".");
    const std::string hours = w.hours->text().trimmed().toStdString();
    if (!hours.empty()) {
        const std::optional<HourRange> range = ParseHourRange(hours);
        if (!range) return Refused("Hours are written H1-H2 in UTC, such as 18-23 or 22-03.");
        q.question.hours = *range;
    }
    q.radiusKm = w.radius->value();
    return q;
}

}  // namespace

// What a comparison hands back: the plot at its logical size and as shown, the summary, or
// why there is none.
struct NeighboursController::Answer {
    DiagramPicture logical, shown;
    double ratio = 1;
    std::string summary;
    std::string error;
};

NeighboursController::NeighboursController(Document& document, StationLogDialogs& dialogs,
                                           QAction& command, QWidget& windowParent, QObject* parent)
    : QObject(parent), document_(document), dialogs_(dialogs), windowParent_(windowParent),
      printers_(CupsPrinterAccess()) {
    command.setEnabled(true);
    connect(&command, &QAction::triggered, this, [this] { open(); });
}

NeighboursController::~NeighboursController() = default;

void NeighboursController::createWindow() {
    window_ = new NeighboursWindow(&windowParent_);
    for (const LogBand& b : AllBands()) window_->band->addItem(ToQString(b.band));
    window_->band->setCurrentText(QStringLiteral("40m"));
    window_->radius->setValue(static_cast<int>(DefaultNeighbourRadiusKm));
    const UtcSeconds now = std::chrono::duration_cast<std::chrono::seconds>(
                               std::chrono::system_clock::now().time_since_epoch())
                               .count();
    const UtcSeconds hour = now / 3600 * 3600 + 3600;
    SetUtcSeconds(*window_->from, hour - ProposedDays * 86400);
    SetUtcSeconds(*window_->to, hour);
    connect(window_->compare, &QPushButton::clicked, this, [this] { compareClick(); });
    connect(window_->cancel, &QPushButton::clicked, this, [this] {
        job_.stop();
        window_->cancel->setEnabled(false);
        window_->summary->setText(QStringLiteral("Stopping…"));
    });
    connect(window_->save, &QPushButton::clicked, this, [this] { saveClick(); });
    connect(window_->copy, &QPushButton::clicked, this, [this] { copyClick(); });
    connect(window_->print, &QPushButton::clicked, this, [this] { printClick(); });
    // A closed window asks no further.
    connect(window_, &QDialog::finished, this, [this] { job_.stop(); });
}

void NeighboursController::open() {
    if (!window_) createWindow();
    const NetworkPreferences& p = document_.settings().network;
    if (window_->server->text().isEmpty()) window_->server->setText(ToQString(p.server));
    if (window_->station->text().isEmpty()) window_->station->setText(ToQString(p.station));
    if (!window_->isVisible()) FitIntoScreen(*window_);
    window_->show();
    window_->raise();
    window_->activateWindow();
}

void NeighboursController::compareClick() {
    if (job_.busy()) return;
    const WindowQuestion q = QuestionOf(*window_);
    if (!q.problem.empty()) return window_->summary->setText(ToQString(q.problem));
    const NeighbourPictureRequest drawn{q.question.band, q.question.from, q.question.to,
                                        window_->image->width(), window_->image->height()};
    const double ratio = window_->image->devicePixelRatioF();
    job_.start([q, drawn, ratio](std::stop_token stop) {
        Answer answer;
        answer.ratio = ratio;
        try {
            PgConnection conn(q.server, stop);
            const NeighbourComparison c =
                CompareWithNeighbours(conn, q.callsign, q.question, q.radiusKm);
            answer.summary = StandOutLines(c);
            answer.logical = RenderNeighbourComparison(c, drawn);
            answer.shown = ratio == 1 ? answer.logical : RenderNeighbourComparison(c, drawn, ratio);
        } catch (const NetworkError& e) {
            answer.error = stop.stop_requested() ? "Stopped." : e.what();
        }
        return answer;
    }, [this](const Answer& answer) { finish(answer); });
    showBusy(true);
}

void NeighboursController::showBusy(bool busy) {
    window_->compare->setEnabled(!busy);
    window_->cancel->setEnabled(busy);
    if (busy) window_->summary->setText(QStringLiteral("Asking the server…"));
    const bool drawn = !busy && picture_.width > 0;
    window_->save->setEnabled(drawn);
    window_->copy->setEnabled(drawn);
    if (window_->print->text() == PrintCaption) window_->print->setEnabled(drawn);
}

void NeighboursController::finish(const Answer& answer) {
    if (answer.error.empty()) {
        picture_ = answer.logical;
        QPixmap shown = QPixmap::fromImage(PictureImageView(answer.shown));
        shown.setDevicePixelRatio(answer.ratio);
        window_->image->setPixmap(shown);
    }
    showBusy(false);
    std::string text = answer.error.empty() ? answer.summary : answer.error;
    while (!text.empty() && text.back() == '\n') text.pop_back();
    window_->summary->setText(ToQString(text));
}

void NeighboursController::saveClick() {
    FileDialogRequest request = PictureSaveRequest(CurrentLocalTime());
    request.title = QStringLiteral("Save Comparison");
    SavePictureAs(dialogs_, picture_, request);
}

void NeighboursController::copyClick() {
    CopyPictureToClipboard(dialogs_, picture_);
}

void NeighboursController::printClick() {
    if (job_.busy() || picture_.width == 0) return;
    PrintPicture(printJobs_, dialogs_, printers_, picture_, window_->windowTitle(), *window_->print);
}

}  // namespace fw
