#include "app/entry/entry_controller.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include "app/window/control_style.h"
#include "libs/regional.h"
#include "measure/entry.h"

namespace fw {

namespace {

void SetFieldState(QLineEdit* field, bool editable, bool clear) {
    field->setReadOnly(!editable);
    if (clear) field->clear();
    SetInputColour(field, editable);
}

std::string Text(const QLineEdit* edit) {
    return edit->text().toStdString();
}
std::string Text(const QComboBox* box) {
    return box->currentText().toStdString();
}

// Shows an accepted entry as ENTER does: the four level fields and the diagnostic panel's
// lines.
void ShowAcceptedEntry(const EntryControls& c, const EntryAccepted& entry) {
    c.EditAntdBm->setText(QString::fromStdString(entry.powerText));
    c.EditAntVol->setText(QString::fromStdString(entry.voltageText));
    c.EditFieldStrength->setText(QString::fromStdString(entry.fieldText));
    c.EditGain->setText(QString::fromStdString(entry.gainText));
    c.Memo3->clear();
    for (const std::string& line : entry.diagnostics)
        c.Memo3->appendPlainText(QString::fromStdString(line));
}

// Empties the fields that show an entry's results rather than take its input, so that after
// a refusal none of them shows the levels of an earlier value beside the one now typed.
void ClearResults(const EntryControls& c, EntryMethod method) {
    const EntryControlStates s = ControlStatesFor(method);
    if (!s.gainEditable) c.EditGain->clear();
    if (!s.powerEditable) c.EditAntdBm->clear();
    if (!s.voltageEditable) c.EditAntVol->clear();
    if (!s.fieldEditable) c.EditFieldStrength->clear();
}

}  // namespace

EntryController::EntryController(Document& document, MessageDialogs& dialogs,
                                 const EntryControls& controls, QObject* parent)
    : QObject(parent), document_(document), dialogs_(dialogs), c_(controls) {
    const EntryControls& c = c_;
    c.EditGain->setText(QString::fromStdString(DefaultGainText(SystemDecimalSeparator())));
    connect(c.RadioGroup1Buttons, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked) RadioGroup1Click();
    });
    connect(c.CBFreqMode, &QCheckBox::toggled, this, [this] { CBFreqModeClick(); });
    connect(c.ButEnter, &QPushButton::clicked, this, [this] { ButEnterClick(); });
    for (QLineEdit* e : {c.EditGain, c.EditAntdBm, c.EditAntVol}) e->installEventFilter(this);
    // "ENTER" is the window's default button. Return and Enter that no control took press it;
    // in an open drop-down list they only pick the item, since the list takes the key.
    c.window->installEventFilter(this);
}

void EntryController::RadioGroup1Click() {
    const EntryControls& c = c_;
    const EntryMethod method =
        EntryMethodFromIndex(c.RadioGroup1Buttons->checkedId()).value_or(EntryMethod::SValue);
    // Field strength needs no gain and clears it (ENTER then shows "---"); leaving it puts
    // back the gain from before, which the other methods need.
    const bool field = method == EntryMethod::FieldStrength;
    if (field && !fieldStrength_) gainBeforeField_ = c.EditGain->text();
    const bool leavingField = fieldStrength_ && !field;
    fieldStrength_ = field;
    const EntryControlStates s = ControlStatesFor(method);
    c.CBSValue->setEnabled(s.sValueEnabled);
    SetInputColour(c.CBSValue, s.sValueEnabled);
    SetFieldState(c.EditGain, s.gainEditable, s.clearGain);
    SetFieldState(c.EditAntdBm, s.powerEditable, s.clearPower);
    SetFieldState(c.EditAntVol, s.voltageEditable, s.clearVoltage);
    SetFieldState(c.EditFieldStrength, s.fieldEditable, s.clearField);
    if (leavingField) c.EditGain->setText(gainBeforeField_);
}

void EntryController::CBFreqModeClick() {
    const EntryControls& c = c_;
    const bool freeFrequency = c.CBFreqMode->isChecked();
    c.EditFrequency->setReadOnly(!freeFrequency);
    SetInputColour(c.EditFrequency, freeFrequency);
    c.CBBand->setEnabled(!freeFrequency);
    SetInputColour(c.CBBand, !freeFrequency);
}

