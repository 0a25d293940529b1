// The command handlers of the document window: the node pop-up menu, the
// main frame's forwarded items and the keys all end here.
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>

#include "layout/hit_test.h"
#include "model/selection.h"
#include "model/tree_commands.h"
#include "model/undo_changes.h"
#include "ui/caption_editor.h"
#include "ui/document_window.h"
#include "ui/image_view.h"
#include "ui/link_opener.h"
#include "ui/main_frame.h"
#include "ui/message_box.h"
#include "ui/outline_commands.h"
#include "ui/ui_text.h"

namespace vetra {

void TForm_Qo_Tree::buildPopupMenu() {
    PopupMenu_Node_ = new QMenu(this);
    PopupMenu_Node_->setObjectName("PopupMenu_Node");
    struct TItem {
        const char* name;
        const char* caption;
        const char* shortcut;
        void (TForm_Qo_Tree::*handler)();
    };
    static const TItem kItems[] = {
        {"N_Create", "新增下級", "Ins", &TForm_Qo_Tree::N_CreateClick},
        {"N_Edit", "編輯 Enter", nullptr, &TForm_Qo_Tree::N_EditClick},
        {"N_Link_Url", "打開連接", nullptr, &TForm_Qo_Tree::N_Link_UrlClick},
        {nullptr, nullptr, nullptr, nullptr},
        {"N_Create_Parent", "增加父節點", nullptr, &TForm_Qo_Tree::N_Create_ParentClick},
        {"N_Erase_Parent", "刪除父節點", nullptr, &TForm_Qo_Tree::N_Erase_ParentClick},
        {"N_Expand_Switch", "展開合攏－空格鍵", nullptr, &TForm_Qo_Tree::N_Expand_SwitchClick},
        {"N_New_Node_View", "創建子視窗編輯", nullptr, &TForm_Qo_Tree::N_New_Node_ViewClick},
        {nullptr, nullptr, nullptr, nullptr},
        {"N_Undo", "取消上一操作", nullptr, &TForm_Qo_Tree::N_UndoClick},
        {"N_Redo", "重做", nullptr, &TForm_Qo_Tree::N_RedoClick},
        {"N_Copy", "複製", nullptr, &TForm_Qo_Tree::N_CopyClick},
        {"N_Paster", "粘貼", nullptr, &TForm_Qo_Tree::N_PasterClick},
        {"N_Erase", "刪除", "Del", &TForm_Qo_Tree::N_EraseClick},
        {"N_Move_Up", "上移", "Ctrl+U", &TForm_Qo_Tree::N_Move_UpClick},
        {"N_Move_Down", "下移", "Ctrl+D", &TForm_Qo_Tree::N_Move_DownClick},
        {nullptr, nullptr, nullptr, nullptr},
        {"N_Create_From_Selected", "導出新文件編輯", nullptr,
         &TForm_Qo_Tree::N_Create_From_SelectedClick},
        {"N_Export_Node", "導出該節點", nullptr, &TForm_Qo_Tree::N_Export_NodeClick},
        {"N_Export_Node_And_Send", "導出並發送", nullptr,
         &TForm_Qo_Tree::N_Export_Node_And_SendClick},
    };
    QAction* undo = nullptr;
    QAction* redo = nullptr;
    for (const TItem& item : kItems) {
        if (item.name == nullptr) {
            PopupMenu_Node_->addSeparator();
            continue;
        }
        QAction* action = PopupMenu_Node_->addAction(uiText(item.caption));
        action->setObjectName(item.name);
        // The menu's keys work while the drawing has the focus; the window's
        // own key handling runs the same handlers, so they are shown only.
        if (item.shortcut != nullptr) {
            action->setShortcut(QKeySequence(item.shortcut));
            action->setShortcutContext(Qt::WidgetShortcut);
        }
        connect(action, &QAction::triggered, this, item.handler);
        if (std::string_view(item.name) == "N_Undo") undo = action;
        if (std::string_view(item.name) == "N_Redo") redo = action;
    }
    QMenu* expandMenu = PopupMenu_Node_->addMenu(uiText("縮放至 ..."));
    expandMenu->menuAction()->setObjectName("N_Expand_To");
    static const char* const kLevels[] = {"1 層   (1)", "2 層   (2)", "3 層   (3)", "4 層   (4)",
                                          "5 層   (5)"};
    for (int level = 1; level <= 5; ++level) {
        QAction* action = expandMenu->addAction(uiText(kLevels[level - 1]));
        action->setObjectName(QString("N_Expand_To_%1").arg(level));
        connect(action, &QAction::triggered, this, [this, level] { this->expandTo(level); });
    }
    connect(PopupMenu_Node_, &QMenu::aboutToShow, this, [this, undo, redo] {
        undo->setEnabled(hasUndoHistory());
        redo->setEnabled(hasRedoHistory());
    });
    Image_View_->viewport()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Image_View_->viewport(), &QWidget::customContextMenuRequested, this, [this](QPoint at) {
        PopupMenu_Node_->popup(Image_View_->viewport()->mapToGlobal(at));
    });
}

