#include "ui/tool_windows.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

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

void installToolWindows(TForm_Main_Vetra& frame) {
    TOptions& options = frame.options();
    auto provider = [&frame] { return activeToolTarget(frame); };
    auto* map = TForm_Map::instance();
    if (map == nullptr) map = new TForm_Map(options, provider, &frame);
    auto* panel = TForm_Node_Style::instance();
    if (panel == nullptr) panel = new TForm_Node_Style(options, provider, &frame);
    map->setVisible(options.Map_Visible != 0);
    panel->setVisible(options.Attr_Win_Visible != 0);

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
