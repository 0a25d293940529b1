#pragma once

#include <QAbstractScrollArea>
#include <functional>

#include "layout/paint_record.h"
#include "layout/view_paint.h"
#include "ui/shaped_text_cache.h"

namespace vetra {

class TTree_Node;

// The drawing of the current view in a scroll area (`ScrollBox_Base`, with
// `Image_View` as its viewport). The picture is virtual: the scroll bars span
// its logical size and a paint draws only the exposed rectangle from the
// nodes, so a drawing of any size costs one screen.
class TImage_View : public QAbstractScrollArea {
    Q_OBJECT
  public:
    explicit TImage_View(QWidget* parent);

    void setRoot(TTree_Node* root) {
        if (root != Root_) Painted_.clear();
        Root_ = root;
    }
    TView_Picture& picture() { return Picture_; }
    void setBackground(int32_t color) { Background_ = color; }
    int32_t background() const { return Background_; }

    // Scroll bars follow the picture size; call after every layout. Repaints
    // the whole visible area unless told that the caller repaints what
    // changed (repaintChanged).
    void updateScrollRanges(bool repaintAll = true);
    // After an edit: repaints only where the drawing differs from what was
    // painted (nodes changed, moved, added or gone); the whole view at a
    // zoom that puts the drawing between device pixels.
    void repaintChanged();
    // Repaints a rectangle of the picture (a mark that moved).
    void repaintPictureRect(const QRect& pictureRect);
    // The scroll position, in pixels of the zoomed picture.
    int32_t scrollX() const;
    int32_t scrollY() const;
    void setScroll(int32_t x, int32_t y);
    // The drawing is shown scaled by the zoom (1.0 shows it as laid out).
    double zoom() const { return Zoom_; }
    void setZoom(double zoom) { Zoom_ = zoom; }
    // Picture coordinates of a viewport point, and back.
    QPoint toPicture(QPoint viewportPoint) const;
    QPoint toViewport(QPoint picturePoint) const;
    QRect toViewport(const QRect& pictureRect) const;

    // Mouse and key events in picture coordinates, for the document window.
    std::function<void(QMouseEvent*, QPoint)> onPress, onMove, onRelease, onDoubleClick;
    std::function<void(QWheelEvent*)> onWheel;
    // The visible area changed size: the picture is at least that big and
    // keeps the drawing centred, so the window lays out again.
    std::function<void()> onResize;
    // Extra drawing over the nodes (rubber band), in picture coordinates.
    std::function<void(QPainter&)> onOverlay;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    // Whether the drawing lands on whole device pixels (a zoom of 100 %,
    // 200 %, ...), where a part painted alone matches a whole repaint.
    bool scaleIsWhole() const;
    // What every node's drawing depends on besides the node.
    uint64_t sceneDigest() const;
    // The picture rectangle of a viewport rectangle.
    TPicture_Rect pictureRectOf(const QRect& viewportRect) const;

    TTree_Node* Root_ = nullptr;
    TPaint_Record Painted_;
    TShaped_Text_Cache Shaped_;
    TView_Picture Picture_;
    int32_t Background_ = 0xF9F4F3;
    double Zoom_ = 1.0;
};

}  // namespace vetra
