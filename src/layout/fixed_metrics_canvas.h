#pragma once

#include "layout/canvas.h"

namespace vetra {

// Text metrics that do not depend on any font: a string is 8 pixels wide per
// byte and 16 pixels high. Drawing goes to `target` when one is given (for
// example a recording canvas) and is dropped otherwise. Layouts made with it
// are the same on every machine.
class TFixed_Metrics_Canvas : public TCanvas {
  public:
    static constexpr int32_t kByte_Width = 8;
    static constexpr int32_t kLine_Height = 16;

    explicit TFixed_Metrics_Canvas(TCanvas* target = nullptr) : Target_(target) {}

    void setPenColor(int32_t color) override {
        if (Target_) Target_->setPenColor(color);
    }
    void setPenWidth(int32_t width) override {
        if (Target_) Target_->setPenWidth(width);
    }
    void setPenMode(TPen_Mode mode) override {
        if (Target_) Target_->setPenMode(mode);
    }
    void setBrushColor(int32_t color) override {
        if (Target_) Target_->setBrushColor(color);
    }
    void setBrushStyle(TBrush_Style style) override {
        if (Target_) Target_->setBrushStyle(style);
    }
    void setFont(std::string_view face, int32_t points, int32_t flags) override {
        if (Target_) Target_->setFont(face, points, flags);
    }
    void setFontColor(int32_t color) override {
        if (Target_) Target_->setFontColor(color);
    }
    void rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override {
        if (Target_) Target_->rectangle(x1, y1, x2, y2);
    }
    void roundRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t cw,
                   int32_t ch) override {
        if (Target_) Target_->roundRect(x1, y1, x2, y2, cw, ch);
    }
    void ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override {
        if (Target_) Target_->ellipse(x1, y1, x2, y2);
    }
    void moveTo(int32_t x, int32_t y) override {
        if (Target_) Target_->moveTo(x, y);
    }
    void lineTo(int32_t x, int32_t y) override {
        if (Target_) Target_->lineTo(x, y);
    }
    void arc(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t sx, int32_t sy, int32_t ex,
             int32_t ey) override {
        if (Target_) Target_->arc(x1, y1, x2, y2, sx, sy, ex, ey);
    }
    void textOut(int32_t x, int32_t y, std::string_view text) override {
        if (Target_) Target_->textOut(x, y, text);
    }
    void setPixel(int32_t x, int32_t y, int32_t color) override {
        if (Target_) Target_->setPixel(x, y, color);
    }
    void fillRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t color) override {
        if (Target_) Target_->fillRect(x1, y1, x2, y2, color);
    }

    int32_t textWidth(std::string_view text) override {
        return static_cast<int32_t>(text.size()) * kByte_Width;
    }
    int32_t textHeight(std::string_view) override { return kLine_Height; }

  private:
    TCanvas* Target_;
};

}  // namespace vetra
