#pragma once

#include <QImage>
#include <QWidget>
#include <cstdint>

#include "ui/map_render.h"
#include "ui/tool_window_target.h"

namespace vetra {

class TOptions;

// `Image_Map`: the map picture filling the map window; a cross cursor, or the
// pointing hand while follow mode is on.
class TMap_Image : public QWidget {
    Q_OBJECT
  public:
    explicit TMap_Image(QWidget* parent);
    QImage Picture;

  signals:
    void clicked();
    void moved(QPoint at);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
};

// "縮略圖": the overview map, a small tool window kept above the main window.
// It shows the whole picture of the active document window's current view
// stretched to its size and, in follow mode, scrolls that window to the
// place under the mouse. There is one per run (`instance()`).
class TForm_Map : public QWidget {
    Q_OBJECT
  public:
    // Placed and sized from the options (map_x, map_y, map_width,
    // map_height); the background is the drawing background of the options
    // at this moment. The caller shows it when the options say so.
    TForm_Map(TOptions& options, TTarget_Provider activeTarget, QWidget* parent);
    ~TForm_Map() override;

    // The map of this run, or null before it is made.
    static TForm_Map* instance();
    // Where the active document window comes from; empty: there is none.
    void setTargetProvider(TTarget_Provider activeTarget) {
        Active_Target_ = std::move(activeTarget);
    }

    // Redraws the map from the window's current view (the background alone
    // for null). The document window calls it after each repaint, when it
    // becomes active and after a node is repainted in place.
    void refreshFrom(TTool_Window_Target* target);

    bool followMode() const { return Follow_Mode_; }
    // A click on the map toggles it; activation of the map turns it off.
    void setFollowMode(bool on);
    // Scrolls the active document window so that the point at fractions
    // (fx, fy) of the map comes to the middle of that window. False when
    // there is no document window.
    bool followScroll(double fx, double fy);

    // N_Map: shows or hides the map and keeps the visibility in the options,
    // saved at once.
    void toggle();
    // Copies the map's place, size and visibility into the options (not saved).
    void storePlace();

    int32_t background() const { return Background_; }
    void setDetail(TMap_Detail detail) { Detail_ = detail; }

    TMap_Image* Image_Map = nullptr;

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    TTool_Window_Target* activeTarget() const {
        return Active_Target_ ? Active_Target_() : nullptr;
    }

    TOptions& Options_;
    TTarget_Provider Active_Target_;
    int32_t Background_;
    bool Follow_Mode_ = false;
    TMap_Detail Detail_ = TMap_Detail::Automatic;
};

// The document window's "refresh the overview" call: does nothing while there
// is no map window.
void refreshMapFrom(TTool_Window_Target* target);

}  // namespace vetra
