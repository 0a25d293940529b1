#pragma once

#include <cstdint>
#include <string_view>

namespace vetra {

enum class TPen_Mode { Copy, Xor };
enum class TBrush_Style { Solid, Clear };

// Font flags of a caption: any combination.
inline constexpr int32_t kFont_Bold = 1;
inline constexpr int32_t kFont_Italic = 2;
inline constexpr int32_t kFont_Underline = 4;

// The drawing surface of the layout and painting code. Coordinates are pixels
// and follow the Windows conventions the drawing relies on: a rectangle's
// right and bottom edges and a line's end point are not drawn, shapes are
// outlined with the pen and filled with the brush, arcs run counter-clockwise
// from the start point to the end point. Colours are 0x00BBGGRR; -1 draws
// black. Texts are bytes in the active code page.
class TCanvas {
  public:
    virtual ~TCanvas() = default;

    virtual void setPenColor(int32_t color) = 0;
    virtual void setPenWidth(int32_t width) = 0;
    virtual void setPenMode(TPen_Mode mode) = 0;
    virtual void setBrushColor(int32_t color) = 0;
    virtual void setBrushStyle(TBrush_Style style) = 0;
    // Face (bytes in the active code page), size in points and kFont_* flags.
    virtual void setFont(std::string_view face, int32_t points, int32_t flags) = 0;
    virtual void setFontColor(int32_t color) = 0;

    virtual void rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2) = 0;
    virtual void roundRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t cornerWidth,
                           int32_t cornerHeight) = 0;
    virtual void ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2) = 0;
    virtual void moveTo(int32_t x, int32_t y) = 0;
    virtual void lineTo(int32_t x, int32_t y) = 0;
    virtual void arc(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t startX, int32_t startY,
                     int32_t endX, int32_t endY) = 0;
    // Transparent background; (x, y) is the top-left corner of the text.
    virtual void textOut(int32_t x, int32_t y, std::string_view text) = 0;
    virtual void setPixel(int32_t x, int32_t y, int32_t color) = 0;
    // Fills (x1, y1) .. (x2, y2), right and bottom excluded, ignoring pen and brush.
    virtual void fillRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t color) = 0;

    // Metrics of a string in the current font.
    virtual int32_t textWidth(std::string_view text) = 0;
    virtual int32_t textHeight(std::string_view text) = 0;
};

// Red, green and blue of a 0x00BBGGRR colour.
inline int32_t colorRed(int32_t color) {
    return color & 0xFF;
}
inline int32_t colorGreen(int32_t color) {
    return (color >> 8) & 0xFF;
}
inline int32_t colorBlue(int32_t color) {
    return (color >> 16) & 0xFF;
}

}  // namespace vetra
