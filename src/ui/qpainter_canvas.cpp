#include "ui/qpainter_canvas.h"

#include <QPainterPath>
#include <QPen>
#include <QRect>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/text_mode.h"
#include "ui/shaped_text_cache.h"

namespace vetra {

namespace {

// GDI pens of width 1 cover the pixels (x1..x2-1); QRect(x, y, w, h)
// outlined with a cosmetic pen covers x .. x+w, hence the one less.
QRect outlineRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    return QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1);
}

// The angle (degrees, counter-clockwise from 3 o'clock) of a point on the
// ellipse of a bounding box, as Qt's arc angles count it.
double ellipseAngle(const QRectF& box, double x, double y) {
    const double rx = box.width() / 2, ry = box.height() / 2;
    if (rx <= 0 || ry <= 0) return 0;
    const double dx = (x - box.center().x()) / rx;
    const double dy = (box.center().y() - y) / ry;
    return std::atan2(dy, dx) * 180.0 / M_PI;
}

}  // namespace

TQPainter_Canvas::TQPainter_Canvas(QPainter* painter) : Painter_(painter) {
    if (Painter_ == nullptr) {
        Measure_Image_ = std::make_unique<QImage>(1, 1, QImage::Format_RGB32);
        Measure_Image_->setDotsPerMeterX(3780);  // 96 dpi
        Measure_Image_->setDotsPerMeterY(3780);
    } else {
        Painter_->setRenderHint(QPainter::Antialiasing, false);
        Painter_->setBackgroundMode(Qt::TransparentMode);
    }
    applyPen();
    applyBrush();
}

TQPainter_Canvas::~TQPainter_Canvas() = default;

QColor TQPainter_Canvas::toQColor(int32_t color) {
    if (color == -1) return QColor(0, 0, 0);
    return QColor(colorRed(color), colorGreen(color), colorBlue(color));
}

QString TQPainter_Canvas::toQString(std::string_view bytes) {
    bool ascii = true;
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) ascii = false;
    if (ascii) return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    std::string utf8 = nodeTextToUtf8(bytes);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

void TQPainter_Canvas::useShapePen() {
    if (Text_Pen_) applyPen();
}

void TQPainter_Canvas::applyPen() {
    if (Painter_ == nullptr) return;
    Text_Pen_ = false;
    QPen pen(toQColor(Pen_Color_));
    // Never cosmetic: on a zoomed or high-DPI painter the lines widen with
    // the drawing instead of staying one device pixel thin.
    pen.setWidth(std::max(Pen_Width_, 1));
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    Painter_->setPen(pen);
}

void TQPainter_Canvas::applyBrush() {
    if (Painter_ == nullptr) return;
    if (Brush_Style_ == TBrush_Style::Clear)
        Painter_->setBrush(Qt::NoBrush);
    else
        Painter_->setBrush(toQColor(Brush_Color_));
}

void TQPainter_Canvas::setPenColor(int32_t color) {
    Pen_Color_ = color;
    applyPen();
}

void TQPainter_Canvas::setPenWidth(int32_t width) {
    Pen_Width_ = width;
    applyPen();
}

void TQPainter_Canvas::setPenMode(TPen_Mode mode) {
    if (Painter_ == nullptr) return;
    Painter_->setCompositionMode(mode == TPen_Mode::Xor ? QPainter::RasterOp_SourceXorDestination
                                                        : QPainter::CompositionMode_SourceOver);
}

void TQPainter_Canvas::setBrushColor(int32_t color) {
    Brush_Color_ = color;
    applyBrush();
}

void TQPainter_Canvas::setBrushStyle(TBrush_Style style) {
    Brush_Style_ = style;
    applyBrush();
}

void TQPainter_Canvas::setFont(std::string_view face, int32_t points, int32_t flags) {
    Font_Key_.assign(face);
    Font_Key_.push_back('\0');
    Font_Key_.append(std::to_string(points));
    Font_Key_.push_back('/');
    Font_Key_.append(std::to_string(flags));
    Font_ = nullptr;
    if (Painter_ != nullptr) Painter_->setFont(fontEntry().font);
}

QPaintDevice* TQPainter_Canvas::metricsDevice() const {
    return Painter_ != nullptr ? Painter_->device()
                               : static_cast<QPaintDevice*>(Measure_Image_.get());
}

TQPainter_Canvas::TFont_Entry& TQPainter_Canvas::fontEntry() {
    if (Font_ != nullptr) return *Font_;
    auto found = Fonts_.find(Font_Key_);
    if (found == Fonts_.end()) {
        const size_t nul = Font_Key_.find('\0');
        const std::string_view face(Font_Key_.data(), nul == std::string::npos ? 0 : nul);
        int points = 10, flags = 0;
        if (nul != std::string::npos)
            std::sscanf(Font_Key_.c_str() + nul + 1, "%d/%d", &points, &flags);
        QFont font(toQString(face));
        font.setPointSize(points > 0 ? points : 1);
        font.setBold(flags & kFont_Bold);
        font.setItalic(flags & kFont_Italic);
        font.setUnderline(flags & kFont_Underline);
        QPaintDevice* device = metricsDevice();
        auto entry = std::make_unique<TFont_Entry>(
            TFont_Entry{QFont(font, device), QFontMetrics(font, device), {}, nullptr});
        found = Fonts_.emplace(Font_Key_, std::move(entry)).first;
    }
    Font_ = found->second.get();
    return *Font_;
}

