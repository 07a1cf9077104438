#pragma once
// The inputs of the "Add Measurement" group, the "Entry Method" radio group and the
// "ENTER" button that adds a measurement.
#include <QObject>
#include <optional>
#include <string>

#include "app/window/dialogs.h"
#include "app/window/document.h"
#include "app/window/main_controls.h"
#include "rig/sweep.h"

namespace fw {

struct EntryAccepted;
struct EntryInputs;
enum class EntryField;

class EntryController : public QObject {
    Q_OBJECT

  public:
    EntryController(Document& document, MessageDialogs& dialogs, const EntryControls& controls,
                    QObject* parent);

    // Entry method changed: edit states, emptied fields and colours of rows 3 to 7.
    void RadioGroup1Click();
    // Free-frequency box changed: frequency field or band selector becomes the input.
    void CBFreqModeClick();
    // Double-clicks put a reset value into the field, read-only or not.
    void EditGainDblClick();
    void EditAntdBmDblClick();
    void EditAntVolDblClick();
    // Checks the inputs, converts, writes the values back, appends the row and redraws;
    // or shows the one failure and resets only the failed field.
    void ButEnterClick();

    // Where "Read S-Meter" reads: the free frequency typed, or else the band chosen.
    receiver::Target readingTarget() const;
    // The gain typed for a reading; none while the entry method does not use the gain field.
    std::optional<std::string> readingGain() const;
    // Shows a reading taken from the rig (an antenna voltage) or the SDR (an antenna power) as
    // if it had been typed and entered.
    void showRigReading(const EntryAccepted& entry);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    EntryInputs readInputs() const;
    void resetField(EntryField field, const QString& text);

    Document& document_;
    MessageDialogs& dialogs_;
    EntryControls c_;
    bool fieldStrength_ = false;  // the field-strength method is chosen
    QString gainBeforeField_;     // the gain when it was chosen, put back when it is left
};

}  // namespace fw
