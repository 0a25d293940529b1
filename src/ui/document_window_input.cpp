// Keys and mouse of the document window.
#include <QDateTime>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolButton>
#include <utility>

#include "layout/hit_test.h"
#include "layout/layout_engine.h"
#include "layout/navigation.h"
#include "layout/view_hover.h"
#include "model/tree_commands.h"
#include "ui/caption_editor.h"
#include "ui/document_window.h"
#include "ui/image_view.h"

namespace vetra {

bool TForm_Qo_Tree::eventFilter(QObject* watched, QEvent* event) {
    // The window sees every key of the drawing before anything else, Tab
    // included (which would otherwise move the focus).
    if (watched == Image_View_->viewport() || watched == Image_View_) {
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            // Tab never moves the focus out of the drawing.
            Only_Selected_After_Key_ = nullptr;
            bool handled = FormKeyDown(key->key(), key->modifiers()) || key->key() == Qt::Key_Tab;
            showSelectionInStylePanel(std::exchange(Only_Selected_After_Key_, nullptr));
            return handled;
        }
        if (event->type() == QEvent::KeyRelease) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (!key->isAutoRepeat()) FormKeyUp(key->key(), key->modifiers());
            showSelectionInStylePanel();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TForm_Qo_Tree::keyPressEvent(QKeyEvent* event) {
    FormKeyDown(event->key(), event->modifiers());
}

void TForm_Qo_Tree::keyReleaseEvent(QKeyEvent* event) {
    FormKeyUp(event->key(), event->modifiers());
}

bool TForm_Qo_Tree::FormKeyDown(int key, Qt::KeyboardModifiers modifiers) {
    if (Current_.Root == nullptr) return false;
    TFirst_Selected first = firstSelected(*Current_.Root);
    TTree_Node* single = first.count == 1 ? first.node : nullptr;
    bool ctrl = modifiers & Qt::ControlModifier;
    bool keypad = modifiers & Qt::KeypadModifier;
    TTree_Node* target = nullptr;
    switch (key) {
        case Qt::Key_Backspace:
            if (ctrl) N_UndoClick();
            return true;
        case Qt::Key_U:
        case Qt::Key_D:
            // The pop-up menu's move keys work while the drawing has the focus.
            if (!ctrl) return false;
            key == Qt::Key_U ? N_Move_UpClick() : N_Move_DownClick();
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            N_EditClick();
            return true;
        case Qt::Key_Space:
            N_Expand_SwitchClick();
            return true;
        case Qt::Key_Home:
        case Qt::Key_H:
            target = Current_.Root;
            break;
        case Qt::Key_Left:
            if (single != nullptr) target = Node_Left(single);
            break;
        case Qt::Key_Right:
            if (single != nullptr) target = Node_Right(single);
            break;
        case Qt::Key_Up:
            if (ctrl) {
                N_Move_UpClick();
                return true;
            }
            if (single != nullptr) target = Node_Up(single);
            break;
        case Qt::Key_Down:
            if (ctrl) {
                N_Move_DownClick();
                return true;
            }
            if (single != nullptr) target = Node_Down(single);
            break;
        case Qt::Key_P:
            if (single != nullptr) target = single->Parent;
            break;
        case Qt::Key_S:
            if (single != nullptr && single->hasChildren()) target = single->child(0);
            break;
        case Qt::Key_Insert:
            N_CreateClick();
            return true;
        case Qt::Key_Delete:
            N_EraseClick();
            return true;
        case Qt::Key_1:
        case Qt::Key_2:
        case Qt::Key_3:
        case Qt::Key_4:
        case Qt::Key_5:
            if (keypad) return false;
            expandTo(key - Qt::Key_0);
            return true;
        case Qt::Key_Plus:
        case Qt::Key_Minus:
            // Without a selected node the keypad keys go on.
            if (!keypad || first.node == nullptr) return false;
            first.node->Expanded = key == Qt::Key_Plus ? 1 : 0;
            refresh();
            return true;
        default:
            return false;
    }
    if (target == nullptr) return true;
    if (first.count == 1) {
        // The mark moves from one node to another: only those two boxes are
        // painted again, not the whole visible area.
        Current_.Root->clearSelection();
        target->setSelected(true);
        repaintPictureArea(selectionMarkArea(*first.node));
        repaintPictureArea(selectionMarkArea(*target));
    } else {
        selectOnly(target);
    }
    makeVisible(*target);
    Only_Selected_After_Key_ = target;
    return true;
}

void TForm_Qo_Tree::FormKeyUp(int key, Qt::KeyboardModifiers modifiers) {
    if (key != Qt::Key_Tab || Current_.Root == nullptr) return;
    // The release of the Tab that switched to this window must not add a node.
    if (QDateTime::currentMSecsSinceEpoch() - Activation_Tick_ < 500) return;
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier)) return;
    TTree_Node* parent = selectedNode();
    if (parent == nullptr) return;
    TEdit_Context ctx = editContext();
    Layout_Changes_.addChildList(parent);
    const bool ok = createChild(ctx);
    Layout_Changes_.clear();
    if (!ok) return;
    TTree_Node* created = parent->Children.last();
    selectOnly(created);
    Layout_Changes_.add(created);  // nothing changed since: a leaf is all there is to lay out
    refresh();
    openCaptionEditor(*created);
}