void TQPainter_Canvas::setFontColor(int32_t color) {
    Font_Color_ = color;
}

void TQPainter_Canvas::rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    if (Painter_ == nullptr) return;
    useShapePen();
    Painter_->drawRect(outlineRect(x1, y1, x2, y2));
}

void TQPainter_Canvas::roundRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                                 int32_t cornerWidth, int32_t cornerHeight) {
    if (Painter_ == nullptr) return;
    useShapePen();
    Painter_->drawRoundedRect(outlineRect(x1, y1, x2, y2), cornerWidth / 2.0, cornerHeight / 2.0);
}

void TQPainter_Canvas::ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    if (Painter_ == nullptr) return;
    useShapePen();
    Painter_->drawEllipse(outlineRect(x1, y1, x2, y2));
}

void TQPainter_Canvas::moveTo(int32_t x, int32_t y) {
    Current_ = QPoint(x, y);
}

void TQPainter_Canvas::lineTo(int32_t x, int32_t y) {
    const QPoint from = Current_;
    Current_ = QPoint(x, y);
    if (Painter_ == nullptr || from == Current_) return;
    // Qt's cosmetic lines cover [low, high) along the major axis whichever
    // way they run; a line must cover its start and leave out its end, so a
    // line running toward lower coordinates is moved up by one pixel.
    const int dx = x - from.x(), dy = y - from.y();
    QPoint shift(0, 0);
    if (std::abs(dx) >= std::abs(dy) && dx < 0) shift.setX(1);
    if (std::abs(dy) > std::abs(dx) && dy < 0) shift.setY(1);
    useShapePen();
    Painter_->drawLine(from + shift, Current_ + shift);
}

void TQPainter_Canvas::arc(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t startX,
                           int32_t startY, int32_t endX, int32_t endY) {
    if (Painter_ == nullptr) return;
    const QRectF box(x1, y1, x2 - x1 - 1, y2 - y1 - 1);
    const double start = ellipseAngle(box, startX, startY);
    double span = ellipseAngle(box, endX, endY) - start;
    while (span <= 0) span += 360;
    useShapePen();
    Painter_->drawArc(box, static_cast<int>(std::lround(start * 16)),
                      static_cast<int>(std::lround(span * 16)));
}

void TQPainter_Canvas::textOut(int32_t x, int32_t y, std::string_view text) {
    if (Painter_ == nullptr) return;
    const TFont_Entry& entry = fontEntry();
    if (!Text_Pen_ || Text_Pen_Color_ != Font_Color_) {
        Painter_->setPen(toQColor(Font_Color_));
        Text_Pen_ = true;
        Text_Pen_Color_ = Font_Color_;
    }
    const int baseline = y + entry.metrics.ascent();
    // An underline drawn with glyph runs lies apart from the one drawn with
    // the text, so underlined captions are shaped each time.
    if (Shaped_ == nullptr || entry.font.underline()) {
        Painter_->drawText(QPoint(x, baseline), toQString(text));
        return;
    }
    const TShaped_Text_Cache::TShaped& shaped =
        Shaped_->shaped(Font_Key_, entry.font, Painter_->device(), Painter_->layoutDirection(),
                        text, toQString(text));
    for (const QGlyphRun& run : shaped.runs)
        Painter_->drawGlyphRun(QPointF(x, baseline - shaped.ascent), run);
}

void TQPainter_Canvas::setPixel(int32_t x, int32_t y, int32_t color) {
    if (Painter_ == nullptr) return;
    Painter_->fillRect(QRect(x, y, 1, 1), toQColor(color));
}

void TQPainter_Canvas::fillRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t color) {
    if (Painter_ == nullptr) return;
    Painter_->fillRect(QRect(x1, y1, x2 - x1, y2 - y1), toQColor(color));
}

int32_t TQPainter_Canvas::textWidth(std::string_view text) {
    // Widths are sums of character advances, without kerning, as the
    // Windows text extent is; the advances are kept per font, so measuring
    // a large document shapes each character once instead of every caption.
    TFont_Entry& entry = fontEntry();
    const QString string = toQString(text);
    int32_t width = 0;
    for (QChar c : string) {
        if (c.isSurrogate()) return entry.metrics.horizontalAdvance(string);
        auto found = entry.advances.find(c.unicode());
        if (found == entry.advances.end()) {
            int32_t advance = -1;
            if (c.script() == QChar::Script_Han) {
                if (entry.ideographs == nullptr)
                    entry.ideographs = std::make_unique<TIdeograph_Advances>(
                        entry.font, metricsDevice(), entry.metrics);
                advance = entry.ideographs->advance(c.unicode());
            }
            if (advance < 0) advance = entry.metrics.horizontalAdvance(c);
            found = entry.advances.emplace(c.unicode(), advance).first;
        }
        width += found->second;
    }
    return width;
}

int32_t TQPainter_Canvas::textHeight(std::string_view) {
    return fontEntry().metrics.height();
}

int32_t TQPainter_Canvas::textAscent() {
    return fontEntry().metrics.ascent();
}

}  // namespace vetra
