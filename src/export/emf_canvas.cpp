#include "export/emf_canvas.h"

#include <algorithm>

#include <libEMF/emf.h>
// The Windows headers define these as macros.
#undef min
#undef max

#include <string>

#include "platform/text_codec.h"
#include "platform/text_mode.h"

namespace vetra {
namespace {

COLORREF colorRef(int32_t color) {
    return color == -1 ? 0 : static_cast<COLORREF>(color & 0xFFFFFF);
}

// UTF-8 to UTF-16 code units, as the metafile's wide-text records hold them.
std::u16string utf16(std::string_view utf8) {
    std::u16string out;
    for (size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        char32_t c = lead;
        size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        if (i + length > utf8.size()) break;
        if (length > 1) {
            c = lead & (0xFF >> (length + 1));
            for (size_t k = 1; k < length; ++k) c = c << 6 | (utf8[i + k] & 0x3F);
        }
        i += length;
        if (c >= 0x10000) {
            out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(c));
        }
    }
    return out;
}

}  // namespace

struct TEmf_Canvas::TState {
    HDC dc = 0;
    HGDIOBJ pen = 0, brush = 0, font = 0;
    int32_t penColor = 0, penWidth = 1, brushColor = 0xFFFFFF, fontColor = 0;
    bool penDirty = true, brushDirty = true, fontDirty = true, clearBrush = false;
    std::u16string face;
    int32_t points = 9, flags = 0;
};

TEmf_Canvas::TEmf_Canvas(const std::string& path, int32_t width, int32_t height, TCanvas& metrics)
    : State_(std::make_unique<TState>()), Metrics_(metrics) {
    // The frame is in hundredths of a millimetre: pixels at 96 dpi.
    RECT frame{0, 0, static_cast<LONG>(int64_t{width} * 2540 / 96),
               static_cast<LONG>(int64_t{height} * 2540 / 96)};
    const std::u16string name = utf16(path);
    State_->dc = CreateEnhMetaFileW(0, reinterpret_cast<LPCWSTR>(name.c_str()), &frame, nullptr);
    if (State_->dc == 0) return;
    // libEMF's reference device is not 96 dpi: logical units are mapped so
    // that one unit is one pixel of the frame.
    const double perPixelX = 25.4 / 96 * GetDeviceCaps(State_->dc, HORZRES) /
                             std::max(GetDeviceCaps(State_->dc, HORZSIZE), 1);
    const double perPixelY = 25.4 / 96 * GetDeviceCaps(State_->dc, VERTRES) /
                             std::max(GetDeviceCaps(State_->dc, VERTSIZE), 1);
    SetMapMode(State_->dc, MM_ANISOTROPIC);
    SetWindowExtEx(State_->dc, width, height, nullptr);
    SetViewportExtEx(State_->dc, static_cast<int>(width * perPixelX + 0.5),
                     static_cast<int>(height * perPixelY + 0.5), nullptr);
    SetBkMode(State_->dc, TRANSPARENT);
    SetTextAlign(State_->dc, TA_TOP | TA_LEFT);
}

TEmf_Canvas::~TEmf_Canvas() {
    close();
}

bool TEmf_Canvas::isOpen() const {
    return State_->dc != 0;
}

bool TEmf_Canvas::close() {
    if (State_->dc == 0) return false;
    HENHMETAFILE metafile = CloseEnhMetaFile(State_->dc);
    State_->dc = 0;
    for (HGDIOBJ object : {State_->pen, State_->brush, State_->font})
        if (object != 0) DeleteObject(object);
    State_->pen = State_->brush = State_->font = 0;
    if (metafile == 0) return false;
    DeleteEnhMetaFile(metafile);
    return true;
}

void TEmf_Canvas::applyPen() {
    TState& s = *State_;
    if (!s.penDirty) return;
    HGDIOBJ pen = CreatePen(PS_SOLID, s.penWidth, colorRef(s.penColor));
    SelectObject(s.dc, pen);
    if (s.pen != 0) DeleteObject(s.pen);
    s.pen = pen;
    s.penDirty = false;
}

void TEmf_Canvas::applyBrush() {
    TState& s = *State_;
    if (!s.brushDirty) return;
    if (s.clearBrush) {
        SelectObject(s.dc, GetStockObject(NULL_BRUSH));
    } else {
        HGDIOBJ brush = CreateSolidBrush(colorRef(s.brushColor));
        SelectObject(s.dc, brush);
        if (s.brush != 0) DeleteObject(s.brush);
        s.brush = brush;
    }
    s.brushDirty = false;
}

void TEmf_Canvas::applyFont() {
    TState& s = *State_;
    if (!s.fontDirty) return;
    // A negative height asks for the character height: points at 96 dpi.
    HGDIOBJ font =
        CreateFontW(-(s.points * 96 / 72), 0, 0, 0, (s.flags & kFont_Bold) ? FW_BOLD : FW_NORMAL,
                    (s.flags & kFont_Italic) != 0, (s.flags & kFont_Underline) != 0, 0,
                    DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                    DEFAULT_PITCH, reinterpret_cast<LPCWSTR>(s.face.c_str()));
    SelectObject(s.dc, font);
    if (s.font != 0) DeleteObject(s.font);
    s.font = font;
    s.fontDirty = false;
}