// --- mouse ------------------------------------------------------------------

void TForm_Qo_Tree::Image_ViewMouseDown(QMouseEvent* event, QPoint at) {
    if (event->button() == Qt::MiddleButton) {
        startPanning(event, at);
        return;
    }
    Node_At_Press_ = selectedNode();
    if (Dragging_) {
        Dragging_ = false;
        Image_View_->viewport()->unsetCursor();
    }
    hideHover();
    Left_Pressed_ = event->button() == Qt::LeftButton;
    if (!Left_Pressed_) return;
    TNode_Hit hit = hitSubtree(*Current_.Root, at.x(), at.y());
    Band_Start_ = Band_End_ = at;
    if (hit.node != nullptr && hit.node->selected()) return;  // a drag may follow
    if (hit.node == nullptr) commitCaptionEditor();
    Current_.Root->clearSelection();
    Band_Drawn_ = true;
    Image_View_->viewport()->update();
}

void TForm_Qo_Tree::Image_ViewMouseMove(QMouseEvent* event, QPoint at) {
    if (Panning_) {
        QPoint moved = event->position().toPoint() - Pan_Origin_;
        Image_View_->setScroll(Pan_Scroll_.x() - moved.x(), Pan_Scroll_.y() - moved.y());
        return;
    }
    if (!(event->buttons() & Qt::LeftButton) || !Left_Pressed_) {
        updateHover(at);
        return;
    }
    if (Dragging_) {
        TNode_Hit hit = hitSubtree(*Current_.Root, at.x(), at.y());
        TEdit_Context ctx = editContext();
        Drop_Accepted_ = hit.node != nullptr && canDropOnto(ctx, hit.node);
        Image_View_->viewport()->setCursor(Drop_Accepted_ ? Qt::DragMoveCursor
                                                          : Qt::ForbiddenCursor);
        return;
    }
    if (firstSelected(*Current_.Root).count == 0) {
        Band_End_ = at;
        Image_View_->viewport()->update();
        return;
    }
    if (hitSubtree(*Current_.Root, at.x(), at.y()).node == nullptr) return;
    Dragging_ = true;
    Drop_Accepted_ = false;
    Image_View_->viewport()->setCursor(Qt::ForbiddenCursor);
}

