#pragma once
// A canvas that records every primitive call with its arguments.
#include <string>
#include <vector>

#include "diagram/canvas.h"

namespace fw::test {

struct Call {
    std::string op;
    std::vector<int> a;  // integer arguments in call order
    std::string text;    // text or font family
    Rgb c1{}, c2{};
};

class RecordingCanvas final : public DiagramCanvas {
  public:
    std::vector<Call> calls;

    void ClearCanvas() override { calls.push_back({"ClearCanvas", {}, {}, {}, {}}); }
    void SetFont(std::string_view family, int sizePt) override {
        calls.push_back({"SetFont", {sizePt}, std::string(family), {}, {}});
    }
    void DrawLine(int x1, int y1, int x2, int y2, Rgb c) override {
        calls.push_back({"DrawLine", {x1, y1, x2, y2}, {}, c, {}});
    }
    void DrawDot(int x, int y, int r, Rgb c) override {
        calls.push_back({"DrawDot", {x, y, r}, {}, c, {}});
    }
    void FillBox(int x, int y, int w, int h, Rgb c) override {
        calls.push_back({"FillBox", {x, y, w, h}, {}, c, {}});
    }
    void DrawBox(int x, int y, int w, int h, Rgb fill, Rgb outline) override {
        calls.push_back({"DrawBox", {x, y, w, h}, {}, fill, outline});
    }
    void DrawText(int x, int y, std::string_view text, Rgb fg, Rgb bg) override {
        calls.push_back({"DrawText", {x, y}, std::string(text), fg, bg});
    }
    void DrawTextUp(int x, int y, std::string_view text, Rgb fg, Rgb bg) override {
        calls.push_back({"DrawTextUp", {x, y}, std::string(text), fg, bg});
    }

    std::vector<Call> only(const std::string& op) const {
        std::vector<Call> out;
        for (const Call& c : calls)
            if (c.op == op) out.push_back(c);
        return out;
    }
    const Call* text(const std::string& t) const {
        for (const Call& c : calls)
            if ((c.op == "DrawText" || c.op == "DrawTextUp") && c.text == t) return &c;
        return nullptr;
    }
};

}  // namespace fw::test
