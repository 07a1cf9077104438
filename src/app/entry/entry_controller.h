#pragma once
// The inputs of the "Add Measurement" group, the "Entry Method" radio group and the
// "ENTER" button that adds a measurement.
#include <QObject>

#include "app/window/dialogs.h"
#include "app/window/document.h"
#include "app/window/main_controls.h"

namespace fw {

struct EntryAccepted;
struct EntryInputs;
enum class EntryField;

// Shows an accepted entry in the entry group as ENTER does: the four level fields and the
// diagnostic panel's lines.
void ShowAcceptedEntry(const EntryControls& controls, const EntryAccepted& entry);

class EntryController : public QObject {
    Q_OBJECT

  public:
    EntryController(Document& document, Dialogs& dialogs, const EntryControls& controls,
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

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    EntryInputs readInputs() const;
    void resetField(EntryField field, const QString& text);

    Document& document_;
    Dialogs& dialogs_;
    EntryControls c_;
    bool fieldStrength_ = false;  // the field-strength method is chosen
    QString gainBeforeField_;     // the gain when it was chosen, put back when it is left
};

}  // namespace fw
