#pragma once

#include <QLabel>
#include <QWidget>
#include <array>
#include <cstdint>
#include <optional>

namespace vetra {

// One colour cell of the palette strip; reports clicks and double clicks.
class TColor_Swatch : public QLabel {
    Q_OBJECT
  public:
    explicit TColor_Swatch(QWidget* parent);
    int32_t color() const { return Color_; }
    void setColor(int32_t bgr);

  signals:
    void clicked();
    void doubleClicked();

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    int32_t Color_ = 0;
};

// The palette strip on the tool bar (`ScrollBox_Color`): ten predefined
// swatches, the current node's colour "+" and the default colour "U" that
// new nodes receive.
class TColor_Palette : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kSwatches = 10;

    explicit TColor_Palette(QWidget* parent);

    int32_t defaultColor() const;
    void setDefaultColor(int32_t bgr);
    int32_t swatchColor(int index) const;
    void setSwatchColor(int index, int32_t bgr);
    void setSelectedColor(int32_t bgr);

  signals:
    // The default colour changed by a click: apply it to the selected nodes.
    void applyToSelection(int32_t bgr);
    // A colour was chosen in the colour dialog: the options must be saved.
    void colorsEdited();

  private:
    void editColor(TColor_Swatch* swatch);

    std::array<TColor_Swatch*, kSwatches> Swatches_{};
    TColor_Swatch* Selected_Color_ = nullptr;
    TColor_Swatch* User_Def_Color_ = nullptr;
};

// Asks for a colour: the colour dialog, or the next queued answer (0xBBGGRR)
// while a script runs. Empty when cancelled.
std::optional<int32_t> askColor(QWidget* parent, int32_t initial);

}  // namespace vetra
