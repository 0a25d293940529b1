#pragma once

#include <string>

#include "layout/canvas.h"
#include "layout/fixed_metrics_canvas.h"

namespace vetra {

// Writes every drawing call as one line of text, for tests and for
// `vetra --dump-paint`. Metrics come from `metrics` (a fixed-metrics canvas
// when none is given); measuring is not drawing and is not written. Line
// formats (integers in decimal, colours as eight hex digits of 0x00BBGGRR,
// texts as UTF-8 in double quotes with \" \\ \n \r \t and \xHH escapes):
//   pen_color C | pen_width N | pen_mode copy|xor | brush_color C |
//   brush_style solid|clear | font POINTS FLAGS "FACE" | font_color C |
//   rect X1 Y1 X2 Y2 | round_rect X1 Y1 X2 Y2 W H | ellipse X1 Y1 X2 Y2 |
//   move_to X Y | line_to X Y | arc X1 Y1 X2 Y2 SX SY EX EY |
//   text X Y "TEXT" | pixel X Y C | fill_rect X1 Y1 X2 Y2 C
class TRecording_Canvas : public TCanvas {
  public:
    explicit TRecording_Canvas(TCanvas* metrics = nullptr)
        : Metrics_(metrics != nullptr ? metrics : &Fixed_Metrics_) {}

    const std::string& text() const { return Text_; }
    void clear() { Text_.clear(); }

    void setPenColor(int32_t color) override;
    void setPenWidth(int32_t width) override;
    void setPenMode(TPen_Mode mode) override;
    void setBrushColor(int32_t color) override;
    void setBrushStyle(TBrush_Style style) override;
    void setFont(std::string_view face, int32_t points, int32_t flags) override;
    void setFontColor(int32_t color) override;
    void rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;
    void roundRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t cornerWidth,
                   int32_t cornerHeight) override;
    void ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;
    void moveTo(int32_t x, int32_t y) override;
    void lineTo(int32_t x, int32_t y) override;
    void arc(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t startX, int32_t startY,
             int32_t endX, int32_t endY) override;
    void textOut(int32_t x, int32_t y, std::string_view text) override;
    void setPixel(int32_t x, int32_t y, int32_t color) override;
    void fillRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t color) override;
    int32_t textWidth(std::string_view text) override;
    int32_t textHeight(std::string_view text) override;

  private:
    void beginLine(const char* name);
    void appendNumber(int32_t value);
    void appendColor(int32_t color);
    void appendQuoted(std::string_view bytes);

    TFixed_Metrics_Canvas Fixed_Metrics_;
    TCanvas* Metrics_;
    std::string Text_;
};

}  // namespace vetra
