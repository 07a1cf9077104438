#include "app/rig/rig_settings_dialog.h"

#include <memory>


#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <variant>

#include "app/window/qt_text.h"
#include "libs/real_text.h"
#include "libs/regional.h"
#include "model/levels.h"
#include "rig/plan_limits.h"
#include "rig/reading.h"
#include "rig/rig_error.h"
#include "rig/rig_session.h"

namespace fw {

namespace {

enum BandColumn { BandCol, FreqCol, ModeCol, OffsetCol };

// A label whose mnemonic moves the focus to `buddy`.
QLabel* BuddyLabel(const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

QString Q(const std::string& text) {
    return ToQString(text);
}

std::string Trimmed(const QLineEdit* edit) {
    return edit->text().trimmed().toStdString();
}

std::string CellText(const QTableWidget* table, int row, int column) {
    const QTableWidgetItem* item = table->item(row, column);
    return item ? item->text().trimmed().toStdString() : std::string();
}

std::string BandMode(const rig::ModeRule& rule, std::string_view band) {
    for (const auto& [b, mode] : rule.bandModes)
        if (b == band) return mode;
    return {};
}

QSpinBox* SpinBox(int low, int high, int value, const QString& suffix) {
    auto* box = new QSpinBox;
    box->setRange(low, high);
    box->setValue(value);
    box->setSuffix(suffix);
    return box;
}

// A mode the rig is to be set to; empty stays empty.
bool KnownMode(const std::string& mode) {
    return mode.empty() || rig::IsRigModeName(mode);
}

}  // namespace

RigSettingsDialog::RigSettingsDialog(const ReceiverSettings& receiver, QWidget* parent,
                                     RigSettingsSources sources)
    : QDialog(parent), settings_(receiver), chosenModel_(1) {
    setWindowTitle(QStringLiteral("Rig Settings"));
    const RigSettings& current = receiver.rig;
    const char sep = SystemDecimalSeparator();
    const auto* direct = std::get_if<rig::DirectRig>(&current.connection.target);
    const auto* daemon = std::get_if<rig::RigctldAddress>(&current.connection.target);
    if (direct) chosenModel_ = direct->model;

    auto* connection = new QGroupBox(QStringLiteral("Connection"));
    auto* grid = new QGridLayout(connection);
    useRigctld_ = new QRadioButton(QStringLiteral("&rigctld at HOST:PORT:"));
    address_ = new QLineEdit(daemon ? Q(rig::AddressText(*daemon)) : QString());
    address_->setPlaceholderText(QStringLiteral("localhost:4532"));
    useModel_ = new QRadioButton(QStringLiteral("Hamlib rig &model:"));
    search_ = new QLineEdit;
    search_->setObjectName(QStringLiteral("modelSearch"));
    search_->setPlaceholderText(QStringLiteral("search: manufacturer, name or number"));
    search_->setClearButtonEnabled(true);
    modelList_ = new QListWidget;
    modelList_->setObjectName(QStringLiteral("modelList"));
    modelList_->setMinimumHeight(120);
    port_ = new QLineEdit(direct ? Q(direct->port) : QString());
    port_->setPlaceholderText(QStringLiteral("the model's default, e.g. /dev/ttyUSB0"));
    speed_ = SpinBox(0, 10000000, direct ? direct->speed : 0, QStringLiteral(" Bd"));
    speed_->setSpecialValueText(QStringLiteral("the model's default"));
    conf_ = new QLineEdit(direct ? Q(rig::ConfPairsText(direct->conf)) : QString());
    conf_->setPlaceholderText(QStringLiteral("KEY=VALUE,KEY=VALUE"));
    timeout_ = SpinBox(100, 60000, current.connection.timeoutMs, QStringLiteral(" ms"));
    grid->addWidget(useRigctld_, 0, 0);
    grid->addWidget(address_, 0, 1);
    grid->addWidget(useModel_, 1, 0);
    grid->addWidget(search_, 1, 1);
    grid->addWidget(modelList_, 2, 1);
    grid->addWidget(BuddyLabel(QStringLiteral("&Port or device:"), port_), 3, 0);
    grid->addWidget(port_, 3, 1);
    grid->addWidget(BuddyLabel(QStringLiteral("&Speed:"), speed_), 4, 0);
    grid->addWidget(speed_, 4, 1);
    grid->addWidget(BuddyLabel(QStringLiteral("Settin&gs:"), conf_), 5, 0);
    grid->addWidget(conf_, 5, 1);
    grid->addWidget(BuddyLabel(QStringLiteral("Answer t&imeout:"), timeout_), 6, 0);
    grid->addWidget(timeout_, 6, 1);
    (direct ? useModel_ : useRigctld_)->setChecked(true);

    auto* reading = new QGroupBox(QStringLiteral("Tuning and samples"));
    auto* form = new QFormLayout(reading);
    samples_ = SpinBox(rig::SampleLimits.low, rig::SampleLimits.high, current.samples, {});
    settle_ = SpinBox(rig::SettleMsLimits.low, rig::SettleMsLimits.high, current.settleMs,
                      QStringLiteral(" ms"));
    split_ = new QDoubleSpinBox;
    split_->setRange(0, 1000);
    split_->setDecimals(3);
    split_->setValue(current.modes.splitMHz);
    split_->setSuffix(QStringLiteral(" MHz"));
    belowSplit_ = new QLineEdit(Q(current.modes.belowSplit));
    fromSplit_ = new QLineEdit(Q(current.modes.fromSplit));
    form->addRow(QStringLiteral("S-meter samples per r&eading:"), samples_);
    form->addRow(QStringLiteral("Settle time after &tuning:"), settle_);
    form->addRow(QStringLiteral("Modes sp&lit at:"), split_);
    form->addRow(QStringLiteral("Mode &below it:"), belowSplit_);
    form->addRow(QStringLiteral("Mode &from it on:"), fromSplit_);

    bands_ = new QTableWidget(static_cast<int>(BandTable.size()), 4);
    bands_->setObjectName(QStringLiteral("bandTable"));
    bands_->setHorizontalHeaderLabels({QStringLiteral("Band"), QStringLiteral("MHz"),
                                       QStringLiteral("Own mode"),
                                       QStringLiteral("Calibration (dB)")});
    bands_->verticalHeader()->hide();
    bands_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    for (int row = 0; row < bands_->rowCount(); ++row) {
        const BandEntry& b = BandTable[static_cast<std::size_t>(row)];
        auto* band = new QTableWidgetItem(Q(std::string(b.text)));
        auto* freq = new QTableWidgetItem(Q(rig::ExactNumberText(b.frequencyMHz, sep)));
        for (QTableWidgetItem* fixed : {band, freq}) fixed->setFlags(Qt::ItemIsEnabled);
        const auto offset = current.offsets.find(b.text);
        bands_->setItem(row, BandCol, band);
        bands_->setItem(row, FreqCol, freq);
        bands_->setItem(row, ModeCol, new QTableWidgetItem(Q(BandMode(current.modes, b.text))));
        bands_->setItem(row, OffsetCol,
                        new QTableWidgetItem(offset == current.offsets.end()
                                                 ? QString()
                                                 : Q(rig::ExactNumberText(offset->second, sep))));
    }

    error_ = new QLabel;
    error_->setStyleSheet(QStringLiteral("color: #b00000"));
    error_->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    useRig_ = new QRadioButton(QStringLiteral("&Hamlib rig"));
    useSdr_ = new QRadioButton(QStringLiteral("SDR (Soap&ySDR)"));
    useSdr_->setObjectName(QStringLiteral("useSdr"));
    (receiver.sdr.chosen() ? useSdr_ : useRig_)->setChecked(true);
    auto* rigPage = new QWidget;
    auto* top = new QHBoxLayout(rigPage);
    top->setContentsMargins(0, 0, 0, 0);
    top->addWidget(connection, 3);
    top->addWidget(reading, 2);
    sdr_ = new SdrSettingsBox(receiver.sdr, std::move(sources.devices));
    pages_ = new QStackedWidget;
    pages_->addWidget(rigPage);
    pages_->addWidget(sdr_);
    pages_->setCurrentWidget(receiver.sdr.chosen() ? static_cast<QWidget*>(sdr_) : rigPage);
    // An SDR is not tuned to a mode: its page hides the band table's mode column.
    auto* bandNote = new QLabel;
    const auto showSource = [this, bandNote](bool sdr) {
        pages_->setCurrentIndex(sdr ? 1 : 0);
        bands_->setColumnHidden(ModeCol, sdr);
        bandNote->setText(sdr ? QStringLiteral("Per band: the calibration offset added to the "
                                               "reading (empty: 0 dB).")
                              : QStringLiteral("Per band: a mode of its own (empty: by the rule "
                                               "above) and the calibration offset added to the "
                                               "reading (empty: 0 dB)."));
    };
    showSource(receiver.sdr.chosen());
    connect(useSdr_, &QRadioButton::toggled, this, showSource);
    auto* layout = new QVBoxLayout(this);
    auto* choice = new QHBoxLayout;
    choice->addWidget(new QLabel(QStringLiteral("Readings from:")));
    choice->addWidget(useRig_);
    choice->addWidget(useSdr_);
    choice->addStretch();
    layout->addLayout(choice);
    layout->addWidget(pages_);
    layout->addWidget(bandNote);
    layout->addWidget(bands_);
    layout->addWidget(error_);
    layout->addWidget(buttons);

    connect(search_, &QLineEdit::textChanged, this, &RigSettingsDialog::showModels);
    connect(modelList_, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (item) chosenModel_ = item->data(Qt::UserRole).toInt();
    });
    connect(useModel_, &QRadioButton::toggled, this, [this] { enableConnectionFields(); });
    enableConnectionFields();
    // Hamlib hands out its model list only under the lock a rig job holds while it opens a
    // session: it is read off the window's thread, the list saying so meanwhile.
    (new QListWidgetItem(QStringLiteral("Reading Hamlib's rig models…"), modelList_))
        ->setFlags(Qt::NoItemFlags);
    job_.run([models = std::move(sources.models)](std::stop_token) { return models(); },
             [this](std::vector<rig::RigModelInfo> read) {
                 models_ = std::move(read);
                 modelsRead_ = true;
                 showModels(search_->text());
             });
}

void RigSettingsDialog::showModels(const QString& query) {
    if (!modelsRead_) return;
    const QSignalBlocker quiet(modelList_);
    modelList_->clear();
    for (const rig::RigModelInfo& m : rig::FilterRigModels(models_, query.toStdString())) {
        auto* item = new QListWidgetItem(Q(rig::ModelLine(m)), modelList_);
        item->setData(Qt::UserRole, m.model);
        if (m.model == chosenModel_) modelList_->setCurrentItem(item);
    }
}

void RigSettingsDialog::enableConnectionFields() {
    const bool model = useModel_->isChecked();
    address_->setEnabled(!model);
    for (QWidget* w : std::initializer_list<QWidget*>{search_, modelList_, port_, speed_, conf_})
        w->setEnabled(model);
}

std::optional<ReceiverSettings> RigSettingsDialog::result(QString& error) const {
    ReceiverSettings r = settings_;
    const std::optional<RigSettings> rig = rigResult(error);
    if (!rig) return std::nullopt;
    r.rig = *rig;
    QString sdrError;
    const std::optional<SdrPreferences> sdr = sdr_->result(sdrError);
    if (useSdr_->isChecked() && !sdr) {
        error = sdrError;
        return std::nullopt;
    }
    if (sdr) r.sdr = *sdr;
    r.sdr.source = useSdr_->isChecked() ? ReceiverKind::Sdr : ReceiverKind::Rig;
    return r;
}

std::optional<RigSettings> RigSettingsDialog::rigResult(QString& error) const {
    const char sep = SystemDecimalSeparator();
    RigSettings s = settings_.rig;
    try {
        if (useModel_->isChecked()) {
            rig::DirectRig d;
            d.model = chosenModel_;
            d.port = Trimmed(port_);
            d.speed = speed_->value();
            d.conf = rig::ParseConfPairs(Trimmed(conf_));
            s.connection.target = d;
        } else {
            s.connection.target = rig::ParseRigctldAddress(Trimmed(address_));
        }
    } catch (const rig::RigSettingsError& e) {
        error = ToQString(e.what());
        return std::nullopt;
    }
    s.connection.timeoutMs = timeout_->value();
    s.samples = samples_->value();
    s.settleMs = settle_->value();
    s.modes.splitMHz = split_->value();
    s.modes.belowSplit = Trimmed(belowSplit_);
    s.modes.fromSplit = Trimmed(fromSplit_);
    s.modes.bandModes.clear();
    s.offsets.clear();
    for (const std::string& mode : {s.modes.belowSplit, s.modes.fromSplit}) {
        if (mode.empty() || !KnownMode(mode)) {
            error = mode.empty() ? QStringLiteral("the mode rule needs a mode on both sides")
                                 : QStringLiteral("unknown rig mode \"%1\"").arg(Q(mode));
            return std::nullopt;
        }
    }
    for (int row = 0; row < bands_->rowCount(); ++row) {
        const std::string band = CellText(bands_, row, BandCol);
        const std::string mode = CellText(bands_, row, ModeCol);
        if (!KnownMode(mode)) {
            error = QStringLiteral("%1: unknown rig mode \"%2\"").arg(Q(band), Q(mode));
            return std::nullopt;
        }
        if (!mode.empty()) s.modes.bandModes.emplace_back(band, mode);
        const std::string offset = CellText(bands_, row, OffsetCol);
        if (offset.empty()) continue;
        const std::optional<double> db = ParseRealText(offset, sep);
        if (!db) {
            error =
                QStringLiteral("%1: calibration \"%2\" is no number of dB").arg(Q(band), Q(offset));
            return std::nullopt;
        }
        s.offsets[band] = *db;
    }
    try {
        rig::CheckCalibrationOffsets(s.offsets, sep);
    } catch (const rig::ReadingInputError& e) {
        error = ToQString(e.what());
        return std::nullopt;
    }
    return s;
}

void RigSettingsDialog::accept() {
    QString error;
    if (!result(error)) {
        error_->setText(error);
        return;
    }
    QDialog::accept();
}

}  // namespace fw
