#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <unordered_map>

#include "layout/canvas.h"

namespace vetra {

// TCanvas writing an SVG document as it is drawn: each shape, line run and
// text becomes an element at once, through a buffered file, so a drawing of
// any size needs no more memory than the buffer. Text is written as UTF-8
// with the node's font face first and CJK families after it; text is
// measured by `metrics`, the canvas the layout measured with. Shapes keep the
// canvas conventions: right and bottom edges and line end points are not
// drawn.
class TSvg_Canvas : public TCanvas {
  public:
    // A document of width x height pixels; check isOpen(). `ascent` gives
    // the distance from the top of a text to its baseline in the current
    // font of `metrics`, so texts stand where the bitmaps draw them; without
    // it the viewer places them by its own font's ascent.
    TSvg_Canvas(const std::string& path, int32_t width, int32_t height, TCanvas& metrics,
                std::function<int32_t()> ascent = {});
    ~TSvg_Canvas() override;
    TSvg_Canvas(const TSvg_Canvas&) = delete;
    TSvg_Canvas& operator=(const TSvg_Canvas&) = delete;

    bool isOpen() const { return File_ != nullptr; }
    // Ends the document and closes the file; false when it was not all written.
    bool close();

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
    void put(std::string_view text);
    void putNumber(double value);
    void putColor(int32_t color);
    void flushBuffer();
    void endLines();
    // Where a line of the pen lies within its pixel: 0.5 or 0.
    double penCentre() const;
    // Writes `<rect x=… y=… width=… height=…` of an outlined box.
    void putOutlineBox(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    // Writes ` stroke=… fill=…` for a shape drawn with pen and brush.
    void putPenAndBrush();
    // The class of the current font, declared by a style element on first use.
    const std::string& fontClass();

    FILE* File_ = nullptr;
    std::string Buffer_;
    bool Write_Failed_ = false;
    TCanvas& Metrics_;
    std::function<int32_t()> Ascent_;
    int32_t Pen_Color_ = 0, Pen_Width_ = 1, Brush_Color_ = 0xFFFFFF, Font_Color_ = 0;
    bool Clear_Brush_ = false;
    int32_t At_X_ = 0, At_Y_ = 0;
    bool Lines_Open_ = false;  // a path of line segments is being written
    std::string Font_Key_;     // face, points and flags of the current font
    std::unordered_map<std::string, std::string> Font_Classes_;
};

}  // namespace vetra
