#include "ui/document_window.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QFileDialog>
#include <QMenu>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <unordered_set>

#include "layout/hit_test.h"
#include "layout/layout_engine.h"
#include "model/tree_shape.h"
#include "store/options.h"
#include "ui/caption_editor.h"
#include "ui/dialog_script.h"
#include "ui/form_edit_node.h"
#include "ui/form_map.h"
#include "ui/form_node_style.h"
#include "ui/image_view.h"
#include "ui/main_frame.h"
#include "ui/qpainter_canvas.h"
#include "ui/search_commands.h"
#include "ui/status_line.h"
#include "ui/ui_text.h"
#include "ui/view_tabs.h"

namespace vetra {
namespace {

int Window_Serial = 0;

}  // namespace

QWidget* createDocumentWindow(TForm_Main_Vetra& frame, const QString& path) {
    return TForm_Qo_Tree::create(frame, path);
}

TForm_Qo_Tree* TForm_Qo_Tree::create(TForm_Main_Vetra& frame, const QString& path) {
    auto* window = new TForm_Qo_Tree(frame);
    if (path.isEmpty()) {
        window->addView(window->Doc_->root());
        saveViewState(*window->Views_.current());
        window->showCurrentView();
        return window;
    }
    std::vector<TTree_Node*> roots;
    TRead_Error error = TRead_Error::None;
    if (!window->Doc_->open(path.toStdString(), roots, error)) {
        // The document itself has warned about a newer version.
        if (error == TRead_Error::NotADocument)
            message_box::warning(&frame, "不是樹文檔 %s", {path});
        else if (error != TRead_Error::NewerVersion)
            message_box::warning(&frame, "無法打開文件 %s", {path});
        delete window;
        return nullptr;
    }
    window->restoreViewsFromFile(roots);
    return window;
}

TForm_Qo_Tree* TForm_Qo_Tree::adopt(TForm_Main_Vetra& frame, std::unique_ptr<TTree_Doc> source) {
    auto* window = new TForm_Qo_Tree(frame);
    // The tree moves into the window's own document, which reports through
    // this window's message boxes.
    window->Doc_->Root = std::move(source->Root);
    window->Doc_->Root->Parent = nullptr;
    window->Doc_->Modified = source->Modified;
    window->addView(window->Doc_->root());
    saveViewState(*window->Views_.current());
    window->showCurrentView();
    return window;
}

TForm_Qo_Tree::TForm_Qo_Tree(TForm_Main_Vetra& frame)
    : Frame_(frame),
      Messages_(this),
      Doc_(std::make_unique<TTree_Doc>(Messages_, &frame.options())),
      Metrics_(std::make_unique<TQPainter_Canvas>()) {
    setObjectName(QString("Form_Qo_Tree%1").arg(++Window_Serial));
    setAttribute(Qt::WA_DeleteOnClose);
    buildWindow();
    buildPopupMenu();
    Map_Refresh_Timer_ = new QTimer(this);
    Map_Refresh_Timer_->setSingleShot(true);
    Map_Refresh_Timer_->setInterval(40);
    connect(Map_Refresh_Timer_, &QTimer::timeout, this, [this] {
        refreshMapFrom(this);
        showStatus();
    });
    Activation_Tick_ = QDateTime::currentMSecsSinceEpoch();
}

TForm_Qo_Tree::~TForm_Qo_Tree() {
    TForm_Caption::instance().forgetOwner(this);
    // The document's nodes go with Doc_; the views only point at them.
    if (Current_.Root != nullptr) Current_.restoreParentLink();
}

void TForm_Qo_Tree::buildWindow() {
    Tabs_ = new TView_Tabs(this);
    Image_View_ = new TImage_View(this);
    Image_View_->setBackground(Frame_.options().Tree_Design_Color);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Tabs_);
    layout->addWidget(Image_View_, 1);

