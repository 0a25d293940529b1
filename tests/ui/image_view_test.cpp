#include "ui/image_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QScrollBar>
#include <QtTest/QTest>

#include "tests/ui/window_fixture.h"

namespace vetra {
namespace {

using test::onScreen;

// The picture's size changes with almost every edit; the bars repaint only
// when their slider lands on other pixels, and never show a stale slider.
TEST(ImageView, AScrollBarRepaintsOnlyWhenItsSliderMoves) {
    QWidget window;
    window.resize(400, 300);
    auto* view = new TImage_View(&window);
    view->resize(400, 300);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    view->picture().Width = 400;
    view->picture().Height = 1000000;
    view->updateScrollRanges();
    QApplication::processEvents();
    QScrollBar* bar = view->verticalScrollBar();
    test::TPaint_Counter counter;
    bar->installEventFilter(&counter);

    struct TStep {
        int32_t height, scroll;
        bool repaints;
    };
    const TStep steps[] = {
        {1000023, 0, false},                   // one more row: the slider keeps its pixels
        {999977, 0, false},  {1000, 0, true},  // a short picture: a long slider
        {1000, 500, true},                     // scrolled
        {1000, 500, false},  {200, 0, true},   // nothing to scroll
    };
    for (const TStep& step : steps) {
        counter.paints = 0;
        view->picture().Height = step.height;
        view->updateScrollRanges();
        view->setScroll(0, step.scroll);
        QApplication::processEvents();
        EXPECT_EQ(counter.paints > 0, step.repaints) << step.height << " " << step.scroll;
        EXPECT_TRUE(onScreen(bar) == bar->grab().toImage().convertToFormat(QImage::Format_RGB32))
            << "the bar on screen is the bar as it is now, at " << step.height;
    }
}

}  // namespace
}  // namespace vetra