void EntryController::EditGainDblClick() {
    c_.EditGain->setText(
        QString::fromStdString(*DoubleClickText(EntryField::Gain, SystemDecimalSeparator())));
}

void EntryController::EditAntdBmDblClick() {
    c_.EditAntdBm->setText(QString::fromStdString(
        *DoubleClickText(EntryField::AntennaPower, SystemDecimalSeparator())));
}

void EntryController::EditAntVolDblClick() {
    c_.EditAntVol->setText(QString::fromStdString(
        *DoubleClickText(EntryField::AntennaVoltage, SystemDecimalSeparator())));
}

EntryInputs EntryController::readInputs() const {
    const EntryControls& c = c_;
    EntryInputs in;
    in.band = Text(c.CBBand);
    in.freeFrequency = c.CBFreqMode->isChecked();
    in.frequency = Text(c.EditFrequency);
    in.sValue = Text(c.CBSValue);
    in.gain = Text(c.EditGain);
    in.antennaPower = Text(c.EditAntdBm);
    in.antennaVoltage = Text(c.EditAntVol);
    in.fieldStrength = Text(c.EditFieldStrength);
    in.method =
        EntryMethodFromIndex(c.RadioGroup1Buttons->checkedId()).value_or(EntryMethod::SValue);
    in.bandwidth = document_.bandwidthText();
    return in;
}

void EntryController::ButEnterClick() {
    const EntryControls& c = c_;
    const EntryInputs inputs = readInputs();
    const EntryResult result = EvaluateEntry(inputs, SystemDecimalSeparator());

    if (const auto* failure = std::get_if<EntryFailure>(&result)) {
        ClearResults(c, inputs.method);
        dialogs_.show(failure->message);
        if (failure->resetField)
            resetField(*failure->resetField, QString::fromStdString(failure->resetText));
        return;
    }

    const EntryAccepted& ok = std::get<EntryAccepted>(result);
    ShowAcceptedEntry(c, ok);
    document_.appendRow(ok.row);
}

void EntryController::resetField(EntryField field, const QString& text) {
    switch (field) {
        case EntryField::Frequency:
            break;  // keeps its text
        case EntryField::Gain:
            c_.EditGain->setText(text);
            break;
        case EntryField::AntennaPower:
            c_.EditAntdBm->setText(text);
            break;
        case EntryField::AntennaVoltage:
            c_.EditAntVol->setText(text);
            break;
        case EntryField::FieldStrength:
            c_.EditFieldStrength->setText(text);
            break;
        case EntryField::Bandwidth:
            document_.resetBandwidthText(text.toStdString());
            break;
    }
}

bool EntryController::eventFilter(QObject* watched, QEvent* event) {
    if (watched == c_.window && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            c_.ButEnter->click();
            return true;
        }
    }
    if (event->type() == QEvent::MouseButtonDblClick) {
        const EntryControls& c = c_;
        if (watched == c.EditGain) EditGainDblClick();
        if (watched == c.EditAntdBm) EditAntdBmDblClick();
        if (watched == c.EditAntVol) EditAntVolDblClick();
    }
    return QObject::eventFilter(watched, event);
}

receiver::Target EntryController::readingTarget() const {
    if (c_.CBFreqMode->isChecked())
        return receiver::Target::Free(c_.EditFrequency->text().trimmed().toStdString());
    return receiver::Target::Band(c_.CBBand->currentText().toStdString());
}

std::optional<std::string> EntryController::readingGain() const {
    if (c_.EditGain->isReadOnly()) return std::nullopt;
    return c_.EditGain->text().toStdString();
}

void EntryController::showRigReading(const EntryAccepted& entry) {
    // An S-meter reading is an antenna voltage, an SDR's noise measurement an antenna power.
    const auto tagged = [&](EntryMethod m) {
        return EntryMethods[static_cast<std::size_t>(m)].tag == entry.row.entryUnit;
    };
    const EntryMethod method =
        tagged(EntryMethod::AntennaPower) ? EntryMethod::AntennaPower : EntryMethod::AntennaVoltage;
    if (QAbstractButton* b = c_.RadioGroup1Buttons->button(static_cast<int>(method)))
        b->setChecked(true);
    ShowAcceptedEntry(c_, entry);
}

}  // namespace fw