    Image_Genius_ = new QToolButton(Image_View_->viewport());
    Image_Genius_->setObjectName("Image_Genius");
    Image_Genius_->setAutoRaise(true);
    Image_Genius_->setFixedSize(33, 25);
    Image_Genius_->setText("✎");
    Image_Genius_->setToolTip(uiText("編輯節點"));
    Image_Genius_->setFocusPolicy(Qt::NoFocus);
    Image_Genius_->hide();
    connect(Image_Genius_, &QToolButton::clicked, this, [this] {
        if (Edit_Button_Node_ != nullptr && isInSubtree(Current_.Root, Edit_Button_Node_)) {
            selectOnly(Edit_Button_Node_);
            N_EditClick();
        }
    });

    Image_View_->onPress = [this](QMouseEvent* e, QPoint at) { Image_ViewMouseDown(e, at); };
    Image_View_->onMove = [this](QMouseEvent* e, QPoint at) { Image_ViewMouseMove(e, at); };
    Image_View_->onRelease = [this](QMouseEvent* e, QPoint at) { Image_ViewMouseUp(e, at); };
    Image_View_->onDoubleClick = [this](QMouseEvent* e, QPoint at) { Image_ViewDblClick(e, at); };
    Image_View_->onWheel = [this](QWheelEvent* e) { FormMouseWheel(e); };
    Image_View_->onOverlay = [this](QPainter& painter) { paintBand(painter); };
    Image_View_->onResize = [this] {
        // A new size changes how far the picture reaches, never where the
        // nodes are: a view laid out before keeps its layout.
        Resized_Only_ = Laid_Out_Root_ == Current_.Root && Layout_Changes_.empty();
        refresh();
        Resized_Only_ = false;
    };
    Image_View_->viewport()->installEventFilter(this);
    Image_View_->installEventFilter(this);
    setFocusProxy(Image_View_->viewport());

    connect(Tabs_, &TView_Tabs::tabClicked, this, &TForm_Qo_Tree::switchToView);
    connect(Tabs_, &TView_Tabs::tabDoubleClicked, this, [this](int index) {
        switchToView(index);
        SpeedButton_Close_ViewClick();
    });
    connect(Tabs_, &TView_Tabs::newViewClicked, this, &TForm_Qo_Tree::N_New_Node_ViewClick);
    connect(Tabs_, &TView_Tabs::closeViewClicked, this,
            &TForm_Qo_Tree::SpeedButton_Close_ViewClick);
}

TEdit_Context TForm_Qo_Tree::editContext() {
    return TEdit_Context{*Doc_, Current_, *this, Messages_, nodeClipboard(), Frame_.defaultColor()};
}

QString TForm_Qo_Tree::fileName() const {
    return QString::fromStdString(Doc_->fileName());
}

bool TForm_Qo_Tree::hasUndoHistory() const {
    return Doc_->Undo.newest() != nullptr;
}

bool TForm_Qo_Tree::hasRedoHistory() const {
    return Doc_->Undo.redoCount() > 0;
}

TTree_Node* TForm_Qo_Tree::selectedNode() const {
    if (Current_.Root == nullptr) return nullptr;
    TFirst_Selected first = firstSelected(*Current_.Root);
    return first.count == 1 ? first.node : nullptr;
}

QString TForm_Qo_Tree::windowCaption() const {
    return "Vetra - " + nodeTextToQString(Doc_->root()->Caption.view()) + " - " + fileName();
}

void TForm_Qo_Tree::updateCaption() {
    // The title marks unsaved changes the Qt way; a new document has no file
    // name to show after the caption.
    QString title = "Vetra - " + nodeTextToQString(Doc_->root()->Caption.view());
    if (!fileName().isEmpty()) title += " - " + fileName();
    setWindowTitle(title + "[*]");
    setWindowModified(Doc_->Modified != 0);
    Tabs_->setTabs(tabCaptions(), currentViewIndex());
}