void TEmf_Canvas::setPenColor(int32_t color) {
    State_->penDirty |= State_->penColor != color;
    State_->penColor = color;
}
void TEmf_Canvas::setPenWidth(int32_t width) {
    State_->penDirty |= State_->penWidth != width;
    State_->penWidth = width;
}
// libEMF writes no raster-operation record; exports draw no exclusive-or
// highlights, so copy mode is all a metafile needs.
void TEmf_Canvas::setPenMode(TPen_Mode) {}
void TEmf_Canvas::setBrushColor(int32_t color) {
    State_->brushDirty |= State_->brushColor != color || State_->clearBrush;
    State_->brushColor = color;
}
void TEmf_Canvas::setBrushStyle(TBrush_Style style) {
    const bool clear = style == TBrush_Style::Clear;
    State_->brushDirty |= State_->clearBrush != clear;
    State_->clearBrush = clear;
}
void TEmf_Canvas::setFont(std::string_view face, int32_t points, int32_t flags) {
    Metrics_.setFont(face, points, flags);
    std::u16string wide = utf16(codePageToUtf8(face, activeTextMode()).text);
    if (wide.size() > 31) wide.resize(31);  // a face name field holds 32 units
    TState& s = *State_;
    s.fontDirty |= wide != s.face || points != s.points || flags != s.flags;
    s.face = std::move(wide);
    s.points = points;
    s.flags = flags;
}
void TEmf_Canvas::setFontColor(int32_t color) {
    State_->fontColor = color;
}

void TEmf_Canvas::rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    if (!isOpen()) return;
    applyPen();
    applyBrush();
    Rectangle(State_->dc, x1, y1, x2, y2);
}
void TEmf_Canvas::roundRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t cornerWidth,
                            int32_t cornerHeight) {
    if (!isOpen()) return;
    applyPen();
    applyBrush();
    // libEMF has no round-rectangle record: the same outline is written as a
    // path of four lines and four quarter-ellipse Bezier corners, filled and
    // stroked like the shape. Right and bottom edges stay outside, as GDI draws.
    const int32_t right = x2 - 1, bottom = y2 - 1;
    const int32_t rx = std::min(cornerWidth / 2, (right - x1) / 2);
    const int32_t ry = std::min(cornerHeight / 2, (bottom - y1) / 2);
    const auto kx = static_cast<int32_t>(rx * 0.5523), ky = static_cast<int32_t>(ry * 0.5523);
    HDC dc = State_->dc;
    BeginPath(dc);
    MoveToEx(dc, x1 + rx, y1, nullptr);
    auto corner = [&](POINT a, POINT b, POINT c) {
        POINT points[3] = {a, b, c};
        PolyBezierTo(dc, points, 3);
    };
    LineTo(dc, right - rx, y1);
    corner({right - rx + kx, y1}, {right, y1 + ry - ky}, {right, y1 + ry});
    LineTo(dc, right, bottom - ry);
    corner({right, bottom - ry + ky}, {right - rx + kx, bottom}, {right - rx, bottom});
    LineTo(dc, x1 + rx, bottom);
    corner({x1 + rx - kx, bottom}, {x1, bottom - ry + ky}, {x1, bottom - ry});
    LineTo(dc, x1, y1 + ry);
    corner({x1, y1 + ry - ky}, {x1 + rx - kx, y1}, {x1 + rx, y1});
    CloseFigure(dc);
    EndPath(dc);
    StrokeAndFillPath(dc);
}
void TEmf_Canvas::ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    if (!isOpen()) return;
    applyPen();
    applyBrush();
    Ellipse(State_->dc, x1, y1, x2, y2);
}
void TEmf_Canvas::moveTo(int32_t x, int32_t y) {
    if (isOpen()) MoveToEx(State_->dc, x, y, nullptr);
}
void TEmf_Canvas::lineTo(int32_t x, int32_t y) {
    if (!isOpen()) return;
    applyPen();
    LineTo(State_->dc, x, y);
}
void TEmf_Canvas::arc(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t startX,
                      int32_t startY, int32_t endX, int32_t endY) {
    if (!isOpen()) return;
    applyPen();
    Arc(State_->dc, x1, y1, x2, y2, startX, startY, endX, endY);
}
void TEmf_Canvas::textOut(int32_t x, int32_t y, std::string_view text) {
    if (!isOpen() || text.empty()) return;
    applyFont();
    SetTextColor(State_->dc, colorRef(State_->fontColor));
    const std::u16string wide = utf16(codePageToUtf8(text, activeTextMode()).text);
    ExtTextOutW(State_->dc, x, y, 0, nullptr, reinterpret_cast<LPCWSTR>(wide.c_str()),
                static_cast<UINT>(wide.size()), nullptr);
}
void TEmf_Canvas::setPixel(int32_t x, int32_t y, int32_t color) {
    if (isOpen()) SetPixel(State_->dc, x, y, colorRef(color));
}
void TEmf_Canvas::fillRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t color) {
    if (!isOpen()) return;
    // A rectangle without outline: the null pen leaves right and bottom out,
    // so the fill reaches one pixel further each way.
    HGDIOBJ brush = CreateSolidBrush(colorRef(color));
    HGDIOBJ oldBrush = SelectObject(State_->dc, brush);
    HGDIOBJ oldPen = SelectObject(State_->dc, GetStockObject(NULL_PEN));
    Rectangle(State_->dc, x1, y1, x2 + 1, y2 + 1);
    SelectObject(State_->dc, oldPen);
    SelectObject(State_->dc, oldBrush);
    DeleteObject(brush);
}
int32_t TEmf_Canvas::textWidth(std::string_view text) {
    return Metrics_.textWidth(text);
}
int32_t TEmf_Canvas::textHeight(std::string_view text) {
    return Metrics_.textHeight(text);
}

}  // namespace vetra
