#include "ui/main_frame.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "model/block_pool.h"
#include "platform/system_info.h"
#include "store/options.h"
#include "ui/color_palette.h"
#include "ui/dialog_script.h"
#include "ui/export_commands.h"
#include "ui/form_option.h"
#include "ui/message_box.h"
#include "ui/outline_commands.h"
#include "ui/shell_commands.h"
#include "ui/status_line.h"
#include "ui/tool_icons.h"
#include "ui/tool_windows.h"
#include "ui/ui_text.h"

namespace vetra {
namespace {

constexpr char kDocument_Window_Prefix[] = "Form_Qo_Tree";

bool isDocumentWindow(const QWidget* widget) {
    return widget != nullptr && widget->objectName().startsWith(kDocument_Window_Prefix);
}

QString documentFileName(QWidget* window) {
    QString name;
    QMetaObject::invokeMethod(window, "fileName", Qt::DirectConnection,
                              Q_RETURN_ARG(QString, name));
    return name;
}

// Runs the window's save prompt; false when the user cancelled.
bool documentCloseQuery(QWidget* window) {
    bool allowed = true;
    QMetaObject::invokeMethod(window, "closeQuery", Qt::DirectConnection,
                              Q_RETURN_ARG(bool, allowed));
    return allowed;
}

}  // namespace

TForm_Main_Vetra::TForm_Main_Vetra(TOptions& options, TDocument_Window_Factory factory)
    : Options_(options), Factory_(std::move(factory)) {
    setObjectName("Form_Main_Vetra");
    setWindowTitle(uiText("Vetra管理軟件 V3.1"));
    Mdi_Area_ = new QMdiArea(this);
    Mdi_Area_->setObjectName("MdiArea");
    Mdi_Area_->setViewMode(QMdiArea::SubWindowView);
    Mdi_Area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    Mdi_Area_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(Mdi_Area_);
    buildMenus();
    buildToolBar();
    for (int i = 0; i < TColor_Palette::kSwatches; ++i)
        Palette_->setSwatchColor(i, Options_.Palette[i]);
    Palette_->setDefaultColor(Options_.User_Def_Color);
    connect(Palette_, &TColor_Palette::applyToSelection, this,
            [this] { forwardToActiveWindow("N_Node_Set_ColorClick"); });
    connect(Palette_, &TColor_Palette::colorsEdited, this, [this] {
        copyPaletteToOptions();
        Options_.save();
    });
    rebuildRecentFiles();
    connect(Mdi_Area_, &QMdiArea::subWindowActivated, this, [](QMdiSubWindow* sub) {
        if (sub != nullptr && isDocumentWindow(sub->widget()))
            QMetaObject::invokeMethod(sub->widget(), "activated", Qt::DirectConnection);
    });
    resize(1200, 800);
    installStatusLine(*this);
    installToolWindows(*this);
    installShellCommands(*this);
}

TForm_Main_Vetra::~TForm_Main_Vetra() {
    detachToolWindows();
    // The windows die with the frame's children, after this destructor: they
    // must not call back into a frame that is half gone.
    for (QWidget* window : documentWindows()) disconnect(window, nullptr, this, nullptr);
}

int32_t TForm_Main_Vetra::defaultColor() const {
    return Palette_->defaultColor();
}

QAction* TForm_Main_Vetra::addItem(QMenu* menu, const char* name, std::string_view caption,
                                   const QString& shortcut) {
    QAction* action = menu->addAction(uiText(caption));
    action->setObjectName(name);
    if (!shortcut.isEmpty()) {
        action->setShortcut(QKeySequence(shortcut));
        action->setShortcutContext(Qt::ApplicationShortcut);
    }
    return action;
}

QAction* TForm_Main_Vetra::addForwardedItem(QMenu* menu, const char* name, std::string_view caption,
                                            const char* handler, const QString& shortcut) {
    QAction* action = addItem(menu, name, caption, shortcut);
    connect(action, &QAction::triggered, this, [this, handler] { forwardToActiveWindow(handler); });
    return action;
}

void TForm_Main_Vetra::buildMenus() {
    buildFileMenu();
    buildEditMenu();
    buildToolMenu();
    buildWindowMenu();
}

void TForm_Main_Vetra::buildFileMenu() {
    QMenu* file = menuBar()->addMenu(uiText("文件 &F"));
    file->setObjectName("N_File");
    connect(addItem(file, "N_File_New", "新建"), &QAction::triggered, this,
            &TForm_Main_Vetra::N_File_NewClick);
    connect(addItem(file, "N_Open", "打開", "Ctrl+O"), &QAction::triggered, this,
            &TForm_Main_Vetra::N_OpenClick);
    connect(addItem(file, "N_Save", "保存", "Ctrl+S"), &QAction::triggered, this,
            &TForm_Main_Vetra::N_SaveClick);
    connect(addItem(file, "N_Save_All", "全部保存"), &QAction::triggered, this,
            &TForm_Main_Vetra::N_Save_AllClick);
    connect(addItem(file, "N_Save_As", "另存到"), &QAction::triggered, this,
            &TForm_Main_Vetra::N_Save_AsClick);
    file->addSeparator();
    connect(addItem(file, "N_Import", "導入…"), &QAction::triggered, this,
            [this] { importOutlineCommand(*this); });
    addForwardedItem(file, "N_Export_Outline", "輸出到 大綱文件", "N_Export_OutlineClick");
    QAction* separator = file->addSeparator();
    separator->setObjectName("N_Recent_File_Sep");
    for (int slot = 0; slot < 6; ++slot) {
        QAction* recent = file->addAction(QString());
        recent->setObjectName(QString("N_Recent_File_%1").arg(slot));
        recent->setVisible(false);
        connect(recent, &QAction::triggered, this, [this, recent] {
            std::string slot = recent->data().toString().toStdString();
            openDocument(
                QString::fromStdString(resolveRecentFile(slot, Options_.Program_Directory)));
        });
    }
    file->addSeparator();
    connect(addItem(file, "N_Exit", "退出"), &QAction::triggered, this,
            &TForm_Main_Vetra::N_ExitClick);
    connect(file, &QMenu::aboutToShow, this, &TForm_Main_Vetra::rebuildRecentFiles);
}

void TForm_Main_Vetra::buildEditMenu() {
    QMenu* edit = menuBar()->addMenu(uiText("編輯 &E"));
    edit->setObjectName("N2");
    addForwardedItem(edit, "N_Create", "新增下級     Insert", "N_CreateClick");
    QAction* undo =
        addForwardedItem(edit, "N_Undo", "回退上一操作 Ctrl+BS", "N_UndoClick", "Ctrl+Z");
    QAction* redo = addForwardedItem(edit, "N_Redo", "重做", "N_RedoClick");
    redo->setShortcuts({QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")});
    redo->setShortcutContext(Qt::ApplicationShortcut);
    addForwardedItem(edit, "N_Edit", "編輯 Enter", "N_EditClick");
    addForwardedItem(edit, "N_Create_Parent", "增加父節點", "N_Create_ParentClick");
    addForwardedItem(edit, "N_Erase_Parent", "刪除父節點", "N_Erase_ParentClick");
    edit->addSeparator();
    addForwardedItem(edit, "N_Copy", "複製 ", "N_CopyClick", "Ctrl+C");
    addForwardedItem(edit, "N_Paster", "粘貼", "N_PasterClick", "Ctrl+V");
    addForwardedItem(edit, "N_Cut", "剪切", "N_EraseClick", "Ctrl+X");
    edit->addSeparator();
    addForwardedItem(edit, "N_Search", "搜索", "N_SearchClick", "Ctrl+F")->setEnabled(false);
    addForwardedItem(edit, "N_Search_Next", "搜索下一個", "N_Search_NextClick", "F3")
        ->setEnabled(false);
    addForwardedItem(edit, "N_Search_Pre", "搜索上一個", "N_Search_PreClick", "Ctrl+F3")
        ->setEnabled(false);
    edit->addSeparator();
    addForwardedItem(edit, "N_Move_Up", "上移 Ctrl ↑", "N_Move_UpClick");
    addForwardedItem(edit, "N_Move_Down", "下移 Ctrl ↓", "N_Move_DownClick");
    addForwardedItem(edit, "N_Expand_Switch", "展開合攏－空格鍵", "N_Expand_SwitchClick");
    QMenu* expandTo = edit->addMenu(uiText("縮放至 ..."));
    expandTo->menuAction()->setObjectName("N_Expand_To");
    static const char* const kExpandHandlers[] = {"N_Expand_To_1Click", "N_Expand_To_2Click",
                                                  "N_Expand_To_3Click", "N_Expand_To_4Click",
                                                  "N_Expand_To_5Click"};
    static const char* const kExpandNames[] = {"N_Expand_To_1", "N_Expand_To_2", "N_Expand_To_3",
                                               "N_Expand_To_4", "N_Expand_To_5"};
    static const char* const kExpandCaptions[] = {"1 層   (1)", "2 層   (2)", "3 層   (3)",
                                                  "4 層   (4)", "5 層   (5)"};
    for (int level = 0; level < 5; ++level)
        addForwardedItem(expandTo, kExpandNames[level], kExpandCaptions[level],
                         kExpandHandlers[level]);
    addForwardedItem(edit, "N_Node_Set_Color", "節點設置色彩", "N_Node_Set_ColorClick", "Ctrl+Q");
    addForwardedItem(edit, "N_Create_View", "創建子視窗編輯", "N_New_Node_ViewClick", "F4");
    edit->addSeparator();
    addForwardedItem(edit, "N_Zoom_In", "放大", "N_Zoom_InClick")
        ->setShortcuts({QKeySequence("Ctrl+="), QKeySequence("Ctrl++")});
    addForwardedItem(edit, "N_Zoom_Out", "縮小", "N_Zoom_OutClick", "Ctrl+-");
    addForwardedItem(edit, "N_Zoom_Reset", "原始大小 100%", "N_Zoom_ResetClick", "Ctrl+0");
    addForwardedItem(edit, "N_Zoom_Fit", "適合視窗大小", "N_Zoom_FitClick");
    for (const char* name : {"N_Zoom_In"})
        findChild<QAction*>(name)->setShortcutContext(Qt::ApplicationShortcut);
    connect(edit, &QMenu::aboutToShow, this, [this, undo, redo] {
        bool hasHistory = false, hasRedo = false;
        if (QWidget* window = activeDocumentWindow()) {
            QMetaObject::invokeMethod(window, "hasUndoHistory", Qt::DirectConnection,
                                      Q_RETURN_ARG(bool, hasHistory));
            QMetaObject::invokeMethod(window, "hasRedoHistory", Qt::DirectConnection,
                                      Q_RETURN_ARG(bool, hasRedo));
        }
        undo->setEnabled(hasHistory);
        redo->setEnabled(hasRedo);
    });
}

void TForm_Main_Vetra::buildToolMenu() {
    QMenu* tool = menuBar()->addMenu(uiText("工具 &T"));
    tool->setObjectName("N_Tool");
    // The office exports, the overview, the style panel and the help arrive
    // with their own windows; until then their items stay visible but disabled.
    const auto exportItem = [this](QAction* item, TExport_Command command) {
        connect(item, &QAction::triggered, this,
                [this, command] { runExportCommand(this, activeDocumentWindow(), command); });
    };
    exportItem(addItem(tool, "N_Export_Idx_Html", "輸出到 索引型Html文件", "F2"),
               TExport_Command::Site);
    exportItem(addItem(tool, "N_Export_Html", "輸出到 Html 文件"), TExport_Command::Html);
    exportItem(addItem(tool, "N_Export_Pict", "輸出到 圖形文件"), TExport_Command::Picture);
    addItem(tool, "N_Export_Word", "輸出到 Word 文件")->setEnabled(false);
    addItem(tool, "N_Export_PPT", "輸出到 PowerPoint")->setEnabled(false);
    exportItem(addItem(tool, "HtmlMap1", "輸出到 Html Map 文件"), TExport_Command::Map);
    tool->addSeparator();
    QAction* map = addItem(tool, "N_Map", "縮略圖", "F5");
    map->setCheckable(true);
    map->setEnabled(false);
    QAction* attributes = addItem(tool, "N_Node_Attr", "屬性視窗", "F6");
    attributes->setCheckable(true);
    attributes->setEnabled(false);
    QAction* showColor = addItem(tool, "N_Show_Color", "色彩框");
    showColor->setCheckable(true);
    connect(showColor, &QAction::triggered, this, &TForm_Main_Vetra::N_Show_ColorClick);
    connect(addItem(tool, "N_Option_Set", "顔色設置"), &QAction::triggered, this,
            &TForm_Main_Vetra::N_Option_SetClick);
    tool->addSeparator();
    addItem(tool, "N3", "關於系統")->setEnabled(false);
    addItem(tool, "N_Help", "幫助資訊", "F1")->setEnabled(false);
    addItem(tool, "N9", "關聯文件 .vt")->setEnabled(false);
    connect(tool, &QMenu::aboutToShow, this,
            [this, showColor] { showColor->setChecked(Palette_->isVisible()); });
}

void TForm_Main_Vetra::buildWindowMenu() {
    Window_Menu_ = menuBar()->addMenu(uiText("窗口 &W"));
    Window_Menu_->setObjectName("N_Win");
    connect(Window_Menu_, &QMenu::aboutToShow, this, &TForm_Main_Vetra::fillWindowMenu);
    fillWindowMenu();
}

void TForm_Main_Vetra::fillWindowMenu() {
    Window_Menu_->clear();
    connect(addItem(Window_Menu_, "N_Close", "關閉"), &QAction::triggered, this,
            &TForm_Main_Vetra::N_CloseClick);
    connect(addItem(Window_Menu_, "N_Close_All", "全部關閉"), &QAction::triggered, this,
            &TForm_Main_Vetra::N_Close_AllClick);
    const QList<QMdiSubWindow*> windows = Mdi_Area_->subWindowList();
    if (!windows.isEmpty()) Window_Menu_->addSeparator();
    int number = 1;
    for (QMdiSubWindow* window : windows) {
        // The title's "[*]" placeholder shows as "*" while the document is modified.
        QString title = window->windowTitle().replace(
            "[*]", window->widget() != nullptr && window->widget()->isWindowModified() ? "*" : "");
        QAction* item = Window_Menu_->addAction(QString("&%1 %2").arg(number++).arg(title));
        item->setCheckable(true);
        item->setChecked(window == Mdi_Area_->activeSubWindow());
        connect(item, &QAction::triggered, this,
                [this, window] { Mdi_Area_->setActiveSubWindow(window); });
    }
}

void TForm_Main_Vetra::buildToolBar() {
    Tool_Bar_ = addToolBar(QString());
    Tool_Bar_->setObjectName("ToolBar_Func");
    Tool_Bar_->setMovable(false);
    Tool_Bar_->setIconSize(QSize(22, 22));
    struct TButton {
        const char* name;
        const char* hint;
        TTool_Glyph glyph;
        const char* item;  // the menu item it acts as
    };
    static const TButton kButtons[] = {
        {"ToolButton_New", "新建", TTool_Glyph::New, "N_File_New"},
        {"ToolButton_Open", "打開", TTool_Glyph::Open, "N_Open"},
        {"ToolButton_Save", "保存", TTool_Glyph::Save, "N_Save"},
        {"ToolButton_Save_As", "另存到", TTool_Glyph::SaveAs, "N_Save_As"},
        {"ToolButton_Save_All", "保存所有文件", TTool_Glyph::SaveAll, "N_Save_All"},
        {nullptr, nullptr, TTool_Glyph::New, nullptr},
        {"ToolButton_Cut", "剪切", TTool_Glyph::Cut, "N_Cut"},
        {"ToolButton_Copy", "複製", TTool_Glyph::Copy, "N_Copy"},
        {"ToolButton_Paster", "粘貼", TTool_Glyph::Paste, "N_Paster"},
        {"ToolButton_Undo", "回退上一操作", TTool_Glyph::Undo, "N_Undo"},
        {"ToolButton_Redo", "重做", TTool_Glyph::Redo, "N_Redo"},
        {nullptr, nullptr, TTool_Glyph::New, nullptr},
        {"ToolButton_Preview", "增加節點", TTool_Glyph::AddNode, "N_Create"},
        {"ToolButton_Unit_List", "編輯資訊", TTool_Glyph::Edit, "N_Edit"},
        {"ToolButton_Rep_Info", "展開節點", TTool_Glyph::Expand, "N_Expand_Switch"},
        {"ToolButton_Prop", "合攏節點", TTool_Glyph::Collapse, "N_Expand_Switch"},
        {nullptr, nullptr, TTool_Glyph::New, nullptr},
        {"ToolButton_Help", "幫助資訊", TTool_Glyph::Help, "N_Help"},
        {"ToolButton_Exit", "退出", TTool_Glyph::Exit, "N_Exit"},
    };
    for (const TButton& button : kButtons) {
        if (button.name == nullptr) {
            Tool_Bar_->addSeparator();
            continue;
        }
        QAction* item = findChild<QAction*>(button.item);
        QAction* action = Tool_Bar_->addAction(toolIcon(button.glyph), uiText(button.hint));
        action->setObjectName(button.name);
        action->setToolTip(uiText(button.hint));
        action->setEnabled(item == nullptr || item->isEnabled());
        if (item != nullptr) connect(action, &QAction::triggered, item, &QAction::trigger);
    }
    Tool_Bar_->addSeparator();
    Palette_ = new TColor_Palette(Tool_Bar_);
    Tool_Bar_->addWidget(Palette_);
}

QWidget* TForm_Main_Vetra::activeDocumentWindow() const {
    QMdiSubWindow* active = Mdi_Area_->activeSubWindow();
    if (active == nullptr) {
        // Offscreen and in scripts no window manager activates the child.
        const QList<QMdiSubWindow*> windows = Mdi_Area_->subWindowList();
        if (windows.size() == 1) active = windows.first();
    }
    QWidget* widget = active != nullptr ? active->widget() : nullptr;
    return isDocumentWindow(widget) ? widget : nullptr;
}

QList<QWidget*> TForm_Main_Vetra::documentWindows() const {
    QList<QWidget*> windows;
    for (QMdiSubWindow* sub : Mdi_Area_->subWindowList())
        if (isDocumentWindow(sub->widget())) windows.append(sub->widget());
    return windows;
}

QWidget* TForm_Main_Vetra::findDocumentWindow(const QString& fileName) const {
    for (QWidget* window : documentWindows())
        if (documentFileName(window) == fileName) return window;
    return nullptr;
}

void TForm_Main_Vetra::forwardToActiveWindow(const char* handler) {
    if (QWidget* window = activeDocumentWindow())
        QMetaObject::invokeMethod(window, handler, Qt::DirectConnection);
}

namespace {
// Nodes and texts freed with a document, and the heap's free pages.
void returnFreedDocumentMemory() {
    releaseEmptyBlockSlabs();
    returnFreedMemory();
}
}  // namespace

void TForm_Main_Vetra::addDocumentWindow(QWidget* window) {
    QMdiSubWindow* sub = Mdi_Area_->addSubWindow(window);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    connect(window, &QWidget::destroyed, this, [this] {
        rebuildRecentFiles();
        emit documentWindowsChanged();
        returnFreedDocumentMemory();
    });
    sub->showMaximized();
    Mdi_Area_->setActiveSubWindow(sub);
    window->setFocus();  // the drawing takes the keys at once
    emit documentWindowsChanged();
    // Once the window has been laid out and drawn: reading the document and
    // its first layout leave megabytes of freed buffers.
    QTimer::singleShot(0, this, [] { returnFreedDocumentMemory(); });
}

void TForm_Main_Vetra::openDocument(const QString& fileName) {
    if (QWidget* open = findDocumentWindow(fileName)) {
        for (QMdiSubWindow* sub : Mdi_Area_->subWindowList())
            if (sub->widget() == open) Mdi_Area_->setActiveSubWindow(sub);
        return;
    }
    if (QWidget* window = Factory_(*this, fileName)) addDocumentWindow(window);
}

void TForm_Main_Vetra::newDocument() {
    if (QWidget* window = Factory_(*this, QString())) addDocumentWindow(window);
}

void TForm_Main_Vetra::rebuildRecentFiles() {
    QAction* separator = findChild<QAction*>("N_Recent_File_Sep");
    separator->setVisible(false);
    for (int slot = 0; slot < TOptions::kRecent_Count; ++slot) {
        QAction* item = findChild<QAction*>(QString("N_Recent_File_%1").arg(slot));
        const std::string& text = Options_.Recent_Files[slot];
        QString name = QString::fromStdString(text);
        QString resolved =
            QString::fromStdString(resolveRecentFile(text, Options_.Program_Directory));
        bool open = findDocumentWindow(name) != nullptr || findDocumentWindow(resolved) != nullptr;
        item->setVisible(!text.empty() && !open);
        item->setText(name);
        item->setData(name);
        if (item->isVisible()) separator->setVisible(true);
    }
}

void TForm_Main_Vetra::N_File_NewClick() {
    newDocument();
}

void TForm_Main_Vetra::N_OpenClick() {
    QString fileName;
    if (TDialog_Script* script = TDialog_Script::active()) {
        fileName = script->takeAnswer().value_or(QString());
    } else {
        fileName = QFileDialog::getOpenFileName(this, QString(), QString(),
                                                uiText("Vetra文件") + " (*.vt)");
    }
    if (!fileName.isEmpty()) openDocument(fileName);
}

void TForm_Main_Vetra::N_SaveClick() {
    forwardToActiveWindow("N_SaveClick");
}

void TForm_Main_Vetra::N_Save_AllClick() {
    QList<QWidget*> windows = documentWindows();
    for (qsizetype i = windows.size(); i-- > 0;)
        QMetaObject::invokeMethod(windows[i], "N_SaveClick", Qt::DirectConnection);
}

void TForm_Main_Vetra::N_Save_AsClick() {
    forwardToActiveWindow("N_Save_AsClick");
}

bool TForm_Main_Vetra::runCloseQueries(bool lastFirst) {
    QList<QWidget*> windows = documentWindows();
    if (lastFirst) std::reverse(windows.begin(), windows.end());
    for (QWidget* window : windows)
        if (!documentCloseQuery(window)) return false;
    return true;
}

void TForm_Main_Vetra::N_ExitClick() {
    saveWindowState();
    if (!runCloseQueries(true)) return;
    Exiting_ = true;
    close();
}

void TForm_Main_Vetra::N_CloseClick() {
    if (QMdiSubWindow* active = Mdi_Area_->activeSubWindow()) active->close();
}

void TForm_Main_Vetra::N_Close_AllClick() {
    QList<QMdiSubWindow*> windows = Mdi_Area_->subWindowList();
    for (qsizetype i = windows.size(); i-- > 0;) windows[i]->close();
}

void TForm_Main_Vetra::N_Option_SetClick() {
    TForm_Option dialog(Options_, this);
    if (TDialog_Script* script = TDialog_Script::active()) {
        // Scripts confirm the dialog unless told to cancel.
        if (script->takeAnswer().value_or("ok") == "ok") dialog.Button_OkClick();
    } else {
        dialog.exec();
    }
    forwardToActiveWindow("refresh");
}

void TForm_Main_Vetra::copyPaletteToOptions() {
    for (int i = 0; i < TColor_Palette::kSwatches; ++i)
        Options_.Palette[i] = Palette_->swatchColor(i);
    Options_.User_Def_Color = Palette_->defaultColor();
}

void TForm_Main_Vetra::saveWindowState() {
    copyPaletteToOptions();
    storeToolWindowPlaces();
    Options_.save();
}

void TForm_Main_Vetra::N_Show_ColorClick() {
    Palette_->setVisible(!Palette_->isVisible());
}

void TForm_Main_Vetra::closeEvent(QCloseEvent* event) {
    if (!Exiting_ && !runCloseQueries(false)) {
        event->ignore();
        return;
    }
    if (!Exiting_) saveWindowState();
    // The prompts have been answered; the windows must not ask again.
    for (QWidget* window : documentWindows()) window->setProperty("closeQueryDone", true);
    event->accept();
}

}  // namespace vetra
