#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "model/tree_node.h"
#include "platform/text_mode.h"
#include "ui/ideograph_advances.h"
#include "ui/qpainter_canvas.h"
#include "ui/shaped_text_cache.h"

namespace vetra {
namespace {

constexpr int32_t kWhite = 0xFFFFFF;

class QPainterCanvas : public ::testing::Test {
  protected:
    QImage image{40, 40, QImage::Format_RGB32};
    QPainterCanvas() { image.fill(Qt::white); }

    bool isBlack(int x, int y) const { return image.pixel(x, y) == qRgb(0, 0, 0); }
    bool isWhite(int x, int y) const { return image.pixel(x, y) == qRgb(255, 255, 255); }
    // Draws on the image; the painter ends with the call.
    template <class TSteps>
    void draw(TSteps steps) {
        QPainter painter(&image);
        TQPainter_Canvas canvas(&painter);
        steps(canvas);
    }
};

TEST_F(QPainterCanvas, RectangleLeavesOutRightAndBottomEdges) {
    draw([&](TQPainter_Canvas& canvas) {
        canvas.setPenColor(0);
        canvas.setBrushStyle(TBrush_Style::Clear);
        canvas.rectangle(2, 2, 10, 10);
    });
    EXPECT_TRUE(isBlack(2, 2));
    EXPECT_TRUE(isBlack(9, 9));
    EXPECT_TRUE(isWhite(10, 5));
    EXPECT_TRUE(isWhite(5, 10));
    EXPECT_TRUE(isWhite(5, 5));
}

TEST_F(QPainterCanvas, LineLeavesOutItsEndPoint) {
    const struct {
        const char* name;
        int x1, y1, x2, y2, lastX, lastY, endX, endY;
    } cases[] = {
        {"to the right", 1, 1, 8, 1, 7, 1, 8, 1},
        {"to the left", 8, 3, 1, 3, 2, 3, 1, 3},
        {"downward", 4, 1, 4, 9, 4, 8, 4, 9},
        {"upward", 6, 9, 6, 1, 6, 2, 6, 1},
    };
    for (const auto& c : cases) {
        image.fill(Qt::white);
        draw([&](TQPainter_Canvas& canvas) {
            canvas.setPenColor(0);
            canvas.moveTo(c.x1, c.y1);
            canvas.lineTo(c.x2, c.y2);
        });
        EXPECT_TRUE(isBlack(c.x1, c.y1)) << c.name;
        EXPECT_TRUE(isBlack(c.lastX, c.lastY)) << c.name;
        EXPECT_TRUE(isWhite(c.endX, c.endY)) << c.name;
    }
}

TEST_F(QPainterCanvas, ExclusiveOrTwiceRestoresThePicture) {
    draw([&](TQPainter_Canvas& canvas) {
        canvas.fillRect(0, 0, 40, 20, 0x3080C0);
        canvas.setPenMode(TPen_Mode::Xor);
        canvas.setPenWidth(2);
        canvas.setPenColor(0xD04030);
        canvas.setBrushColor(0);
        for (int i = 0; i < 2; ++i) canvas.roundRect(5, 5, 30, 30, 10, 10);
    });
    EXPECT_EQ(image.pixel(5, 15), qRgb(0xC0, 0x80, 0x30));
    EXPECT_TRUE(isWhite(15, 25));
}

TEST_F(QPainterCanvas, ArcRunsCounterClockwiseFromStartToEnd) {
    draw([&](TQPainter_Canvas& canvas) {
        canvas.setPenColor(0);
        // Quarter from 3 o'clock up to 12 o'clock of a circle centred at (20, 20).
        canvas.arc(10, 10, 31, 31, 30, 20, 20, 10);
    });
    int upperRight = 0, lowerLeft = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            if (isBlack(x, y)) (x >= 20 && y <= 20 ? upperRight : lowerLeft)++;
    EXPECT_GT(upperRight, 5);
    EXPECT_EQ(lowerLeft, 0);
}

TEST_F(QPainterCanvas, MeasuresWithoutAPainter) {
    TQPainter_Canvas canvas;
    canvas.setFont("Sans", 18, 0);
    const int32_t small = canvas.textWidth("ab");
    EXPECT_GT(small, 0);
    EXPECT_GT(canvas.textWidth("abcdef"), small);
    EXPECT_GT(canvas.textHeight("ab"), 10);
    canvas.setFont("Sans", 10, 0);
    EXPECT_LT(canvas.textWidth("ab"), small);
    EXPECT_EQ(TQPainter_Canvas::toQColor(-1), QColor(0, 0, 0));
    EXPECT_EQ(TQPainter_Canvas::toQColor(kWhite & 0x0000FF), QColor(255, 0, 0));
}

// The screen draws captions from glyphs shaped once; they must come out as
// the texts drawn and shaped each time (exports), at every zoom and style.
TEST(QPainterCanvasText, ShapedGlyphsDrawAsTheTextDoes) {
    setActiveTextMode(1);
    const struct {
        const char* text;
        int32_t flags;
        double zoom;
    } cases[] = {
        {"Node 42", 0, 1.0},
        {"\xD0\xC2\xBD\xDA\xB5\xE3", 0, 1.0},  // 新節點, GBK
        {"Mixed \xB4\xF3\xCA\xF7 text", kFont_Bold, 1.0},
        {"\xB4\xF3\xCA\xF7 underlined", kFont_Underline | kFont_Italic, 1.0},
        {"Zoomed \xB4\xF3\xCA\xF7", 0, 1.3},
        {"Shrunk \xD0\xC2\xBD\xDA\xB5\xE3", kFont_Underline, 0.7},
    };
    TShaped_Text_Cache cache;
    for (const auto& c : cases) {
        auto drawn = [&](TShaped_Text_Cache* shaped) {
            QImage image(300, 60, QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            painter.scale(c.zoom, c.zoom);
            TQPainter_Canvas canvas(&painter);
            canvas.setShapedTextCache(shaped);
            canvas.setFont(kDefault_Font_Name, 12, c.flags);
            canvas.setFontColor(0x0000FF);
            // Twice: the second time from the cache.
            canvas.textOut(3, 5, c.text);
            canvas.textOut(3, 25, c.text);
            return image;
        };
        EXPECT_TRUE(drawn(nullptr) == drawn(&cache)) << c.text;
    }
}

// Ideographs are measured from the widths in the font's tables instead of
// their outlines; each must measure as Qt measures it, at every size, style
// and resolution, and the font's tables must answer for nearly all of them.
TEST(QPainterCanvasText, IdeographsMeasureAsQtMeasuresThem) {
    setActiveTextMode(1);
    std::vector<std::pair<std::string, QChar>> ideographs;  // GBK bytes, character
    for (int lead = 0x81; lead <= 0xFE; ++lead)
        for (int trail = 0x40; trail <= 0xFE; trail += 3) {
            const std::string bytes{char(lead), char(trail)};
            const QString text = QString::fromStdString(nodeTextToUtf8(bytes));
            if (text.size() == 1 && text[0].script() == QChar::Script_Han)
                ideographs.push_back({bytes, text[0]});
        }
    ASSERT_GT(ideographs.size(), 6000u);
    // The program's default face falls back to a Chinese font; a Chinese
    // face draws its ideographs itself.
    const std::string fallback(kDefault_Font_Name), chinese = "Noto Serif CJK TC";
    const struct {
        const std::string& face;
        int32_t points, flags, dotsPerMeter;
    } cases[] = {{fallback, 12, 0, 3780},
                 {fallback, 18, kFont_Bold, 3780},
                 {fallback, 9, kFont_Italic, 3780},
                 {fallback, 36, kFont_Underline, 3780},
                 {fallback, 11, 0, 5669 /* 144 dpi */},
                 {chinese, 15, 0, 3780}};
    for (const auto& c : cases) {
        QImage device(1, 1, QImage::Format_RGB32);
        device.setDotsPerMeterX(c.dotsPerMeter);
        device.setDotsPerMeterY(c.dotsPerMeter);
        QPainter painter(&device);
        TQPainter_Canvas canvas(&painter);
        canvas.setFont(c.face, c.points, c.flags);
        QFont font(QString::fromStdString(nodeTextToUtf8(c.face)));
        font.setPointSize(c.points);
        font.setBold(c.flags & kFont_Bold);
        font.setItalic(c.flags & kFont_Italic);
        font.setUnderline(c.flags & kFont_Underline);
        const QFontMetrics metrics(font, &device);
        const TIdeograph_Advances tables(QFont(font, &device), &device, metrics);
        size_t fromTables = 0;
        for (const auto& [bytes, character] : ideographs) {
            ASSERT_EQ(canvas.textWidth(bytes), metrics.horizontalAdvance(character))
                << c.points << " pt, flags " << c.flags << ", U+" << std::hex
                << int(character.unicode());
            if (tables.advance(character.unicode()) >= 0) ++fromTables;
        }
        EXPECT_GT(fromTables, ideographs.size() * 9 / 10) << c.points << " pt";
    }
}

}  // namespace
}  // namespace vetra
