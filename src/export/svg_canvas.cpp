#include "export/svg_canvas.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>

#include "export/html_text.h"
#include "platform/text_codec.h"
#include "platform/text_mode.h"

namespace vetra {
namespace {

constexpr size_t kBuffer_Bytes = size_t{1} << 20;

// Families tried after the node's own face, so Chinese text shows on
// machines without it.
constexpr std::string_view kFallback_Families =
    "'Noto Sans CJK SC','Noto Sans CJK TC','WenQuanYi Micro Hei','WenQuanYi Zen Hei',"
    "'Microsoft YaHei','SimSun','PingFang SC',sans-serif";

// UTF-8 text escaped for element text; characters XML does not allow are
// left out.
std::string xmlText(std::string_view utf8) {
    std::string allowed(utf8);
    std::erase_if(allowed,
                  [](char c) { return static_cast<unsigned char>(c) < 0x20 && c != '\t'; });
    return escaped(allowed);
}

// The angle of the ray from the centre of a box through a point, as a
// parameter of the box's ellipse (radians, y growing downward).
double ellipseParameter(double cx, double cy, double rx, double ry, double x, double y) {
    if (rx <= 0 || ry <= 0) return 0;
    return std::atan2((y - cy) / ry, (x - cx) / rx);
}

}  // namespace

TSvg_Canvas::TSvg_Canvas(const std::string& path, int32_t width, int32_t height, TCanvas& metrics,
                         std::function<int32_t()> ascent)
    : Metrics_(metrics), Ascent_(std::move(ascent)) {
    File_ = std::fopen(path.c_str(), "wb");
    if (File_ == nullptr) return;
    Buffer_.reserve(kBuffer_Bytes + 4096);
    put("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"");
    putNumber(width);
    put("\" height=\"");
    putNumber(height);
    put("\" viewBox=\"0 0 ");
    putNumber(width);
    put(" ");
    putNumber(height);
    put("\" xml:space=\"preserve\">\n<title>Vetra</title>\n");
    put(Ascent_ ? "<style>text{white-space:pre}</style>\n"
                : "<style>text{dominant-baseline:text-before-edge;white-space:pre}</style>\n");
}

TSvg_Canvas::~TSvg_Canvas() {
    close();
}

bool TSvg_Canvas::close() {
    if (File_ == nullptr) return false;
    endLines();
    put("</svg>\n");
    flushBuffer();
    const bool flushed = std::fflush(File_) == 0 && !std::ferror(File_);
    const bool closed = std::fclose(File_) == 0;
    File_ = nullptr;
    return flushed && closed && !Write_Failed_;
}

void TSvg_Canvas::put(std::string_view text) {
    Buffer_.append(text);
    if (Buffer_.size() >= kBuffer_Bytes) flushBuffer();
}

void TSvg_Canvas::flushBuffer() {
    if (File_ != nullptr && !Buffer_.empty() &&
        std::fwrite(Buffer_.data(), 1, Buffer_.size(), File_) != Buffer_.size())
        Write_Failed_ = true;
    Buffer_.clear();
}

void TSvg_Canvas::putNumber(double value) {
    char digits[32];
    const double rounded = std::round(value * 100) / 100;
    const auto result = std::to_chars(digits, digits + sizeof digits, rounded);
    put(std::string_view(digits, static_cast<size_t>(result.ptr - digits)));
}

void TSvg_Canvas::putColor(int32_t color) {
    static constexpr char kHex[] = "0123456789abcdef";
    if (color == -1) color = 0;
    const int32_t channels[3] = {colorRed(color), colorGreen(color), colorBlue(color)};
    char text[7] = {'#'};
    for (int i = 0; i < 3; ++i) {
        text[1 + 2 * i] = kHex[channels[i] >> 4];
        text[2 + 2 * i] = kHex[channels[i] & 15];
    }
    put(std::string_view(text, 7));
}

void TSvg_Canvas::endLines() {
    if (!Lines_Open_) return;
    put("\"/>\n");
    Lines_Open_ = false;
}

void TSvg_Canvas::putPenAndBrush() {
    put(" stroke=\"");
    putColor(Pen_Color_);
    if (Pen_Width_ > 1) {
        put("\" stroke-width=\"");
        putNumber(Pen_Width_);
    }
    put("\" fill=\"");
    if (Clear_Brush_)
        put("none");
    else
        putColor(Brush_Color_);
    put("\"");
}

void TSvg_Canvas::setPenColor(int32_t color) {
    if (color != Pen_Color_) endLines();
    Pen_Color_ = color;
}
void TSvg_Canvas::setPenWidth(int32_t width) {
    if (width != Pen_Width_) endLines();
    Pen_Width_ = width;
}
// Exports draw no exclusive-or highlights; copy mode is all a document needs.
void TSvg_Canvas::setPenMode(TPen_Mode) {}
void TSvg_Canvas::setBrushColor(int32_t color) {
    Brush_Color_ = color;
}
void TSvg_Canvas::setBrushStyle(TBrush_Style style) {
    Clear_Brush_ = style == TBrush_Style::Clear;
}

void TSvg_Canvas::setFont(std::string_view face, int32_t points, int32_t flags) {
    Metrics_.setFont(face, points, flags);
    Font_Key_.assign(face);
    Font_Key_.push_back('\0');
    Font_Key_.append(std::to_string(points));
    Font_Key_.push_back('/');
    Font_Key_.append(std::to_string(flags));
}

void TSvg_Canvas::setFontColor(int32_t color) {
    Font_Color_ = color;
}

const std::string& TSvg_Canvas::fontClass() {
    auto found = Font_Classes_.find(Font_Key_);
    if (found != Font_Classes_.end()) return found->second;
    const size_t nul = Font_Key_.find('\0');
    int points = 9, flags = 0;
    if (nul != std::string::npos)
        std::sscanf(Font_Key_.c_str() + nul + 1, "%d/%d", &points, &flags);
    // The face goes between single quotes in a style rule: quotes, backslashes
    // and markup characters cannot be part of it.
    std::string face =
        codePageToUtf8(std::string_view(Font_Key_).substr(0, nul), activeTextMode()).text;
    std::erase_if(face, [](char c) {
        return c == '\'' || c == '"' || c == '\\' || c == '<' || c == '>' || c == '&' || c == ';' ||
               c == '{' || c == '}' || static_cast<unsigned char>(c) < 0x20;
    });
    std::string name = std::to_string(Font_Classes_.size());
    name.insert(0, 1, 'f');
    endLines();
    put("<style>.");
    put(name);
    put("{font-family:");
    if (!face.empty()) {
        put("'");
        put(face);
        put("',");
    }
    put(kFallback_Families);
    put(";font-size:");
    putNumber(std::max(points, 1) * 96.0 / 72.0);
    put("px");
    if (flags & kFont_Bold) put(";font-weight:bold");
    if (flags & kFont_Italic) put(";font-style:italic");
    if (flags & kFont_Underline) put(";text-decoration:underline");
    put("}</style>\n");
    return Font_Classes_.emplace(Font_Key_, std::move(name)).first->second;
}

double TSvg_Canvas::penCentre() const {
    // A line of odd width is centred on pixel centres, one of even width
    // between pixels, so its edges fall on pixel edges as in the bitmaps.
    return Pen_Width_ > 1 && Pen_Width_ % 2 == 0 ? 0.0 : 0.5;
}

void TSvg_Canvas::putOutlineBox(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    // The outline runs along the edge pixels; the right and bottom edges are
    // one pixel inside the given corner.
    put("<rect x=\"");
    putNumber(x1 + penCentre());
    put("\" y=\"");
    putNumber(y1 + penCentre());
    put("\" width=\"");
    putNumber(x2 - x1 - 1);
    put("\" height=\"");
    putNumber(y2 - y1 - 1);
    put("\"");
}

void TSvg_Canvas::rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    if (!isOpen() || x2 <= x1 || y2 <= y1) return;
    endLines();
    putOutlineBox(x1, y1, x2, y2);
    putPenAndBrush();
    put("/>\n");
}

void TSvg_Canvas::roundRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t cornerWidth,
                            int32_t cornerHeight) {
    if (!isOpen() || x2 <= x1 || y2 <= y1) return;
    endLines();
    putOutlineBox(x1, y1, x2, y2);
    put(" rx=\"");
    putNumber(std::max(cornerWidth, 0) / 2.0);
    put("\" ry=\"");
    putNumber(std::max(cornerHeight, 0) / 2.0);
    put("\"");
    putPenAndBrush();
    put("/>\n");
}