QStringList TForm_Qo_Tree::tabCaptions() const {
    QStringList captions;
    for (int32_t i = 0; i < Views_.count(); ++i)
        captions << nodeTextToQString(Views_.view(i)->Root->Caption.view());
    return captions;
}

int TForm_Qo_Tree::currentViewIndex() const {
    for (int32_t i = 0; i < Views_.count(); ++i)
        if (Views_.view(i) == Views_.current()) return i;
    return -1;
}

QPoint TForm_Qo_Tree::viewportPositionOf(const TTree_Node& node) const {
    TNode_Point at = absolutePosition(node);
    return Image_View_->toViewport(QPoint(at.x, at.y));
}

void TForm_Qo_Tree::focusView() {
    Image_View_->viewport()->setFocus();
}

// --- views ---------------------------------------------------------------

void TForm_Qo_Tree::addView(TTree_Node* root) {
    bool created = false;
    Views_.newView(root, &created);
}

void TForm_Qo_Tree::syncCurrentFromView() {
    TNode_View* view = Views_.current();
    Current_.Root = view->Root;
    Current_.Saved_Parent = view->Saved_Parent;
    Current_.Is_Main_View = view == Views_.view(0);
    Image_View_->setRoot(view->Root);
}

void TForm_Qo_Tree::syncViewFromCurrent() {
    TNode_View* view = Views_.current();
    // Before the first showing the command view holds nothing yet.
    if (view == nullptr || Current_.Root == nullptr) return;
    view->Root = Current_.Root;
    view->Saved_Parent = Current_.Saved_Parent;
    Image_View_->setRoot(Current_.Root);
}

void TForm_Qo_Tree::leaveCurrentView() {
    TNode_View* view = Views_.current();
    if (view == nullptr || Current_.Root == nullptr) return;
    TForm_Caption::instance().commit();
    TForm_Caption::instance().hideEditor();
    syncViewFromCurrent();
    const TView_Picture& picture = Image_View_->picture();
    leaveView(*view, Image_View_->scrollX(), Image_View_->scrollY(), picture.Width, picture.Height);
}

void TForm_Qo_Tree::showCurrentView() {
    TNode_View* view = Views_.current();
    // A sub-view's root may have moved (dropped elsewhere) since its view was
    // made; it is linked to its real parent while the view is not shown.
    if (view != Views_.view(0)) view->Saved_Parent = view->Root->Parent;
    showView(*view);
    syncCurrentFromView();
    // With nothing selected the keys would have nothing to act on: the view
    // root is selected, so Insert and Tab work at once.
    if (firstSelected(*Current_.Root).node == nullptr) Current_.Root->setSelected(true);
    refresh();
    Image_View_->setScroll(view->Scroll_X, view->Scroll_Y);
}

void TForm_Qo_Tree::switchToView(int index) {
    if (index < 0 || index >= Views_.count() || Views_.view(index) == Views_.current()) return;
    leaveCurrentView();
    Views_.setCurrent(Views_.view(index));
    showCurrentView();
}

void TForm_Qo_Tree::closeView(TNode_View* view) {
    if (view == Views_.current()) syncViewFromCurrent();
    Views_.closeView(view);
}

void TForm_Qo_Tree::restoreViewsFromFile(const std::vector<TTree_Node*>& viewRoots) {
    TTree_Node* root = Doc_->root();
    addView(root);
    root->Expanded = 1;
    saveViewState(*Views_.view(0));
    for (TTree_Node* node : viewRoots) {
        if (Views_.count() >= kMax_Views) break;
        if (Views_.findView(node) != nullptr) continue;
        addView(node);
        node->Expanded = 1;
        if (node != root) node->expandToLevel(4);
        saveViewState(*Views_.findView(node));
    }
    // Each view is shown once in turn, then the main view is made current.
    for (int32_t i = Views_.count(); i-- > 0;) {
        if (Views_.current() != nullptr && Views_.current() != Views_.view(i)) leaveCurrentView();
        Views_.setCurrent(Views_.view(i));
        showCurrentView();
    }
}

