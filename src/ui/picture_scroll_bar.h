#pragma once

#include <QRect>
#include <QScrollBar>

namespace vetra {

// A scroll bar that repaints only when what it shows changes. The drawing's
// size changes with almost every edit, and a range change repaints the whole
// bar, although on a large picture the slider stays on the same pixels.
class TPicture_Scroll_Bar : public QScrollBar {
  public:
    TPicture_Scroll_Bar(Qt::Orientation orientation, QWidget* parent);

  protected:
    void sliderChange(SliderChange change) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    struct TShown {
        QRect slider;
        bool enabled = false, atMinimum = false, atMaximum = false;
        friend bool operator==(const TShown&, const TShown&) = default;
    };
    TShown shownNow() const;

    TShown Painted_;
    bool Painted_Once_ = false;
};

}  // namespace vetra