void TSvg_Canvas::ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    if (!isOpen() || x2 <= x1 || y2 <= y1) return;
    endLines();
    put("<ellipse cx=\"");
    putNumber(x1 + penCentre() + (x2 - x1 - 1) / 2.0);
    put("\" cy=\"");
    putNumber(y1 + penCentre() + (y2 - y1 - 1) / 2.0);
    put("\" rx=\"");
    putNumber((x2 - x1 - 1) / 2.0);
    put("\" ry=\"");
    putNumber((y2 - y1 - 1) / 2.0);
    put("\"");
    putPenAndBrush();
    put("/>\n");
}

void TSvg_Canvas::moveTo(int32_t x, int32_t y) {
    At_X_ = x;
    At_Y_ = y;
}

void TSvg_Canvas::lineTo(int32_t x, int32_t y) {
    const int32_t fromX = At_X_, fromY = At_Y_;
    At_X_ = x;
    At_Y_ = y;
    if (!isOpen() || (fromX == x && fromY == y)) return;
    // Segments of one pen share a path. A segment runs between pixel edges
    // along its major axis, so it covers its start pixel and not its end.
    if (!Lines_Open_) {
        put("<path fill=\"none\" stroke=\"");
        putColor(Pen_Color_);
        if (Pen_Width_ > 1) {
            put("\" stroke-width=\"");
            putNumber(Pen_Width_);
        }
        put("\" d=\"");
        Lines_Open_ = true;
    }
    const int32_t dx = x - fromX, dy = y - fromY;
    double shiftX = penCentre(), shiftY = penCentre();
    if (std::abs(dx) >= std::abs(dy))
        shiftX = dx > 0 ? 0 : 1;
    else
        shiftY = dy > 0 ? 0 : 1;
    put("M");
    putNumber(fromX + shiftX);
    put(" ");
    putNumber(fromY + shiftY);
    put("L");
    putNumber(x + shiftX);
    put(" ");
    putNumber(y + shiftY);
}