std::vector<const TTree_Node*> TForm_Qo_Tree::viewRoots() const {
    std::vector<const TTree_Node*> roots;
    for (int32_t i = 0; i < Views_.count(); ++i) roots.push_back(Views_.view(i)->Root);
    return roots;
}

void TForm_Qo_Tree::closeViewsOf(const TTree_Node& node, bool wholeSubtree) {
    TForm_Caption& editor = TForm_Caption::instance();
    if (wholeSubtree)
        editor.forgetSubtree(node);
    else if (editor.editedNode() == &node)
        editor.forgetSubtree(node);
    auto leaving = [&](const TTree_Node* candidate) {
        if (candidate == nullptr) return false;
        return candidate == &node || (wholeSubtree && isInSubtree(&node, candidate));
    };
    if (TForm_Edit_Node::exists()) TForm_Edit_Node::instance().forgetSubtree(node, wholeSubtree);
    if (leaving(Edit_Button_Node_)) Edit_Button_Node_ = nullptr;
    if (leaving(Node_At_Press_)) Node_At_Press_ = nullptr;
    if (leaving(Image_View_->picture().Hover_Node)) hideHover();
    for (int32_t i = Views_.count(); i-- > 1;) {
        TNode_View* view = Views_.view(i);
        if (view != Views_.current() && leaving(view->Root)) Views_.closeView(view);
    }
    forgetInSavedStates(node, wholeSubtree);
}

void TForm_Qo_Tree::showMainView() {
    if (Views_.count() == 0 || Views_.current() == Views_.view(0)) return;
    leaveCurrentView();
    Views_.setCurrent(Views_.view(0));
    showCurrentView();
}

void TForm_Qo_Tree::forgetInSavedStates(const TTree_Node& node, bool wholeSubtree) {
    // Views remember collapsed and selected nodes by address. A node that
    // leaves the tree may be freed later and its address reused by a new
    // node, which must not come up collapsed or selected: the leaving nodes
    // are dropped from every view's saved state now, while they are valid.
    std::unordered_set<const TTree_Node*> leaving{&node};
    if (wholeSubtree) {
        std::vector<const TTree_Node*> pending(node.Children.begin(), node.Children.end());
        while (!pending.empty()) {
            const TTree_Node* at = pending.back();
            pending.pop_back();
            leaving.insert(at);
            pending.insert(pending.end(), at->Children.begin(), at->Children.end());
        }
    }
    auto prune = [&](TPtr_Array<TTree_Node>& saved) {
        for (int32_t i = saved.count(); i-- > 0;)
            if (leaving.count(saved[i]) != 0) saved.removeAt(i);
    };
    for (int32_t i = 0; i < Views_.count(); ++i) {
        prune(Views_.view(i)->Saved_Selection);
        prune(Views_.view(i)->Saved_Collapsed);
    }
}

// --- refresh and scrolling ------------------------------------------------

void TForm_Qo_Tree::refresh() {
    if (Current_.Root == nullptr) return;
    syncViewFromCurrent();
    // The picture fills at least the visible area at the current zoom.
    QSize client = Image_View_->viewport()->size();
    const double zoom = Image_View_->zoom();
    const int32_t width = static_cast<int32_t>(client.width() / zoom);
    const int32_t height = static_cast<int32_t>(client.height() / zoom);
    if (Resized_Only_ || (!Layout_Changes_.empty() && Laid_Out_Root_ == Current_.Root))
        relayoutViewChanged(*Metrics_, *Current_.Root, Layout_Changes_, width, height,
                            Image_View_->picture(), &Measures_);
    else
        relayoutView(*Metrics_, *Current_.Root, width, height, Image_View_->picture(), &Measures_);
    Layout_Changes_.clear();
    Laid_Out_Root_ = Current_.Root;
    Image_View_->setBackground(Frame_.options().Tree_Design_Color);
    Image_View_->updateScrollRanges(false);
    Image_View_->repaintChanged();
    Image_Genius_->hide();
    updateCaption();
    scheduleMapRefresh();
}

