#include "app/entry_controller.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include "app/control_style.h"
#include "measure/entry.h"
#include "app/main_window.h"
#include "libs/regional.h"

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

}  // namespace

EntryController::EntryController(MainWindow& window) : QObject(&window), window_(window) {
    MainControls& c = controls();
    c.EditGain->setText(QString::fromStdString(DefaultGainText(SystemDecimalSeparator())));
    connect(c.RadioGroup1Buttons, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked) RadioGroup1Click();
    });
    connect(c.CBFreqMode, &QCheckBox::toggled, this, [this] { CBFreqModeClick(); });
    connect(c.ButEnter, &QPushButton::clicked, this, [this] { ButEnterClick(); });
    for (QLineEdit* e : {c.EditGain, c.EditAntdBm, c.EditAntVol}) e->installEventFilter(this);
}

MainControls& EntryController::controls() {
    return window_.controls();
}

void EntryController::RadioGroup1Click() {
    MainControls& c = controls();
    const EntryControlStates s = ControlStatesFor(
        EntryMethodFromIndex(c.RadioGroup1Buttons->checkedId()).value_or(EntryMethod::SValue));
    c.CBSValue->setEnabled(s.sValueEnabled);
    SetInputColour(c.CBSValue, s.sValueEnabled);
    SetFieldState(c.EditGain, s.gainEditable, s.clearGain);
    SetFieldState(c.EditAntdBm, s.powerEditable, s.clearPower);
    SetFieldState(c.EditAntVol, s.voltageEditable, s.clearVoltage);
    SetFieldState(c.EditFieldStrength, s.fieldEditable, s.clearField);
}

void EntryController::CBFreqModeClick() {
    MainControls& c = controls();
    const bool freeFrequency = c.CBFreqMode->isChecked();
    c.EditFrequency->setReadOnly(!freeFrequency);
    SetInputColour(c.EditFrequency, freeFrequency);
    c.CBBand->setEnabled(!freeFrequency);
    SetInputColour(c.CBBand, !freeFrequency);
}

void EntryController::EditGainDblClick() {
    controls().EditGain->setText(
        QString::fromStdString(*DoubleClickText(EntryField::Gain, SystemDecimalSeparator())));
}

void EntryController::EditAntdBmDblClick() {
    controls().EditAntdBm->setText(QString::fromStdString(
        *DoubleClickText(EntryField::AntennaPower, SystemDecimalSeparator())));
}

void EntryController::EditAntVolDblClick() {
    controls().EditAntVol->setText(QString::fromStdString(
        *DoubleClickText(EntryField::AntennaVoltage, SystemDecimalSeparator())));
}

EntryInputs EntryController::readInputs() {
    MainControls& c = controls();
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
    in.bandwidth = Text(c.CBBandWidth);
    return in;
}

void EntryController::ButEnterClick() {
    MainControls& c = controls();
    const EntryResult result = EvaluateEntry(readInputs(), SystemDecimalSeparator());

    if (const auto* failure = std::get_if<EntryFailure>(&result)) {
        const QString message = QString::fromStdString(failure->message);
        switch (failure->kind) {
            case MessageKind::Information:
                window_.dialogs().information(message);
                break;
            case MessageKind::Warning:
                window_.dialogs().warning(message);
                break;
            case MessageKind::Error:
                window_.dialogs().error(message);
                break;
        }
        if (!failure->resetField) return;
        const QString reset = QString::fromStdString(failure->resetText);
        switch (*failure->resetField) {
            case EntryField::Frequency:
                break;  // keeps its text
            case EntryField::Gain:
                c.EditGain->setText(reset);
                break;
            case EntryField::AntennaPower:
                c.EditAntdBm->setText(reset);
                break;
            case EntryField::AntennaVoltage:
                c.EditAntVol->setText(reset);
                break;
            case EntryField::FieldStrength:
                c.EditFieldStrength->setText(reset);
                break;
            case EntryField::Bandwidth: {
                // Like the bandwidth box's own reset: no change event, no redraw.
                const QSignalBlocker block(c.CBBandWidth);
                c.CBBandWidth->setEditText(reset);
                break;
            }
        }
        return;
    }

    const EntryAccepted& ok = std::get<EntryAccepted>(result);
    c.EditAntdBm->setText(QString::fromStdString(ok.powerText));
    c.EditAntVol->setText(QString::fromStdString(ok.voltageText));
    c.EditFieldStrength->setText(QString::fromStdString(ok.fieldText));
    c.EditGain->setText(QString::fromStdString(ok.gainText));
    c.Memo3->clear();
    for (const std::string& line : ok.diagnostics)
        c.Memo3->appendPlainText(QString::fromStdString(line));
    window_.measList().appendRow(ok.row);
    window_.updateUserList();
    window_.updateNoise();
}

bool EntryController::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick) {
        MainControls& c = controls();
        if (watched == c.EditGain) EditGainDblClick();
        if (watched == c.EditAntdBm) EditAntdBmDblClick();
        if (watched == c.EditAntVol) EditAntVolDblClick();
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace fw
