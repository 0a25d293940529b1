#pragma once

// A frame showing one new document window, with scripted dialogs.

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPaintEvent>
#include <QScreen>
#include <memory>
#include <string>

#include "platform/text_mode.h"
#include "store/options.h"
#include "ui/dialog_script.h"
#include "ui/document_window.h"
#include "ui/main_frame.h"

namespace vetra::test {

// Counts the paint events of the widgets it watches, and those that cover
// only part of the widget.
struct TPaint_Counter : QObject {
    int paints = 0, partial = 0;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint) return false;
        ++paints;
        if (!(QRegion(static_cast<QWidget*>(watched)->rect()) -
              static_cast<QPaintEvent*>(event)->region())
                 .isEmpty())
            ++partial;
        return false;
    }
};

// What the screen shows of a widget, from the window's backing store.
inline QImage onScreen(QWidget* widget) {
    const QPoint at = widget->mapTo(widget->window(), QPoint(0, 0));
    return QGuiApplication::primaryScreen()
        ->grabWindow(widget->window()->winId(), at.x(), at.y(), widget->width(), widget->height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

struct TWindow_Fixture {
    TDialog_Script script;
    TOptions options{1920, 1080};
    std::unique_ptr<TForm_Main_Vetra> frame;
    TForm_Qo_Tree* window = nullptr;

    explicit TWindow_Fixture(const std::string& optionsDir) {
        setActiveTextMode(1);
        TDialog_Script::activate(&script);
        options.File_Name = ::testing::TempDir() + optionsDir + "/qoopt.qoo";
        frame = std::make_unique<TForm_Main_Vetra>(options, createDocumentWindow);
        frame->resize(1000, 700);
        frame->show();
        frame->newDocument();
        window = qobject_cast<TForm_Qo_Tree*>(frame->activeDocumentWindow());
    }
    ~TWindow_Fixture() {
        for (QWidget* w : frame->documentWindows()) w->setProperty("closeQueryDone", true);
        frame.reset();
        TDialog_Script::activate(nullptr);
    }
    void select(TTree_Node* node) {
        window->currentRoot()->clearSelection();
        node->setSelected(true);
    }
};

}  // namespace vetra::test
