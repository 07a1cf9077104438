#include "render_options.h"

#include "int_text.h"

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
    if (!b) throw Refusal("Bandwidth must be an integer number!");
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
    return o;
}

}  // namespace fw::cli
