#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QString>
#include <memory>
#include <string>
#include <unordered_map>

#include "layout/canvas.h"
#include "ui/ideograph_advances.h"

namespace vetra {

class TShaped_Text_Cache;

// TCanvas on a QPainter: the screen, pictures and vector exports. Follows the
// Windows conventions the drawing code relies on (right and bottom edges and
// line end points not drawn, counter-clockwise arcs, exclusive-or pen).
// Without a painter it only measures, against a 96-dpi image as Windows
// measures on the screen.
class TQPainter_Canvas : public TCanvas {
  public:
    explicit TQPainter_Canvas(QPainter* painter = nullptr);
    ~TQPainter_Canvas() override;

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
    // Distance from the top of a text to its baseline in the current font.
    int32_t textAscent();
    // Texts are drawn from this cache's shaped glyphs (for the screen,
    // whose captions are drawn again and again); without one, each is shaped
    // as it is drawn.
    void setShapedTextCache(TShaped_Text_Cache* cache) { Shaped_ = cache; }

    // 0x00BBGGRR (-1: black) as a Qt colour.
    static QColor toQColor(int32_t color);
    // Bytes in the active code page as a QString.
    static QString toQString(std::string_view bytes);

  private:
    struct TFont_Entry {
        QFont font;
        QFontMetrics metrics;
        // Advance of each character met so far; -1 not yet measured.
        std::unordered_map<char16_t, int32_t> advances;
        std::unique_ptr<TIdeograph_Advances> ideographs;  // made at the first ideograph
    };
    void applyPen();
    void useShapePen();
    void applyBrush();
    TFont_Entry& fontEntry();
    QPaintDevice* metricsDevice() const;

    QPainter* Painter_;
    std::unique_ptr<QImage> Measure_Image_;  // the metrics device without a painter
    int32_t Pen_Color_ = 0;
    int32_t Pen_Width_ = 1;
    int32_t Brush_Color_ = 0xFFFFFF;
    TBrush_Style Brush_Style_ = TBrush_Style::Solid;
    int32_t Font_Color_ = 0;
    // The painter's pen is the text colour left by textOut, not the canvas
    // pen: texts in a row set it once, and shapes set the pen back first.
    bool Text_Pen_ = false;
    int32_t Text_Pen_Color_ = 0;
    QPoint Current_;
    std::string Font_Key_;
    TFont_Entry* Font_ = nullptr;
    TShaped_Text_Cache* Shaped_ = nullptr;
    std::unordered_map<std::string, std::unique_ptr<TFont_Entry>> Fonts_;
};

}  // namespace vetra
