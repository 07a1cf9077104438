#include "app/window/document.h"

#include <exception>
#include <utility>

#include "app/window/qt_text.h"
#include "libs/regional.h"
#include "libs/startup_values.h"

namespace fw {

Document::Document(QObject* parent)
    : QObject(parent), listModel_(measList_, this), bandwidthText_(StartBandwidthText) {}

MeasDots Document::measurementDots() const {
    return {measList_.MeasFreqMHz(), measList_.MeasFieldDbuVm(), measList_.MeasBandwidthHz()};
}

template <typename Change>
void Document::changeList(Change&& change) {
    listModel_.beginReset();
    change();
    SortMeasList(measList_);
    listModel_.endReset(SystemDecimalSeparator());
}

void Document::start(AppState startState) {
    changeList([&] {
        state_ = std::move(startState);
        measList_.clear();
    });
    unsaved_ = false;
}

void Document::appendRow(const MeasRow& row, RowOrigin origin,
                         const std::optional<SdrEstimate>& estimate) {
    changeList([&] { measList_.appendRow(row); });
    unsaved_ = true;
    emit changed();
    emit rowEntered(row, origin, estimate);
}

void Document::removeListLine(int line) {
    changeList([&] {
        const long row = RowOfListLine(line, measList_.size());
        if (row < 0) return;
        measList_.removeRow(static_cast<std::size_t>(row));
        unsaved_ = true;
    });
    emit changed();
}

void Document::clearList() {
    changeList([&] {
        measList_.clear();
        state_.UserDataFile.clear();
    });
    unsaved_ = false;
    emit changed();
}

void Document::replaceFromFile(MeasList list, std::string locator, std::string dateTime,
                               std::string file) {
    changeList([&] {
        measList_ = std::move(list);
        state_.Locator = std::move(locator);
        state_.MeasDateTime = std::move(dateTime);
        state_.UserDataFile = std::move(file);
    });
    unsaved_ = false;
    emit changed();
}

void Document::setDataFile(std::string file) {
    state_.UserDataFile = std::move(file);
    unsaved_ = false;
}

void Document::setLocatorAndTime(std::string locator, std::optional<std::string> dateTime) {
    state_.Locator = std::move(locator);
    if (!dateTime) return;
    changeList([&] { state_.MeasDateTime = std::move(*dateTime); });
    emit changed();
}

void Document::setLevelAxis(std::int32_t yPos, std::int32_t yWidth) {
    // The list's lines do not depend on the level axis: its model and selection stay.
    state_.YPos = yPos;
    state_.YWidth = yWidth;
    emit changed();
}

void Document::setBandwidthText(std::string text) {
    bandwidthText_ = std::move(text);
    emit changed();
}

void Document::resetBandwidthText(std::string text) {
    bandwidthText_ = std::move(text);
    emit bandwidthTextReset(ToQString(bandwidthText_));
}

ToggleResult Document::applyLabelToggles(ShiftState keys) {
    return ApplyLabelToggles(state_, keys);
}

void Document::setLayers(bool decileBands, bool atmosphericNoise) {
    decileBands_ = decileBands;
    atmosphericNoise_ = atmosphericNoise;
    emit changed();
}

void Document::setSettings(AppSettings settings) {
    settings_ = std::move(settings);
    emit settingsChanged();
}

const DiagramPicture& Document::picture() const {
    if (!drawPicture_) return picture_;
    const std::function<DiagramPicture()> draw = std::exchange(drawPicture_, nullptr);
    try {
        picture_ = draw();
    } catch (const std::exception&) {
        picture_ = {};  // the shown picture was drawn from the same inputs; left empty
    }
    return picture_;
}

void Document::showPicture(DiagramPicture picture, std::int32_t bandwidthHz) {
    drawPicture_ = nullptr;
    picture_ = std::move(picture);
    pictureBandwidthHz_ = bandwidthHz;
    emit pictureReplaced();
}

void Document::showPictureDrawnOnDemand(std::function<DiagramPicture()> draw,
                                        std::int32_t bandwidthHz) {
    drawPicture_ = std::move(draw);
    picture_ = {};
    pictureBandwidthHz_ = bandwidthHz;
    emit pictureReplaced();
}

}  // namespace fw
