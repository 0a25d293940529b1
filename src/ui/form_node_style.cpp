#include "ui/form_node_style.h"

#include <QEvent>
#include <QFontDatabase>
#include <QListWidget>
#include <QMouseEvent>
#include <QToolButton>

#include "layout/hit_test.h"
#include "store/options.h"
#include "ui/color_palette.h"
#include "ui/style_choosers.h"
#include "ui/style_command_run.h"
#include "ui/style_icons.h"
#include "ui/ui_text.h"

namespace vetra {
namespace {

TForm_Node_Style* The_Panel = nullptr;

constexpr QSize kClient_Size{190, 324};
constexpr int kControls_Left = 36;
constexpr int kSwatch_Left = 150;
constexpr QSize kSwatch_Size{32, 22};

const TTree_Node* firstSelectedNode(TTool_Window_Target* target) {
    return target != nullptr ? firstSelected(target->viewRoot()).node : nullptr;
}

}  // namespace

TForm_Node_Style::TForm_Node_Style(TOptions& options, TTarget_Provider activeTarget,
                                   QWidget* parent)
    : QWidget(parent, Qt::Tool), Options_(options), Active_Target_(std::move(activeTarget)) {
    setObjectName("Form_Node_Style");
    setWindowTitle(uiText("節點風格"));
    setFont(QFont("Arial", 9));
    setFixedSize(kClient_Size);
    setAutoFillBackground(true);
    buildRows();
    buildChoosers();
    move(Options_.Attr_Win_X, Options_.Attr_Win_Y);
    Target_Listener_ = tool_window_detail::addTargetGoneListener([this](TTool_Window_Target* gone) {
        if (gone == Target_) Target_ = nullptr;
    });
    The_Panel = this;
}

TForm_Node_Style::~TForm_Node_Style() {
    tool_window_detail::removeTargetGoneListener(Target_Listener_);
    if (The_Panel == this) The_Panel = nullptr;
}

TForm_Node_Style* TForm_Node_Style::instance() {
    return The_Panel;
}

void showNodeInStylePanel(const TTree_Node* node) {
    if (TForm_Node_Style* panel = TForm_Node_Style::instance()) panel->showNode(node);
}

QToolButton* TForm_Node_Style::addStyleButton(const char* name, QRect place) {
    auto* button = new QToolButton(this);
    button->setObjectName(name);
    button->setGeometry(place);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setIconSize(place.size() - QSize(4, 4));
    return button;
}

TColor_Swatch* TForm_Node_Style::addColorSwatch(const char* name, QPoint at, TColor_Target target,
                                                QPoint chooserAt) {
    auto* swatch = new TColor_Swatch(this);
    swatch->setObjectName(name);
    swatch->setGeometry(QRect(at, kSwatch_Size));
    swatch->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    showSwatch(swatch, -1);
    connect(swatch, &TColor_Swatch::clicked, this, [this, target, chooserAt] {
        openChooser(Color_Chooser, chooserAt);
        Color_Target_ = target;
    });
    return swatch;
}

QToolButton* TForm_Node_Style::addFontButton(const char* name, const QString& text, int32_t flag,
                                             int x) {
    QToolButton* button = addStyleButton(name, QRect(x, 140, 24, 24));
    button->setText(text);
    button->setCheckable(true);
    QFont face = button->font();
    face.setBold(flag == kFont_Bold);
    face.setItalic(flag == kFont_Italic);
    face.setUnderline(flag == kFont_Underline);
    button->setFont(face);
    connect(button, &QToolButton::clicked, this, [this, button, flag] {
        // The pressed state shows the node's flags, not the click.
        button->setChecked(!button->isChecked());
        chooseFontFlag(flag);
    });
    return button;
}

void TForm_Node_Style::buildRows() {
    const struct {
        const char* name;
        const char* text;
        int y;
    } labels[] = {{"Label_Structure", "結構", 14},
                  {"Label_Link_Down", "下連", 57},
                  {"Label_Edge", "邊框", 102},
                  {"Label_Text", "文字", 145},
                  {"Label_Link_Up", "上連", 212}};
    for (const auto& row : labels) {
        auto* label = new QLabel(uiText(row.text), this);
        label->setObjectName(row.name);
        label->setGeometry(4, row.y, 30, 18);
        label->installEventFilter(this);
    }
    SpeedButton_View_Style = addStyleButton("SpeedButton_View_Style", {kControls_Left, 8, 48, 30});
    SpeedButton_Link_Style = addStyleButton("SpeedButton_Link_Style", {kControls_Left, 51, 36, 28});
    SpeedButton_Link_Down_Width =
        addStyleButton("SpeedButton_Link_Down_Width", {kControls_Left + 50, 53, 26, 24});
    SpeedButton_Edge_Style = addStyleButton("SpeedButton_Edge_Style", {kControls_Left, 96, 32, 28});
    SpeedButton_Edge_Width =
        addStyleButton("SpeedButton_Edge_Width", {kControls_Left + 50, 98, 26, 24});
    SpeedButton_Link_Up_Width =
        addStyleButton("SpeedButton_Link_Up_Width", {kControls_Left, 207, 26, 24});
    SpeedButton_Font_Auto = addFontButton("SpeedButton_Font_Auto", "A", 0, kControls_Left);
    SpeedButton_Font_Bold = addFontButton("SpeedButton_Font_Bold", "B", kFont_Bold, 62);
    SpeedButton_Font_Italic = addFontButton("SpeedButton_Font_Italic", "I", kFont_Italic, 88);
    SpeedButton_Font_Underline =
        addFontButton("SpeedButton_Font_Underline", "U", kFont_Underline, 114);

    Label_Color_Fill =
        addColorSwatch("Label_Color_Fill", {kSwatch_Left, 12}, TColor_Target::Fill, {1, 40});
    Label_Color_Link_Down = addColorSwatch("Label_Color_Link_Down", {kSwatch_Left, 55},
                                           TColor_Target::Link_Down, {1, 83});
    Label_Color_Edge =
        addColorSwatch("Label_Color_Edge", {kSwatch_Left, 100}, TColor_Target::Edge, {1, 128});
    Label_Color_Caption = addColorSwatch("Label_Color_Caption", {kSwatch_Left, 141},
                                         TColor_Target::Caption, {1, 193});
    Label_Color_Link_Up = addColorSwatch("Label_Color_Link_Up", {kSwatch_Left, 208},
                                         TColor_Target::Link_Up, {1, 235});

    Label_Font = new QLabel(this);
    Label_Font->setObjectName("Label_Font");
    Label_Font->setGeometry(kControls_Left, 170, 146, 20);
    Label_Font->setFrameShape(QFrame::Panel);
    Label_Font->setFrameShadow(QFrame::Sunken);
    Label_Font->setCursor(Qt::PointingHandCursor);
    Label_Font->installEventFilter(this);
}

void TForm_Node_Style::buildChoosers() {
    auto widthEntries = [] {
        std::vector<TOption_Chooser::TEntry> entries;
        const char* const names[] = {"Auto", "1", "2", "3", "4", "5"};
        for (int32_t w = 0; w <= 5; ++w) entries.push_back({names[w], w, widthIcon(w)});
        return entries;
    };
    View_Style_Chooser = new TOption_Chooser(this, "SpeedButton_View_Style_",
                                             {{"Auto", 0, viewStyleIcon(0)},
                                              {"List_Left", 4, viewStyleIcon(4)},
                                              {"List_Right", 5, viewStyleIcon(5)},
                                              {"Stru_Down", 7, viewStyleIcon(7)},
                                              {"Stru_Up", 6, viewStyleIcon(6)},
                                              {"Tree_Left", 2, viewStyleIcon(2)},
                                              {"Tree_Main", 1, viewStyleIcon(1)},
                                              {"Tree_Right", 3, viewStyleIcon(3)}},
                                             4, {44, 30});
    Link_Style_Chooser = new TOption_Chooser(this, "SpeedButton_Link_Style_",
                                             {{"Auto", 0, linkStyleIcon(0)},
                                              {"Direct", 1, linkStyleIcon(1)},
                                              {"Rect", 3, linkStyleIcon(3)},
                                              {"Round_Direct", 2, linkStyleIcon(2)},
                                              {"Round_Rect", 4, linkStyleIcon(4)}},
                                             5, {34, 26});
    Edge_Style_Chooser = new TOption_Chooser(this, "SpeedButton_Edge_Style_",
                                             {{"Auto", 0, edgeStyleIcon(0)},
                                              {"Circle", 4, edgeStyleIcon(4)},
                                              {"Lozenge", 3, edgeStyleIcon(3)},
                                              {"Rect", 2, edgeStyleIcon(2)},
                                              {"Round_Rect", 1, edgeStyleIcon(1)},
                                              {"Underline", 5, edgeStyleIcon(5)}},
                                             6, {29, 26});
    Width_Chooser = new TOption_Chooser(this, "SpeedButton_Width_", widthEntries(), 3, {28, 22});
    Color_Chooser = new TColor_Chooser(this);

    connect(View_Style_Chooser, &TOption_Chooser::chosen, this, &TForm_Node_Style::chooseViewStyle);
    connect(View_Style_Chooser, &TOption_Chooser::left, View_Style_Chooser, &QWidget::hide);
    connect(Link_Style_Chooser, &TOption_Chooser::chosen, this, &TForm_Node_Style::chooseLinkStyle);
    connect(Edge_Style_Chooser, &TOption_Chooser::chosen, this, &TForm_Node_Style::chooseEdgeStyle);
    connect(Width_Chooser, &TOption_Chooser::chosen, this, &TForm_Node_Style::chooseWidth);
    connect(Color_Chooser, &TColor_Chooser::chosen, this, &TForm_Node_Style::chooseColor);

    connect(SpeedButton_View_Style, &QToolButton::clicked, this, [this] {
        openChooser(View_Style_Chooser, {5, 40});
    });
    connect(SpeedButton_Link_Style, &QToolButton::clicked, this, [this] {
        openChooser(Link_Style_Chooser, {5, 83});
    });
    connect(SpeedButton_Edge_Style, &QToolButton::clicked, this, [this] {
        openChooser(Edge_Style_Chooser, {5, 128});
    });
    const struct {
        QToolButton* button;
        TWidth_Target target;
        QPoint at;
    } widths[] = {{SpeedButton_Link_Down_Width, TWidth_Target::Link_Down, {55, 83}},
                  {SpeedButton_Edge_Width, TWidth_Target::Edge, {55, 128}},
                  {SpeedButton_Link_Up_Width, TWidth_Target::Link_Up, {5, 235}}};
    for (const auto& width : widths) {
        connect(width.button, &QToolButton::clicked, this, [this, width] {
            openChooser(Width_Chooser, width.at);
            Width_Target_ = width.target;
        });
    }

    ListBox_Font = new QListWidget(this);
    ListBox_Font->setObjectName("ListBox_Font");
    ListBox_Font->setGeometry(45, Label_Font->y() - 170, 130, 170);
    ListBox_Font->hide();
    connect(ListBox_Font, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { chooseFontName(item->text()); });
}

void TForm_Node_Style::fillFontList() {
    QStringList faces;
    for (const QString& face : QFontDatabase::families())
        if (!face.startsWith('@')) faces.append(face);  // vertical-writing faces
    faces.sort(Qt::CaseInsensitive);
    ListBox_Font->addItems(faces);
}

void TForm_Node_Style::hideChoosers() {
    for (QWidget* chooser :
         std::initializer_list<QWidget*>{View_Style_Chooser, Link_Style_Chooser, Edge_Style_Chooser,
                                         Width_Chooser, Color_Chooser, ListBox_Font})
        chooser->hide();
}

void TForm_Node_Style::openChooser(QWidget* chooser, QPoint at) {
    hideChoosers();
    // Inside the panel, or its right part would be cut off at the panel's edge.
    chooser->move(std::clamp(at.x(), 0, std::max(0, width() - chooser->width())),
                  std::clamp(at.y(), 0, std::max(0, height() - chooser->height())));
    chooser->raise();
    chooser->show();
}

void TForm_Node_Style::showSwatch(TColor_Swatch* swatch, int32_t color) {
    const bool automatic = color == kColor_Auto;
    swatch->setColor(automatic ? Options_.Tree_Design_Color : color);
    swatch->setText(automatic ? " A" : " ");
}

void TForm_Node_Style::showNode(const TTree_Node* node) {
    if (node == nullptr) return;
    // A new icon lays the panel out and repaints it; most keys move to a
    // node of the same style, so only icons whose code changed are set.
    auto showIcon = [](QToolButton* button, int32_t code, QPixmap (*icon)(int32_t)) {
        const QVariant shown = button->property("shownCode");
        if (shown.isValid() && shown.toInt() == code) return;
        button->setIcon(QIcon(icon(code)));
        button->setProperty("shownCode", code);
    };
    showIcon(SpeedButton_View_Style, node->View_Style, viewStyleIcon);
    showIcon(SpeedButton_Link_Style, node->Link_Style, linkStyleIcon);
    showIcon(SpeedButton_Edge_Style, node->Edge_Style, edgeStyleIcon);
    showIcon(SpeedButton_Edge_Width, node->Edge_Width, widthIcon);
    showIcon(SpeedButton_Link_Down_Width, node->Link_Down_Width, widthIcon);
    showIcon(SpeedButton_Link_Up_Width, node->Link_Up_Width, widthIcon);
    showSwatch(Label_Color_Fill, node->Color_Fill);
    showSwatch(Label_Color_Edge, node->Color_Edge);
    showSwatch(Label_Color_Link_Up, node->Color_Link_Up);
    showSwatch(Label_Color_Link_Down, node->Color_Link_Down);
    showSwatch(Label_Color_Caption, node->Color_Caption);
    SpeedButton_Font_Auto->setChecked(node->Font_Style == 0);
    SpeedButton_Font_Bold->setChecked((node->Font_Style & kFont_Bold) != 0);
    SpeedButton_Font_Italic->setChecked((node->Font_Style & kFont_Italic) != 0);
    SpeedButton_Font_Underline->setChecked((node->Font_Style & kFont_Underline) != 0);
    Label_Font->setText(nodeTextToQString(node->fontName()));
}

void TForm_Node_Style::activateFor(TTool_Window_Target* target) {
    Target_ = target;
    showNode(firstSelectedNode(Target_));
}

void TForm_Node_Style::apply(TStyle_Command command, int32_t value, std::string_view fontName) {
    if (Target_ == nullptr) return;
    runStyleCommand(*Target_, command, value, fontName);
    // The current node is taken from the selection again rather than kept:
    // a node the window deleted meanwhile must never be read.
    showNode(firstSelectedNode(Target_));
}

void TForm_Node_Style::chooseViewStyle(int32_t code) {
    apply(TStyle_Command::View_Style, code);
}

void TForm_Node_Style::chooseLinkStyle(int32_t code) {
    apply(TStyle_Command::Link_Style, code);
}

void TForm_Node_Style::chooseEdgeStyle(int32_t code) {
    apply(TStyle_Command::Edge_Style, code);
}

void TForm_Node_Style::chooseWidth(int32_t width) {
    switch (Width_Target_) {
        case TWidth_Target::Link_Down:
            return apply(TStyle_Command::Link_Down_Width, width);
        case TWidth_Target::Link_Up:
            return apply(TStyle_Command::Link_Up_Width, width);
        case TWidth_Target::Edge:
            return apply(TStyle_Command::Edge_Width, width);
    }
}

void TForm_Node_Style::chooseColor(int32_t color) {
    switch (Color_Target_) {
        case TColor_Target::Fill:
            return apply(TStyle_Command::Color_Fill, color);
        case TColor_Target::Edge:
            return apply(TStyle_Command::Color_Edge, color);
        case TColor_Target::Link_Up:
            return apply(TStyle_Command::Color_Link_Up, color);
        case TColor_Target::Link_Down:
            return apply(TStyle_Command::Color_Link_Down, color);
        case TColor_Target::Caption:
            return apply(TStyle_Command::Color_Caption, color);
    }
}

void TForm_Node_Style::chooseFontFlag(int32_t flag) {
    apply(TStyle_Command::Font_Style, flag);
}

void TForm_Node_Style::chooseFontName(const QString& face) {
    hideChoosers();
    Label_Font->setText(face);
    int replaced = 0;
    const std::string bytes = qStringToNodeText(face, &replaced);
    // A face the code page cannot name could never be found again by name.
    if (replaced > 0) return;
    apply(TStyle_Command::Font_Name, 0, bytes);
}

void TForm_Node_Style::toggle() {
    setVisible(!isVisible());
    Options_.Attr_Win_Visible = isVisible() ? 1 : 0;
    Options_.save();
}

void TForm_Node_Style::storePlace() {
    Options_.Attr_Win_Visible = isVisible() ? 1 : 0;
    Options_.Attr_Win_X = x();
    Options_.Attr_Win_Y = y();
}

void TForm_Node_Style::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::ActivationChange) return;
    if (isActiveWindow())
        activateFor(Active_Target_ ? Active_Target_() : nullptr);
    else
        hideChoosers();
}

void TForm_Node_Style::mousePressEvent(QMouseEvent* event) {
    hideChoosers();
    QWidget::mousePressEvent(event);
}

bool TForm_Node_Style::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        if (watched != Label_Font) {
            hideChoosers();  // a row label
        } else {
            // The font database is read on first use: enumerating the faces
            // costs start-up time the first paint does not need.
            if (ListBox_Font->count() == 0) fillFontList();
            openChooser(ListBox_Font, {45, Label_Font->y() - 170});
            return true;  // not on to the panel, which would close the list again
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace vetra