void TForm_Qo_Tree::scheduleMapRefresh() {
    // The overview follows shortly after the view: a burst of keys redraws
    // the drawing at once and the map once, after the burst.
    if (!Map_Refresh_Timer_->isActive()) Map_Refresh_Timer_->start();
}

const TView_Picture& TForm_Qo_Tree::viewPicture() {
    return Image_View_->picture();
}

void TForm_Qo_Tree::revealNode(TTree_Node& node, bool relayout) {
    if (relayout)
        refresh();
    else
        Image_View_->viewport()->update();
    makeVisible(node);
    centreOn(node);
    showSelectionInStylePanel();
    scheduleMapRefresh();
}

TView_Scroll TForm_Qo_Tree::viewScroll() {
    auto bar = [](QScrollBar* scroll) {
        return TView_Scroll_Bar{scroll->isVisible() && scroll->maximum() > 0, scroll->value(),
                                scroll->maximum(), scroll->maximum() + scroll->pageStep()};
    };
    return {bar(Image_View_->horizontalScrollBar()), bar(Image_View_->verticalScrollBar())};
}

void TForm_Qo_Tree::setViewScroll(int32_t x, int32_t y) {
    Image_View_->setScroll(x, y);
    if (TNode_View* view = Views_.current()) {
        view->Scroll_X = Image_View_->scrollX();
        view->Scroll_Y = Image_View_->scrollY();
    }
}

void TForm_Qo_Tree::showSelectionInStylePanel(TTree_Node* onlySelected) {
    // One walk over the visible nodes serves both the panel and the status bar.
    TFirst_Selected first{onlySelected, 1};
    if (onlySelected == nullptr && Current_.Root != nullptr) first = firstSelected(*Current_.Root);
    showNodeInStylePanel(first.node);
    showStatusOf(first.count == 1 ? first.node : nullptr, false);
}

void TForm_Qo_Tree::showStatus(bool recount) {
    if (Current_.Root == nullptr || Frame_.activeDocumentWindow() != this) return;
    showStatusOf(selectedNode(), recount);
}

void TForm_Qo_Tree::showStatusOf(TTree_Node* single, bool recount) {
    if (Current_.Root == nullptr || Frame_.activeDocumentWindow() != this) return;
    // The count follows the shape of the tree; a selection move or a caption
    // edit leaves it as it was.
    if (recount || Node_Count_ == 0 || Counted_Shape_ != treeShapeChanges() ||
        Counted_Root_ != Doc_->root()) {
        Counted_Shape_ = treeShapeChanges();
        Counted_Root_ = Doc_->root();
        // A sub-view's root is cut from its parent while shown, so changes
        // in it have not reached the counts kept above it.
        if (Current_.Root != Doc_->root() && Current_.Saved_Parent != nullptr)
            Current_.Saved_Parent->forgetKeptCounts();
        Node_Count_ = Doc_->root()->countSubtree();
    }
    TDocument_Status status;
    status.nodes = Node_Count_;
    status.zoomPercent = zoomPercent();
    if (TTree_Node* node = single) {
        std::vector<const TTree_Node*> chain;
        for (const TTree_Node* at = node; at != nullptr; at = Current_.realParent(at))
            chain.insert(chain.begin(), at);
        status.path = captionPath(chain);
    }
    showDocumentStatus(this, status);
}

void TForm_Qo_Tree::showStatusMessage(const QString& text) {
    vetra::showStatusMessage(this, text);
}

void TForm_Qo_Tree::N_SearchClick() {
    searchWithDialog(this, *this);
}

void TForm_Qo_Tree::N_Search_NextClick() {
    searchNext(*this);
}

