#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "layout/canvas.h"

namespace vetra {

// TCanvas over an enhanced metafile file (libEMF): pens, brushes, fonts by
// face name, text as UTF-16, lines, arcs, rectangles and pixels become the
// metafile's own drawing records. Text is measured by `metrics`, the canvas
// the layout measured with, so the metafile matches the other pictures.
class TEmf_Canvas : public TCanvas {
  public:
    // A metafile of width x height pixels (96 dpi); check isOpen().
    TEmf_Canvas(const std::string& path, int32_t width, int32_t height, TCanvas& metrics);
    ~TEmf_Canvas() override;
    TEmf_Canvas(const TEmf_Canvas&) = delete;
    TEmf_Canvas& operator=(const TEmf_Canvas&) = delete;

    bool isOpen() const;
    // Writes the file; false when it could not be completed.
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
    struct TState;
    void applyPen();
    void applyBrush();
    void applyFont();
    std::unique_ptr<TState> State_;
    TCanvas& Metrics_;
};

}  // namespace vetra
