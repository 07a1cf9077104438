#pragma once
// What the main window shows and edits: the run's state, the measurement list with its list
// box model, locator, date/time, data-file name, the bandwidth text and the picture shown.
// Its operations are the only way to change them. List changes are bracketed by the list
// model's reset; every operation that needs a redraw announces exactly one `changed()`.
#include <QObject>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "app/settings/app_settings.h"
#include "app/logic/app_state.h"
#include "app/window/user_list_model.h"
#include "diagram/picture.h"
#include "diagram/render.h"
#include "measure/meas_list.h"
#include "stationlog/log_reading.h"

namespace fw {

// Where a row added to the list came from: typed in the entry group, or read from the rig.
enum class RowOrigin { Typed, Rig, Sdr };

class Document : public QObject {
    Q_OBJECT

  public:
    explicit Document(QObject* parent = nullptr);

    const AppState& state() const { return state_; }
    const MeasList& measList() const { return measList_; }
    UserListModel& listModel() { return listModel_; }
    // The measurements the diagram draws as dots.
    MeasDots measurementDots() const;

    // The window's creation: the start-up state and an empty list; no redraw is announced,
    // the creation handler draws once when everything is in place.
    void start(AppState startState);

    // Measurement list commands; each sorts the list, rebuilds the list box and announces.
    // Also announces `rowEntered`, for the station log.
    // An SDR's row comes with its estimate, which the station log keeps beside it.
    void appendRow(const MeasRow& row, RowOrigin origin = RowOrigin::Typed,
                   const std::optional<SdrEstimate>& estimate = std::nullopt);
    // Removes the row shown on list box line `line`; a header line or none removes nothing.
    void removeListLine(int line);
    // Empties the list and forgets the data file's name.
    void clearList();
    // A loaded data file: list, locator and time together, and the file's name.
    void replaceFromFile(MeasList list, std::string locator, std::string dateTime,
                         std::string file);
    // The list was saved as `file`; nothing shown changes.
    void setDataFile(std::string file);
    // The list has rows and was changed since it was last saved, loaded or emptied.
    bool hasUnsavedRows() const { return unsaved_ && !measList_.empty(); }

    // The locator command: with a date/time both change and the window redraws; without one
    // (the second question cancelled) only the locator changes, shown at the next redraw.
    void setLocatorAndTime(std::string locator, std::optional<std::string> dateTime);
    // Either level-axis bar moved.
    void setLevelAxis(std::int32_t yPos, std::int32_t yWidth);

    // The bandwidth box's text as typed; announces, since every keystroke redraws.
    const std::string& bandwidthText() const { return bandwidthText_; }
    void setBandwidthText(std::string text);
    // A refused bandwidth is reset without a redraw; the box follows through
    // `bandwidthTextReset`.
    void resetBandwidthText(std::string text);

    // The label toggles (diagnostic panel, automatic layout); nothing to redraw.
    ToggleResult applyLabelToggles(ShiftState keys);
    void setAutoLayout(bool on) { state_.AutoLayout = on; }

    // The diagram's optional layers ("View" menu), both off at start-up.
    bool decileBands() const { return decileBands_; }
    bool atmosphericNoise() const { return atmosphericNoise_; }
    void setLayers(bool decileBands, bool atmosphericNoise);

    // The program's settings; changing them redraws nothing. `settingsChanged` tells the
    // controllers that read them.
    const AppSettings& settings() const { return settings_; }
    void setSettings(AppSettings settings);

    // The picture shown now at its logical size (as it is saved, copied and printed), and
    // the bandwidth it was drawn for. Empty when it could not be drawn.
    const DiagramPicture& picture() const;
    std::int32_t pictureBandwidthHz() const { return pictureBandwidthHz_; }
    void showPicture(DiagramPicture picture, std::int32_t bandwidthHz);
    // The same for a screen that shows another picture (at device pixels): the logical one
    // is drawn by `draw` only when it is first asked for.
    void showPictureDrawnOnDemand(std::function<DiagramPicture()> draw, std::int32_t bandwidthHz);

  signals:
    // Something the diagram shows changed: the display redraws once.
    void changed();
    void bandwidthTextReset(const QString& text);
    void pictureReplaced();
    void settingsChanged();
    // A measurement was entered (typed or read from the rig) and added to the list.
    void rowEntered(const fw::MeasRow& row, fw::RowOrigin origin,
                    const std::optional<fw::SdrEstimate>& estimate);

  private:
    // Runs `change` between the list model's reset signals, then sorts the list.
    template <typename Change>
    void changeList(Change&& change);

    AppState state_;
    MeasList measList_;
    UserListModel listModel_;
    std::string bandwidthText_;
    AppSettings settings_;
    bool decileBands_ = false;
    bool atmosphericNoise_ = false;
    mutable DiagramPicture picture_;
    mutable std::function<DiagramPicture()> drawPicture_;  // set until picture_ is drawn
    std::int32_t pictureBandwidthHz_ = 0;
    bool unsaved_ = false;
};

}  // namespace fw