void TForm_Qo_Tree::selectOnly(TTree_Node* node) {
    Current_.Root->clearSelection();
    node->setSelected(true);
    Image_View_->repaintChanged();
}

void TForm_Qo_Tree::N_CreateClick() {
    TEdit_Context ctx = editContext();
    Layout_Changes_.addChildList(selectedNode());  // the new node's parent
    createChild(ctx);
    Layout_Changes_.clear();
}

void TForm_Qo_Tree::N_EditClick() {
    if (TTree_Node* node = selectedNode()) editInNodeDialog(*node);
}

void TForm_Qo_Tree::N_Link_UrlClick() {
    TTree_Node* node = selectedNode();
    if (node == nullptr || !node->Link.isPresent() || node->Link.isEmpty()) return;
    openLink(QString::fromStdString(std::string(node->Link.view())));
}

void TForm_Qo_Tree::openLink(const QString& link) {
    TLink_Target target = classifyLink(link);
    if (target == TLink_Target::Document) {
        Frame_.openDocument(resolveLink(link));
        return;
    }
    if (!openWithDesktop(resolveLink(link)))
        message_box::warning(this, "打開/執行文件失敗，請檢查配置關聯程序");
}

void TForm_Qo_Tree::N_Create_ParentClick() {
    TEdit_Context ctx = editContext();
    createParent(ctx);
    syncViewFromCurrent();
}

void TForm_Qo_Tree::N_Erase_ParentClick() {
    TEdit_Context ctx = editContext();
    eraseParent(ctx);
    syncViewFromCurrent();
}

void TForm_Qo_Tree::N_Expand_SwitchClick() {
    TEdit_Context ctx = editContext();
    toggleExpanded(ctx);
}

void TForm_Qo_Tree::expandTo(int level) {
    TEdit_Context ctx = editContext();
    expandToLevelCommand(ctx, level);
}

void TForm_Qo_Tree::N_New_Node_ViewClick() {
    TTree_Node* node = selectedNode();
    if (node == nullptr) return;
    if (Views_.findView(node) == nullptr && Views_.count() >= kMax_Views) {
        message_box::warning(this, "已打開 %d 個視圖，請先關閉一些再創建",
                             {QString::number(kMax_Views)});
        return;
    }
    leaveCurrentView();
    bool created = false;
    TNode_View* view = Views_.newView(node, &created);
    if (created) {
        node->Expanded = 1;
        saveViewState(*view);
        view->Picture_Width = view->Picture_Height = 10;
    }
    Views_.setCurrent(view);
    showCurrentView();
}

void TForm_Qo_Tree::SpeedButton_Close_ViewClick() {
    if (Views_.count() < 2) {
        parentWidget() != nullptr ? parentWidget()->close() : close();
        return;
    }
    TNode_View* view = Views_.current();
    if (view == Views_.view(0)) return;
    commitCaptionEditor();
    syncViewFromCurrent();
    view->Root->Parent = view->Saved_Parent;
    Views_.closeView(view);
    Views_.setCurrent(Views_.view(0));
    showCurrentView();
}

void TForm_Qo_Tree::listChangesOf(TUndo_Group* group) {
    // Undo and redo both take a group back: the same records name what moves.
    if (group == nullptr) return;
    bool complete = false;
    std::vector<TTree_Node*> childLists;
    const std::vector<TTree_Node*> changed = nodesChangedByUndo(*group, complete, &childLists);
    if (!complete) return;
    for (const TTree_Node* node : changed) Layout_Changes_.add(node);
    for (const TTree_Node* node : childLists) Layout_Changes_.addChildList(node);
}

