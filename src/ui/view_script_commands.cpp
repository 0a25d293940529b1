#include "ui/view_script_commands.h"

#include <QApplication>
#include <QWheelEvent>

#include "ui/document_window.h"
#include "ui/image_view.h"
#include "ui/main_frame.h"
#include "ui/script_runner.h"

namespace vetra {
namespace {

TForm_Qo_Tree* activeWindow(TForm_Main_Vetra& frame, QString* error) {
    auto* window = qobject_cast<TForm_Qo_Tree*>(frame.activeDocumentWindow());
    if (window == nullptr) *error = "no document window";
    return window;
}

}  // namespace

void addViewScriptCommands(TScript_Runner& runner, TForm_Main_Vetra& frame) {
    runner.addCommand("zoom", [&frame](const QStringList& arguments, QString* error) {
        bool ok = false;
        int percent = arguments.size() == 1 ? arguments[0].toInt(&ok) : 0;
        if (!ok) {
            *error = "zoom needs a percentage";
            return false;
        }
        TForm_Qo_Tree* window = activeWindow(frame, error);
        if (window == nullptr) return false;
        window->setZoomPercent(percent, window->imageView()->viewport()->rect().center());
        return true;
    });
    runner.addCommand("wheel", [&frame](const QStringList& arguments, QString* error) {
        bool okX = false, okY = false;
        int dx = arguments.size() >= 2 ? arguments[0].toInt(&okX) : 0;
        int dy = arguments.size() >= 2 ? arguments[1].toInt(&okY) : 0;
        QString modifier = arguments.size() == 3 ? arguments[2] : QString();
        if (!okX || !okY || arguments.size() > 3 ||
            (!modifier.isEmpty() && modifier != "ctrl" && modifier != "shift")) {
            *error = "wheel needs DX DY [ctrl|shift]";
            return false;
        }
        TForm_Qo_Tree* window = activeWindow(frame, error);
        if (window == nullptr) return false;
        QWidget* view = window->imageView()->viewport();
        Qt::KeyboardModifiers modifiers = modifier == "ctrl"    ? Qt::ControlModifier
                                          : modifier == "shift" ? Qt::ShiftModifier
                                                                : Qt::NoModifier;
        QPointF at = view->rect().center();
        QWheelEvent event(at, view->mapToGlobal(at), QPoint(), QPoint(dx, dy), Qt::NoButton,
                          modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view, &event);
        return true;
    });
}

}  // namespace vetra
