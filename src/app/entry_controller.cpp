#include "entry_controller.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include "control_style.h"
#include "entry_method_states.h"
#include "main_window.h"
#include "regional.h"

namespace fw {

namespace {

void SetFieldState(QLineEdit* field, bool editable, bool clear) {
    field->setReadOnly(!editable);
    if (clear) field->clear();
    SetInputColour(field, editable);
}

}  // namespace

QString GainResetText() {
    return QStringLiteral("2") + QChar::fromLatin1(SystemDecimalSeparator()) + QStringLiteral("15");
}

EntryController::EntryController(MainWindow& window) : QObject(&window), window_(window) {
    MainControls& c = controls();
    c.EditGain->setText(GainResetText());
    connect(c.RadioGroup1Buttons, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked) RadioGroup1Click();
    });
    connect(c.CBFreqMode, &QCheckBox::toggled, this, [this] { CBFreqModeClick(); });
}

MainControls& EntryController::controls() {
    return window_.controls();
}

void EntryController::RadioGroup1Click() {
    MainControls& c = controls();
    const EntryMethodStates s = StatesForEntryMethod(c.RadioGroup1Buttons->checkedId());
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

}  // namespace fw
