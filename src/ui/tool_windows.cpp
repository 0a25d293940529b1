#include "ui/tool_windows.h"

#include <QAction>
#include <QEvent>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QScreen>
#include <QTimer>
#include <algorithm>

#include "store/options.h"
#include "ui/form_map.h"
#include "ui/form_node_style.h"
#include "ui/main_frame.h"

namespace vetra {

TTool_Window_Target* activeToolTarget(const TForm_Main_Vetra& frame) {
    QWidget* window = frame.activeDocumentWindow();
    if (window == nullptr) {
        // While a tool window is active the MDI area has no active child.
        QMdiSubWindow* current = frame.mdiArea()->currentSubWindow();
        window = current != nullptr ? current->widget() : nullptr;
    }
    return dynamic_cast<TTool_Window_Target*>(window);
}

void placeOnScreen(QWidget& window) {
    QScreen* screen = QGuiApplication::screenAt(window.frameGeometry().center());
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    const QRect area = screen->availableGeometry();
    // The frame counts too once the window manager has put one around it.
    const QSize frame = window.frameGeometry().size() - window.size();
    const QSize size = window.size().boundedTo(area.size() - frame);
    if (size != window.size()) window.resize(size);
    const QSize outer = size + frame;
    window.move(std::clamp(window.x(), area.left(), area.right() + 1 - outer.width()),
                std::clamp(window.y(), area.top(), area.bottom() + 1 - outer.height()));
}

namespace {

// The tool windows show the active document window, or nothing once the
// last one has closed.
void followActiveDocument(TForm_Main_Vetra& frame) {
    TTool_Window_Target* target = activeToolTarget(frame);
    refreshMapFrom(target);
    if (TForm_Node_Style* panel = TForm_Node_Style::instance()) {
        panel->activateFor(target);
        panel->setEnabled(target != nullptr);
    }
}

// The tool windows are child windows of the frame and are made before it is
// shown; a window manager does not map a child window whose parent is not
// mapped yet, so they are shown once more when the frame first appears.
class TShow_With_Frame : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Show) return false;
        watched->removeEventFilter(this);
        // Once the frame's own show has been handled by the window system.
        QTimer::singleShot(0, this, [this] {
            for (QWidget* window : {static_cast<QWidget*>(TForm_Map::instance()),
                                    static_cast<QWidget*>(TForm_Node_Style::instance())}) {
                if (window == nullptr || !window->isVisible()) continue;
                // Shown again without taking the focus from the document.
                const bool quiet = window->testAttribute(Qt::WA_ShowWithoutActivating);
                window->setAttribute(Qt::WA_ShowWithoutActivating);
                window->hide();
                window->show();
                window->setAttribute(Qt::WA_ShowWithoutActivating, quiet);
                placeOnScreen(*window);
            }
            deleteLater();
        });
        return false;
    }
};

}  // namespace

void installToolWindows(TForm_Main_Vetra& frame) {
    TOptions& options = frame.options();
    auto provider = [&frame] { return activeToolTarget(frame); };
    auto* map = TForm_Map::instance();
    if (map == nullptr) map = new TForm_Map(options, provider, &frame);
    auto* panel = TForm_Node_Style::instance();
    if (panel == nullptr) panel = new TForm_Node_Style(options, provider, &frame);
    placeOnScreen(*map);
    placeOnScreen(*panel);
    map->setVisible(options.Map_Visible != 0);
    panel->setVisible(options.Attr_Win_Visible != 0);
    placeOnScreen(*map);
    placeOnScreen(*panel);
    if (!frame.isVisible() && QGuiApplication::platformName() != "offscreen")
        frame.installEventFilter(new TShow_With_Frame(&frame));
    // After the window change has settled (a closing window is gone).
    auto follow = [&frame] {
        QTimer::singleShot(0, &frame, [&frame] { followActiveDocument(frame); });
    };
    QObject::connect(&frame, &TForm_Main_Vetra::documentWindowsChanged, map, follow);
    QObject::connect(frame.mdiArea(), &QMdiArea::subWindowActivated, map, follow);

    QAction* mapItem = frame.findChild<QAction*>("N_Map");
    QAction* panelItem = frame.findChild<QAction*>("N_Node_Attr");
    mapItem->setEnabled(true);
    panelItem->setEnabled(true);
    QObject::connect(mapItem, &QAction::triggered, map, [map, mapItem] {
        map->toggle();
        mapItem->setChecked(map->isVisible());
    });
    QObject::connect(panelItem, &QAction::triggered, panel, [panel, panelItem] {
        panel->toggle();
        panelItem->setChecked(panel->isVisible());
    });
    if (auto* tool = frame.findChild<QMenu*>("N_Tool")) {
        QObject::connect(tool, &QMenu::aboutToShow, map, [map, panel, mapItem, panelItem] {
            mapItem->setChecked(map->isVisible());
            panelItem->setChecked(panel->isVisible());
        });
    }
    for (const char* name : {"N_Search", "N_Search_Next", "N_Search_Pre"})
        if (QAction* item = frame.findChild<QAction*>(name)) item->setEnabled(true);
}

void detachToolWindows() {
    if (TForm_Map* map = TForm_Map::instance()) map->setTargetProvider({});
    if (TForm_Node_Style* panel = TForm_Node_Style::instance()) panel->setTargetProvider({});
}

void storeToolWindowPlaces() {
    if (TForm_Map* map = TForm_Map::instance()) map->storePlace();
    if (TForm_Node_Style* panel = TForm_Node_Style::instance()) panel->storePlace();
}

}  // namespace vetra
