#pragma once

#include <QPoint>
#include <QWidget>
#include <memory>
#include <vector>

#include "layout/incremental_layout.h"
#include "layout/node_view.h"
#include "layout/text_measure_cache.h"
#include "model/editor_host.h"
#include "model/tree_commands.h"
#include "model/tree_view.h"
#include "model/user_prompts.h"
#include "store/tree_doc.h"
#include "ui/message_box.h"
#include "ui/tool_window_target.h"

class QHBoxLayout;
class QMenu;
class QTimer;
class QToolButton;

namespace vetra {

class TForm_Main_Vetra;
class TImage_View;
class TUndo_Group;
class TView_Tabs;

// A document window: one tree document shown in views with tabs, edited with
// mouse and keys. The main frame calls its command slots by name (the frame's
// menu item name plus "Click").
class TForm_Qo_Tree : public QWidget,
                      public TTree_Editor_Host,
                      public TFile_Name_Prompt,
                      public TTool_Window_Target {
    Q_OBJECT
  public:
    static constexpr int kMax_Views = 100;

    // An empty document when `path` is empty, else the file opened; null
    // (after the warning "無法打開文件 %s") when it cannot be read.
    static TForm_Qo_Tree* create(TForm_Main_Vetra& frame, const QString& path);
    // A window for a document made from a subtree: it takes the tree over.
    static TForm_Qo_Tree* adopt(TForm_Main_Vetra& frame, std::unique_ptr<TTree_Doc> source);
    ~TForm_Qo_Tree() override;

    Q_INVOKABLE QString fileName() const;
    // The save prompt; true when the window may close.
    Q_INVOKABLE bool closeQuery();
    Q_INVOKABLE bool hasUndoHistory() const;
    Q_INVOKABLE bool hasRedoHistory() const;

    TTree_Doc& document() override { return *Doc_; }
    TImage_View* imageView() const { return Image_View_; }
    TView_List& views() { return Views_; }
    TNode_View* currentView() const { return Views_.current(); }
    TTree_Node* currentRoot() const { return Current_.Root; }
    // The node commands act on: the one selected visible node, if exactly one.
    TTree_Node* selectedNode() const;
    QString windowCaption() const;
    // Tab captions in order, and the index of the current view.
    QStringList tabCaptions() const;
    int currentViewIndex() const;
    void switchToView(int index);
    // Box position of `node` in viewport coordinates.
    QPoint viewportPositionOf(const TTree_Node& node) const;

    void focusView();
    void captionCommitted();
    // The window's key handling (the keys reach it before any control). False
    // for a key it does not handle, which then goes on (Page Up scrolls).
    bool FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void FormKeyUp(int key, Qt::KeyboardModifiers modifiers);

    // TTree_Editor_Host, TTool_Window_Target
    void refreshView() override { refresh(); }
    void noteNodeChange(const TTree_Node& node) override { Layout_Changes_.add(&node); }
    TTree_Node& viewRoot() override { return *Current_.Root; }
    const TView_Picture& viewPicture() override;
    void revealNode(TTree_Node& node, bool relayout) override;
    void showStatusMessage(const QString& text) override;
    TView_Scroll viewScroll() override;
    void setViewScroll(int32_t x, int32_t y) override;
    int32_t outerWidth() override { return width(); }
    int32_t outerHeight() override { return height(); }
    std::string& searchText() override { return Search_Text_; }
    void makeVisible(TTree_Node& node) override;
    // Scrolls the node's box to the middle of the visible area.
    void centreOn(const TTree_Node& node);
    // The zoom in percent, 10 to 400; the drawing keeps the picture point
    // under `anchor` (viewport coordinates) in place.
    int zoomPercent() const;
    void setZoomPercent(int percent, QPoint anchor);
    void openCaptionEditor(TTree_Node& node) override;
    void commitCaptionEditor() override;
    void closeViewsOf(const TTree_Node& node, bool wholeSubtree) override;
    void showMainView() override;
    // TFile_Name_Prompt
    std::optional<std::string> askSaveFileName(std::string_view proposedName) override;

  public slots:
    void refresh();
    // The window became the active one (or the application was activated or
    // deactivated while it was): the view root is cut from its parent again
    // and the activation time taken for the Tab guard.
    void activated();
    void N_CreateClick();
    void N_EditClick();
    void N_Link_UrlClick();
    void N_Create_ParentClick();
    void N_Erase_ParentClick();
    void N_Expand_SwitchClick();
    void N_New_Node_ViewClick();
    void N_Expand_To_1Click() { expandTo(1); }
    void N_Expand_To_2Click() { expandTo(2); }
    void N_Expand_To_3Click() { expandTo(3); }
    void N_Expand_To_4Click() { expandTo(4); }
    void N_Expand_To_5Click() { expandTo(5); }
    void N_UndoClick();
    void N_RedoClick();
    void N_CopyClick();
    void N_PasterClick();
    void N_EraseClick();
    void N_Move_UpClick();
    void N_Move_DownClick();
    void N_Create_From_SelectedClick();
    void N_Export_NodeClick();
    void N_Export_Node_And_SendClick();
    void N_Export_WordClick();
    void N_Export_PPTClick();
    // Writes the current view as an outline file (outline_commands.cpp).
    void N_Export_OutlineClick();
    void N_Node_Set_ColorClick();
    void N_SearchClick();
    void N_Search_NextClick();
    void N_Search_PreClick();
    void N_SaveClick();
    void N_Save_AsClick();
    void SpeedButton_Close_ViewClick();
    void N_Zoom_InClick();
    void N_Zoom_OutClick();
    void N_Zoom_ResetClick();
    void N_Zoom_FitClick();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    friend class TDocument_Window_Input;
    explicit TForm_Qo_Tree(TForm_Main_Vetra& frame);

    TEdit_Context editContext();
    void buildWindow();
    void buildPopupMenu();
    void addView(TTree_Node* root);
    void leaveCurrentView();
    void showCurrentView();
    void closeView(TNode_View* view);
    void restoreViewsFromFile(const std::vector<TTree_Node*>& viewRoots);
    std::vector<const TTree_Node*> viewRoots() const;
    void syncCurrentFromView();
    void syncViewFromCurrent();
    void updateCaption();
    void expandTo(int level);
    void runOfficeExport(bool presentation);
    bool runSave(bool saveAs);
    void openLink(const QString& link);
    // The node dialog on `node`; a confirmed dialog is applied with an undo step.
    void editInNodeDialog(TTree_Node& node);
    void applyNodeDialog(TTree_Node* node);
    void selectOnly(TTree_Node* node);
    // The style panel follows the first selected node. `onlySelected`, when
    // given, is known to be the one selected node (a key just moved the
    // mark), so the visible nodes are not searched again.
    void showSelectionInStylePanel(TTree_Node* onlySelected = nullptr);

    // Mouse handling, in picture coordinates.
    void Image_ViewMouseDown(QMouseEvent* event, QPoint at);
    void Image_ViewMouseMove(QMouseEvent* event, QPoint at);
    void Image_ViewMouseUp(QMouseEvent* event, QPoint at);
    void Image_ViewDblClick(QMouseEvent* event, QPoint at);
    void FormMouseWheel(QWheelEvent* event);
    // Dragging the empty background with the middle button pans the drawing.
    void startPanning(QMouseEvent* event, QPoint at);
    void updateHover(QPoint at);
    void hideHover();
    void repaintPictureArea(const TPicture_Rect& area);
    static TPicture_Rect selectionMarkArea(const TTree_Node& node);
    void scheduleMapRefresh();
    // The status bar follows the active window: node count (counted again
    // when `recount`), the selected node's path and the zoom.
    void showStatus(bool recount = false);
    // The same with the single selected node (or none) already known.
    void showStatusOf(TTree_Node* single, bool recount);
    // Lists for the next layout what taking `group` back changes.
    // Lists the parents of the selected nodes for the next layout.
    void listParentsOfSelected();
    void listChangesOf(TUndo_Group* group);
    void forgetInSavedStates(const TTree_Node& node, bool wholeSubtree);
    void paintBand(QPainter& painter);

    TForm_Main_Vetra& Frame_;
    TMessage_Box_Messages Messages_;
    std::unique_ptr<TTree_Doc> Doc_;
    std::unique_ptr<TCanvas> Metrics_;
    TView_List Views_;
    TCurrent_View Current_;
    TText_Measure_Cache Measures_;
    // The nodes the running command changed, when it names them: the next
    // refresh lays out just those. A command that names none gets a full
    // layout. Cleared after every layout and at the end of those commands.
    TLayout_Changes Layout_Changes_;
    const TTree_Node* Laid_Out_Root_ = nullptr;  // the view root of the last layout
    bool Resized_Only_ = false;  // the refresh is for a new size of the drawing alone
    TImage_View* Image_View_ = nullptr;
    TView_Tabs* Tabs_ = nullptr;
    QToolButton* Image_Genius_ = nullptr;
    QMenu* PopupMenu_Node_ = nullptr;
    QTimer* Map_Refresh_Timer_ = nullptr;

    TTree_Node* Node_At_Press_ = nullptr;
    bool Left_Pressed_ = false;
    bool Dragging_ = false;
    bool Drop_Accepted_ = false;
    QPoint Band_Start_, Band_End_;
    bool Band_Drawn_ = false;
    bool Panning_ = false;
    QPoint Pan_Origin_, Pan_Scroll_;
    TTree_Node* Edit_Button_Node_ = nullptr;
    qint64 Activation_Tick_ = 0;
    std::string Search_Text_;
    int64_t Node_Count_ = 0;
    // The shape change count and the root the node count was taken at.
    uint64_t Counted_Shape_ = 0;
    const TTree_Node* Counted_Root_ = nullptr;
    // Set by a key that moved the mark to one node; read and cleared by the
    // key's own handler right after.
    TTree_Node* Only_Selected_After_Key_ = nullptr;
};

// Makes document windows for the main frame.
QWidget* createDocumentWindow(TForm_Main_Vetra& frame, const QString& path);

}  // namespace vetra