void TForm_Qo_Tree::Image_ViewMouseUp(QMouseEvent* event, QPoint at) {
    if (event->button() == Qt::MiddleButton && Panning_) {
        Panning_ = false;
        Image_View_->viewport()->unsetCursor();
        return;
    }
    if (event->button() != Qt::LeftButton || !Left_Pressed_) return;
    Left_Pressed_ = false;
    if (Dragging_) {
        Dragging_ = false;
        Image_View_->viewport()->unsetCursor();
        TNode_Hit hit = hitSubtree(*Current_.Root, at.x(), at.y());
        TEdit_Context ctx = editContext();
        if (hit.node != nullptr && canDropOnto(ctx, hit.node)) {
            // The dropped nodes leave their parents for the target.
            listParentsOfSelected();
            Layout_Changes_.addChildList(hit.node);
            dropOnto(ctx, hit.node);
            Layout_Changes_.clear();
        }
        return;
    }
    hideHover();
    Band_Drawn_ = false;
    Current_.Root->clearSelection();
    selectInRectangle(*Current_.Root, Band_Start_.x(), Band_Start_.y(), Band_End_.x(),
                      Band_End_.y());
    Image_View_->viewport()->update();
    showSelectionInStylePanel();
    TTree_Node* node = selectedNode();
    if (node == nullptr) return;
    int32_t part = hitSubtree(*Current_.Root, at.x(), at.y()).part;
    TForm_Caption& editor = TForm_Caption::instance();
    if (part == kPart_Marker) {
        N_Expand_SwitchClick();
    } else if (part == kPart_Link) {
        N_Link_UrlClick();
    } else if (editor.isShownIn(this) || node == Node_At_Press_) {
        openCaptionEditor(*node);
    }
}

void TForm_Qo_Tree::Image_ViewDblClick(QMouseEvent*, QPoint) {
    if (selectedNode() != nullptr) N_EditClick();
}

void TForm_Qo_Tree::updateHover(QPoint at) {
    TView_Picture& picture = Image_View_->picture();
    // The button keeps its size on every zoom: its place is found in picture
    // coordinates with its size scaled back, then shown in the viewport.
    const double zoom = Image_View_->zoom();
    const int buttonWidth = static_cast<int>(Image_Genius_->width() / zoom);
    const int buttonHeight = static_cast<int>(Image_Genius_->height() / zoom);
    THover_Change change = vetra::updateHover(picture, *Current_.Root, at.x(), at.y(), 0, 0,
                                              buttonWidth, buttonHeight);
    if (!change.changed) return;
    repaintPictureArea(change.erased);
    repaintPictureArea(change.drawn);
    if (!change.showButton) return;
    Edit_Button_Node_ = picture.Hover_Node;
    QPoint place = Image_View_->toViewport(QPoint(change.buttonLeft, change.buttonTop));
    Image_Genius_->move(place);
    Image_Genius_->show();
}

void TForm_Qo_Tree::hideHover() {
    repaintPictureArea(eraseHover(Image_View_->picture()));
}

TPicture_Rect TForm_Qo_Tree::selectionMarkArea(const TTree_Node& node) {
    // The mark is drawn up to two pixels outside the box, with a pen that
    // widens with the zoom; eight pixels each way hold it.
    constexpr int32_t kMargin = 8;
    const TNode_Point at = absolutePosition(node);
    return {at.x - kMargin, at.y - kMargin, at.x + node.Layout.Box_Width + kMargin,
            at.y + node.Layout.Box_Height + kMargin};
}

void TForm_Qo_Tree::repaintPictureArea(const TPicture_Rect& area) {
    if (area.left >= area.right || area.top >= area.bottom) return;
    Image_View_->repaintPictureRect(
        QRect(QPoint(area.left, area.top), QPoint(area.right, area.bottom)));
}

void TForm_Qo_Tree::paintBand(QPainter& painter) {
    if (!Band_Drawn_ || Band_Start_ == Band_End_) return;
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    QPen pen(QColor(0xD2, 0xEA, 0xC8), 1);
    pen.setCosmetic(true);  // one pixel wide on every zoom
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(Band_Start_, Band_End_).normalized());
    painter.restore();
}

}  // namespace vetra