void TForm_Qo_Tree::N_UndoClick() {
    commitCaptionEditor();
    TEdit_Context ctx = editContext();
    listChangesOf(Doc_->Undo.newest());
    if (undoLastCommand(ctx)) syncViewFromCurrent();
    Layout_Changes_.clear();
}

void TForm_Qo_Tree::N_RedoClick() {
    commitCaptionEditor();
    TEdit_Context ctx = editContext();
    listChangesOf(Doc_->Undo.newestRedo());
    if (redoLastUndo(ctx)) syncViewFromCurrent();
    Layout_Changes_.clear();
}

void TForm_Qo_Tree::N_CopyClick() {
    TForm_Caption& editor = TForm_Caption::instance();
    if (editor.isShownIn(this)) {
        editor.edit()->copy();
        return;
    }
    TEdit_Context ctx = editContext();
    copySelection(ctx);
}

void TForm_Qo_Tree::N_PasterClick() {
    TForm_Caption& editor = TForm_Caption::instance();
    if (editor.isShownIn(this)) {
        editor.edit()->paste();
        return;
    }
    TEdit_Context ctx = editContext();
    if (ctx.Clipboard.empty() && pasteClipboardText(ctx)) return;
    Layout_Changes_.addChildList(selectedNode());  // the pasted nodes' parent
    pasteClipboard(ctx);
    Layout_Changes_.clear();
}

void TForm_Qo_Tree::N_EraseClick() {
    TForm_Caption& editor = TForm_Caption::instance();
    if (editor.isShownIn(this)) {
        editor.edit()->cut();
        return;
    }
    TEdit_Context ctx = editContext();
    listParentsOfSelected();
    eraseSelection(ctx);
    syncViewFromCurrent();
    Layout_Changes_.clear();
}

void TForm_Qo_Tree::N_Move_UpClick() {
    TEdit_Context ctx = editContext();
    listParentsOfSelected();
    moveUp(ctx);
    Layout_Changes_.clear();
}

void TForm_Qo_Tree::N_Move_DownClick() {
    TEdit_Context ctx = editContext();
    listParentsOfSelected();
    moveDown(ctx);
    Layout_Changes_.clear();
}

void TForm_Qo_Tree::listParentsOfSelected() {
    // Children of these parents go or move: each is laid out from its
    // children, and only children it did not hold before are laid out whole.
    // A node below another selected one goes with it when the selection is
    // erased, and so does its parent: that parent is not listed.
    std::vector<TTree_Node*> selected;
    collectSelected(*Current_.Root, selected);
    for (const TTree_Node* node : selected) {
        bool outermost = true;
        for (const TTree_Node* up = node->Parent; up != nullptr && outermost; up = up->Parent)
            outermost = !up->selected();
        if (outermost) Layout_Changes_.addChildList(node->Parent);
    }
}

void TForm_Qo_Tree::N_Create_From_SelectedClick() {
    TTree_Node* node = selectedNode();
    if (node == nullptr) return;
    Current_.restoreParentLink();
    std::unique_ptr<TTree_Doc> copy = Doc_->newDocumentFromSubtree(*node);
    Current_.cutParentLink();
    if (copy) Frame_.showDocumentWindow(TForm_Qo_Tree::adopt(Frame_, std::move(copy)));
}

void TForm_Qo_Tree::N_Export_NodeClick() {
    TTree_Node* node = selectedNode();
    if (node == nullptr) return;
    Current_.restoreParentLink();
    Doc_->exportSubtree(*node, *this);
    Current_.cutParentLink();
}

void TForm_Qo_Tree::N_Node_Set_ColorClick() {
    std::vector<TTree_Node*> nodes;
    collectSelected(*Current_.Root, nodes);
    if (nodes.empty()) return;
    recordContentChange(*Doc_, nodes);
    for (TTree_Node* node : nodes) node->Color_Caption = Frame_.defaultColor();
    // Colouring from the palette does not mark the document modified.
    refresh();
}

}  // namespace vetra