void TForm_Qo_Tree::N_Search_PreClick() {
    searchPrevious(*this);
}

void TForm_Qo_Tree::makeVisible(TTree_Node& node) {
    bool expanded = false;
    for (TTree_Node* up = node.Parent; up != nullptr; up = up->Parent) {
        if (!up->Expanded) {
            up->Expanded = 1;
            expanded = true;
        }
    }
    if (expanded) refresh();
    // In pixels of the zoomed picture, as the scroll bars count.
    QPoint at =
        Image_View_->toViewport(QPoint(absolutePosition(node).x, absolutePosition(node).y)) +
        QPoint(Image_View_->scrollX(), Image_View_->scrollY());
    QSize client = Image_View_->viewport()->size();
    int32_t x = Image_View_->scrollX();
    int32_t y = Image_View_->scrollY();
    if (at.x() > client.width() + x || at.x() < x) x = at.x() - 30;
    if (at.y() > client.height() + y || at.y() < y) y = at.y() - 30;
    Image_View_->setScroll(x, y);
}

void TForm_Qo_Tree::openCaptionEditor(TTree_Node& node) {
    TForm_Caption::instance().showFor(*this, node, viewportPositionOf(node), Image_View_->zoom());
}

void TForm_Qo_Tree::commitCaptionEditor() {
    TForm_Caption::instance().commit();
    TForm_Caption::instance().hideEditor();
}

void TForm_Qo_Tree::captionCommitted() {
    Doc_->Modified = 1;
    Layout_Changes_.add(TForm_Caption::instance().editedNode());
    refresh();
}

// --- files ----------------------------------------------------------------

std::optional<std::string> TForm_Qo_Tree::askSaveFileName(std::string_view proposedName) {
    QString name;
    if (TDialog_Script* script = TDialog_Script::active()) {
        name = script->takeAnswer().value_or(QString());
    } else {
        name =
            QFileDialog::getSaveFileName(this, QString(), nodeTextToQString(proposedName) + ".vt",
                                         uiText("Vetra文件") + " (*.vt)");
    }
    if (name.isEmpty()) return std::nullopt;
    if (!name.endsWith(".vt")) name += ".vt";
    return name.toStdString();
}

bool TForm_Qo_Tree::runSave(bool saveAs) {
    commitCaptionEditor();
    std::optional<std::string> name;
    if (saveAs) {
        name = askSaveFileName(Doc_->root()->Caption.view());
        if (!name) return false;
    }
    syncViewFromCurrent();
    Current_.restoreParentLink();
    bool saved = saveAs ? Doc_->saveAs(*name, viewRoots()) : Doc_->saveCommand(*this, viewRoots());
    Current_.cutParentLink();
    updateCaption();
    Frame_.rebuildRecentFiles();
    return saved;
}

void TForm_Qo_Tree::N_SaveClick() {
    runSave(false);
}

void TForm_Qo_Tree::N_Save_AsClick() {
    runSave(true);
}

bool TForm_Qo_Tree::closeQuery() {
    // The frame asks every window before it closes; it does not ask twice.
    if (property("closeQueryDone").toBool()) return true;
    commitCaptionEditor();
    std::string caption = windowCaption().toStdString();
    return Doc_->closeQuery(caption, [this] { runSave(false); });
}

void TForm_Qo_Tree::closeEvent(QCloseEvent* event) {
    if (!closeQuery()) {
        event->ignore();
        return;
    }
    TForm_Caption::instance().forgetOwner(this);
    event->accept();
}

void TForm_Qo_Tree::activated() {
    Activation_Tick_ = QDateTime::currentMSecsSinceEpoch();
    if (Current_.Root == nullptr) return;
    Current_.cutParentLink();
    scheduleMapRefresh();
}

void TForm_Qo_Tree::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange) activated();
    QWidget::changeEvent(event);
}

}  // namespace vetra
