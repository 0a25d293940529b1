// Shows the style panel and the overview map on a real document and saves
// what they look like, for looking at by eye:
//   vetra_tools_screens DOCUMENT.vt OUT_DIR
// Run it under Xvfb or with QT_QPA_PLATFORM=offscreen.
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QToolButton>
#include <cstdio>
#include <vector>

#include "layout/hit_test.h"
#include "layout/view_paint.h"
#include "platform/file.h"
#include "platform/text_mode.h"
#include "store/node_record.h"
#include "store/options.h"
#include "ui/color_palette.h"
#include "ui/form_map.h"
#include "ui/form_node_style.h"
#include "ui/qpainter_canvas.h"
#include "ui/style_choosers.h"
#include "ui/tool_window_target.h"

using namespace vetra;

namespace {

// The document's main view, laid out with the screen's text metrics.
class TDocument_View : public TTool_Window_Target {
  public:
    TTree_Node& viewRoot() override { return *Doc.root(); }
    TDocument_Tree& document() override { return Doc; }
    const TView_Picture& viewPicture() override { return Picture; }
    void refreshView() override {
        TQPainter_Canvas metrics;
        relayoutView(metrics, *Doc.root(), 900, 600, Picture);
        refreshMapFrom(this);
    }
    void revealNode(TTree_Node&, bool) override { refreshView(); }
    TView_Scroll viewScroll() override { return {}; }
    void setViewScroll(int32_t, int32_t) override {}
    int32_t outerWidth() override { return 900; }
    int32_t outerHeight() override { return 600; }
    std::string& searchText() override { return Search_Text; }

    TDocument_Tree Doc;
    TView_Picture Picture;
    std::string Search_Text;
};

bool save(QWidget* widget, const QString& path) {
    const bool saved = widget->grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "could not write", path.toLocal8Bit().constData());
    return saved;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: vetra_tools_screens DOCUMENT.vt OUT_DIR\n");
        return 2;
    }
    setActiveTextMode(1);
    TDocument_View view;
    auto file = openFile(argv[1], TOpen_Mode::ReadOnly);
    std::vector<TTree_Node*> viewRoots;
    TRead_Error error = TRead_Error::None;
    if (!file || !readNodeTree(*file, *view.Doc.root(), viewRoots, error)) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    const QString out = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(out);

    TOptions options(1920, 1080);
    options.Map_Width = 320;
    options.Map_Height = 220;
    TForm_Map map(
        options, [&] { return &view; }, nullptr);
    TForm_Node_Style panel(
        options, [&] { return &view; }, nullptr);
    map.show();
    panel.show();
    view.Doc.root()->Expanded = 1;
    view.refreshView();

    // Select the first node that has an outline and a colour of its own.
    TTree_Node* shown = view.Doc.root();
    forEachVisible(*view.Doc.root(), [&](TTree_Node& node) {
        if (shown == view.Doc.root() && node.Edge_Style != 0 && node.Color_Fill != -1)
            shown = &node;
    });
    shown->setSelected(true);
    panel.activateFor(&view);
    application.processEvents();
    save(&map, out + "/map.png");
    save(&panel, out + "/panel.png");
    const struct {
        QWidget* opener;
        const char* file;
    } choosers[] = {{panel.SpeedButton_View_Style, "/panel_view_styles.png"},
                    {panel.SpeedButton_Link_Style, "/panel_link_styles.png"},
                    {panel.SpeedButton_Edge_Style, "/panel_edge_styles.png"},
                    {panel.SpeedButton_Edge_Width, "/panel_widths.png"},
                    {panel.Label_Color_Fill, "/panel_colours.png"}};
    for (const auto& chooser : choosers) {
        if (auto* button = qobject_cast<QAbstractButton*>(chooser.opener))
            button->click();
        else
            emit static_cast<TColor_Swatch*>(chooser.opener)->clicked();
        application.processEvents();
        save(&panel, out + chooser.file);
    }
    // A choice made in the panel reaches the document and the map.
    panel.Edge_Style_Chooser->buttonFor(4)->click();
    panel.hideChoosers();
    application.processEvents();
    save(&panel, out + "/panel_after_circle.png");
    save(&map, out + "/map_after_circle.png");
    map.resize(640, 200);
    application.processEvents();
    map.refreshFrom(&view);
    save(&map, out + "/map_wide.png");
    map.setDetail(TMap_Detail::Sketch);  // how views of more than a thousand nodes look
    map.refreshFrom(&view);
    save(&map, out + "/map_wide_sketch.png");
    return 0;
}