void TSvg_Canvas::arc(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t startX,
                      int32_t startY, int32_t endX, int32_t endY) {
    if (!isOpen() || x2 <= x1 || y2 <= y1) return;
    endLines();
    const double rx = (x2 - x1 - 1) / 2.0, ry = (y2 - y1 - 1) / 2.0;
    const double cx = x1 + penCentre() + rx, cy = y1 + penCentre() + ry;
    const double start = ellipseParameter(cx, cy, rx, ry, startX, startY);
    const double end = ellipseParameter(cx, cy, rx, ry, endX, endY);
    // Counter-clockwise on the screen is toward smaller parameters here.
    double span = start - end;
    while (span <= 0) span += 2 * std::numbers::pi;
    auto point = [&](double t) {
        putNumber(cx + rx * std::cos(t));
        put(" ");
        putNumber(cy + ry * std::sin(t));
    };
    auto arcTo = [&](double t, bool large) {
        put("A");
        putNumber(rx);
        put(" ");
        putNumber(ry);
        put(large ? " 0 1 0 " : " 0 0 0 ");
        point(t);
    };
    put("<path fill=\"none\" stroke=\"");
    putColor(Pen_Color_);
    if (Pen_Width_ > 1) {
        put("\" stroke-width=\"");
        putNumber(Pen_Width_);
    }
    put("\" d=\"M");
    point(start);
    // Equal start and end draw the whole ellipse: two halves, as one arc
    // command cannot end where it starts.
    if (span >= 2 * std::numbers::pi - 1e-9) {
        arcTo(start - std::numbers::pi, false);
        arcTo(start, false);
    } else {
        arcTo(end, span > std::numbers::pi);
    }
    put("\"/>\n");
}

void TSvg_Canvas::textOut(int32_t x, int32_t y, std::string_view text) {
    if (!isOpen() || text.empty()) return;
    const std::string& name = fontClass();
    endLines();
    put("<text class=\"");
    put(name);
    put("\" x=\"");
    putNumber(x);
    put("\" y=\"");
    putNumber(Ascent_ ? int64_t{y} + Ascent_() : y);
    put("\" fill=\"");
    putColor(Font_Color_);
    put("\">");
    put(xmlText(codePageToUtf8(text, activeTextMode()).text));
    put("</text>\n");
}

void TSvg_Canvas::setPixel(int32_t x, int32_t y, int32_t color) {
    fillRect(x, y, x + 1, y + 1, color);
}

void TSvg_Canvas::fillRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t color) {
    if (!isOpen() || x2 <= x1 || y2 <= y1) return;
    endLines();
    put("<rect x=\"");
    putNumber(x1);
    put("\" y=\"");
    putNumber(y1);
    put("\" width=\"");
    putNumber(x2 - x1);
    put("\" height=\"");
    putNumber(y2 - y1);
    put("\" fill=\"");
    putColor(color);
    put("\"/>\n");
}

int32_t TSvg_Canvas::textWidth(std::string_view text) {
    return Metrics_.textWidth(text);
}

int32_t TSvg_Canvas::textHeight(std::string_view text) {
    return Metrics_.textHeight(text);
}

}  // namespace vetra
