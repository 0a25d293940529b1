// The streaming SVG canvas: hostile captions and faces stay text, and shapes
// keep the canvas's pixel conventions.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "export/svg_canvas.h"
#include "layout/fixed_metrics_canvas.h"
#include "platform/text_codec.h"
#include "platform/text_mode.h"
#include "tests/app/run_vetra.h"

namespace vetra::test {
namespace {

// The document `draw` makes on a 100 x 100 canvas.
std::string drawn(const std::function<void(TCanvas&)>& draw) {
    setActiveTextMode(kTextModeSimplified);
    // One file per test process: CTest runs the cases side by side.
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("vetra_svg_canvas_test_" + std::to_string(getpid()) + ".svg"))
                                 .string();
    TFixed_Metrics_Canvas metrics;
    {
        TSvg_Canvas canvas(path, 100, 100, metrics, [] { return 13; });
        EXPECT_TRUE(canvas.isOpen());
        draw(canvas);
        EXPECT_TRUE(canvas.close());
    }
    const std::string text = slurp(path);
    std::filesystem::remove(path);
    return text;
}

TEST(SvgCanvas, HostileCaptionsAndFacesStayText) {
    const std::string svg = drawn([](TCanvas& canvas) {
        canvas.setFont("a'}</style><script>x</script>", 9, 0);
        canvas.textOut(1, 2, "<script>&amp;\x01\"x\"");
    });
    EXPECT_EQ(svg.find("<script"), std::string::npos);
    EXPECT_EQ(svg.find('\x01'), std::string::npos);
    EXPECT_NE(svg.find("font-family:'a/stylescriptx/script',"), std::string::npos);
    EXPECT_NE(svg.find(" y=\"15\""), std::string::npos);  // top plus the ascent
    EXPECT_NE(svg.find(">&lt;script&gt;&amp;amp;&quot;x&quot;</text>"), std::string::npos);
}

TEST(SvgCanvas, RightAndBottomEdgesAndLineEndsAreNotDrawn) {
    const struct {
        const char* name;
        std::function<void(TCanvas&)> draw;
        const char* element;
    } rows[] = {
        // clang-format off
        {"outline through the edge pixels", [](TCanvas& c) { c.rectangle(10, 10, 20, 30); }, "<rect x=\"10.5\" y=\"10.5\" width=\"9\" height=\"19\""},
        {"fill up to the right and bottom edges", [](TCanvas& c) { c.fillRect(10, 10, 20, 30, 0xFF); }, "<rect x=\"10\" y=\"10\" width=\"10\" height=\"20\" fill=\"#ff0000\""},
        {"leftward line leaves its end pixel out", [](TCanvas& c) { c.moveTo(20, 5); c.lineTo(10, 5); }, "d=\"M21 5.5L11 5.5"},
        {"downward line of width 2 lies between pixels", [](TCanvas& c) { c.setPenWidth(2); c.moveTo(4, 0); c.lineTo(4, 8); }, "stroke-width=\"2\" d=\"M4 0L4 8"},
        {"quarter arc counter-clockwise from 3 to 12 o'clock", [](TCanvas& c) { c.arc(0, 0, 12, 12, 12, 6, 6, 0); }, "d=\"M11.5 6A5.5 5.5 0 0 0 6 0.5"},
        // clang-format on
    };
    for (const auto& row : rows)
        EXPECT_NE(drawn(row.draw).find(row.element), std::string::npos) << row.name;
}

}  // namespace
}  // namespace vetra::test
