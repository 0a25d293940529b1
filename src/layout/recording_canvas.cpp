#include "layout/recording_canvas.h"

#include <cstdio>

#include "platform/text_mode.h"

namespace vetra {

void TRecording_Canvas::beginLine(const char* name) {
    if (!Text_.empty()) Text_ += '\n';
    Text_ += name;
}

void TRecording_Canvas::appendNumber(int32_t value) {
    Text_ += ' ';
    Text_ += std::to_string(value);
}

void TRecording_Canvas::appendColor(int32_t color) {
    char digits[12];
    std::snprintf(digits, sizeof digits, " %08X", static_cast<uint32_t>(color));
    Text_ += digits;
}

void TRecording_Canvas::appendQuoted(std::string_view bytes) {
    std::string utf8 = nodeTextToUtf8(bytes);
    Text_ += " \"";
    for (unsigned char c : utf8) {
        switch (c) {
            case '"':
                Text_ += "\\\"";
                break;
            case '\\':
                Text_ += "\\\\";
                break;
            case '\n':
                Text_ += "\\n";
                break;
            case '\r':
                Text_ += "\\r";
                break;
            case '\t':
                Text_ += "\\t";
                break;
            default:
                if (c < 0x20 || c == 0x7F) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
                    Text_ += escaped;
                } else {
                    Text_ += static_cast<char>(c);
                }
        }
    }
    Text_ += '"';
}

void TRecording_Canvas::setPenColor(int32_t color) {
    beginLine("pen_color");
    appendColor(color);
}

void TRecording_Canvas::setPenWidth(int32_t width) {
    beginLine("pen_width");
    appendNumber(width);
}

void TRecording_Canvas::setPenMode(TPen_Mode mode) {
    beginLine(mode == TPen_Mode::Xor ? "pen_mode xor" : "pen_mode copy");
}

void TRecording_Canvas::setBrushColor(int32_t color) {
    beginLine("brush_color");
    appendColor(color);
}

void TRecording_Canvas::setBrushStyle(TBrush_Style style) {
    beginLine(style == TBrush_Style::Solid ? "brush_style solid" : "brush_style clear");
}

void TRecording_Canvas::setFont(std::string_view face, int32_t points, int32_t flags) {
    Metrics_->setFont(face, points, flags);
    beginLine("font");
    appendNumber(points);
    appendNumber(flags);
    appendQuoted(face);
}

void TRecording_Canvas::setFontColor(int32_t color) {
    beginLine("font_color");
    appendColor(color);
}

void TRecording_Canvas::rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    beginLine("rect");
    for (int32_t v : {x1, y1, x2, y2}) appendNumber(v);
}

void TRecording_Canvas::roundRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                                  int32_t cornerWidth, int32_t cornerHeight) {
    beginLine("round_rect");
    for (int32_t v : {x1, y1, x2, y2, cornerWidth, cornerHeight}) appendNumber(v);
}

void TRecording_Canvas::ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    beginLine("ellipse");
    for (int32_t v : {x1, y1, x2, y2}) appendNumber(v);
}

void TRecording_Canvas::moveTo(int32_t x, int32_t y) {
    beginLine("move_to");
    appendNumber(x);
    appendNumber(y);
}

void TRecording_Canvas::lineTo(int32_t x, int32_t y) {
    beginLine("line_to");
    appendNumber(x);
    appendNumber(y);
}

void TRecording_Canvas::arc(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t startX,
                            int32_t startY, int32_t endX, int32_t endY) {
    beginLine("arc");
    for (int32_t v : {x1, y1, x2, y2, startX, startY, endX, endY}) appendNumber(v);
}

void TRecording_Canvas::textOut(int32_t x, int32_t y, std::string_view text) {
    beginLine("text");
    appendNumber(x);
    appendNumber(y);
    appendQuoted(text);
}

void TRecording_Canvas::setPixel(int32_t x, int32_t y, int32_t color) {
    beginLine("pixel");
    appendNumber(x);
    appendNumber(y);
    appendColor(color);
}

void TRecording_Canvas::fillRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t color) {
    beginLine("fill_rect");
    for (int32_t v : {x1, y1, x2, y2}) appendNumber(v);
    appendColor(color);
}

int32_t TRecording_Canvas::textWidth(std::string_view text) {
    return Metrics_->textWidth(text);
}

int32_t TRecording_Canvas::textHeight(std::string_view text) {
    return Metrics_->textHeight(text);
}

}  // namespace vetra
