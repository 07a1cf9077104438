#include "cli/render_options.h"

#include "cli/place_time_options.h"
#include "libs/int_text.h"
#include "measure/station_atmosphere.h"
#include "measure/user_data_file.h"

namespace fw::cli {

namespace {

constexpr int MaxPictureSide = 16384;

void ParseSize(const std::string& text, int& width, int& height) {
    const auto x = text.find('x');
    const auto w = x == std::string::npos ? std::nullopt : ParseIntText(text.substr(0, x));
    const auto h = x == std::string::npos ? std::nullopt : ParseIntText(text.substr(x + 1));
    if (!w || !h || *w < 1 || *h < 1 || *w > MaxPictureSide || *h > MaxPictureSide)
        throw Refusal("--size must be WIDTHxHEIGHT with each side from 1 to " +
                      std::to_string(MaxPictureSide) + " pixels!");
    width = *w;
    height = *h;
}

}  // namespace

std::int32_t ParseBandwidthText(const std::string& text) {
    const auto b = ParseIntText(text);
    if (!b) throw Refusal(std::string(BandwidthRefusedText));
    return *b;
}

RenderOptions TakeRenderOptions(ArgList& args) {
    RenderOptions o;
    if (auto v = args.takeOption("--bandwidth")) o.bandwidthHz = ParseBandwidthText(*v);
    if (auto v = args.takeOption("--ypos")) o.yPos = ParseIntOption("--ypos", *v, -100, 80);
    if (auto v = args.takeOption("--ywidth")) o.yWidth = ParseIntOption("--ywidth", *v, 10, 200);
    if (auto v = args.takeOption("--size")) ParseSize(*v, o.width, o.height);
    if (args.takeFlag("--no-correction")) o.correction = false;
    o.locator = args.takeOption("--locator");
    o.dateTime = args.takeOption("--datetime");
    o.dataFile = args.takeOption("--data");
    o.deciles = args.takeFlag("--deciles");
    o.atmospheric = args.takeFlag("--atmospheric");
    o.ituData = args.takeOption("--itu-data");
    return o;
}

LoadedData LoadDataOption(const std::string& path, char decimalSeparator) {
    UserDataLoad load = LoadUserDataFile(path, decimalSeparator);
    if (load.status != UserDataStatus::Ok) {
        std::string text;
        for (const Message& message : LoadFailureMessages(load, path))
            text += (text.empty() ? "" : "\n") + message.text;
        throw Refusal(text);
    }
    SortMeasList(load.list);
    return {std::move(load.list), std::move(load.locator), std::move(load.dateTime)};
}

std::unique_ptr<DiagramSource> BuildDiagramSource(const RenderOptions& o, char decimalSeparator) {
    auto source = std::make_unique<DiagramSource>();
    DiagramInputs& in = source->inputs;
    if (o.dataFile) {
        LoadedData data = LoadDataOption(*o.dataFile, decimalSeparator);
        source->list = std::move(data.list);
        in.locator = std::move(data.locator);
        in.measDateTime = std::move(data.dateTime);
    }
    if (o.locator) in.locator = *o.locator;
    if (o.dateTime) in.measDateTime = *o.dateTime;
    source->curves = computeReferenceCurves(o.bandwidthHz);
    in.curves = &source->curves;
    in.width = o.width;
    in.height = o.height;
    in.bandwidthCorrection = o.correction;
    in.yPos = o.yPos;
    in.yWidth = o.yWidth;
    in.measurements = MeasDots{source->list.MeasFreqMHz(), source->list.MeasFieldDbuVm(),
                               source->list.MeasBandwidthHz()};
    in.deciles = o.deciles;
    if (o.atmospheric) {
        const auto store = ItuCoefficientsFor(o.ituData);
        const ItuCoefficientCache& coefficients = *store;
        Outcome<AtmosphericLayer> layer = StationAtmosphericLayer(
            in.locator, in.measDateTime, source->curves.freqGrid, coefficients);
        source->atmosphericNote = coefficients.warning();
        if (layer) {
            source->atmospheric = std::move(layer).value();
            in.atmospheric = &*source->atmospheric;
        } else {
            if (!source->atmosphericNote.empty()) source->atmosphericNote += '\n';
            source->atmosphericNote += layer.reason();
        }
    }
    return source;
}

}  // namespace fw::cli
