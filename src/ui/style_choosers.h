#pragma once

#include <QFrame>
#include <QPixmap>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

class QToolButton;

namespace vetra {

class TColor_Swatch;

// A chooser of the style panel: a small raised frame of picture buttons,
// hidden until opened. Choosing an entry reports its value and leaves the
// chooser open.
class TOption_Chooser : public QFrame {
    Q_OBJECT
  public:
    struct TEntry {
        const char* name;  // object name suffix and tool tip, e.g. "Tree_Main"
        int32_t value;
        QPixmap picture;
    };
    TOption_Chooser(QWidget* parent, const QString& namePrefix, std::vector<TEntry> entries,
                    int columns, QSize buttonSize);

    // The entry button that gives `value`, or null.
    QToolButton* buttonFor(int32_t value) const;

  signals:
    void chosen(int32_t value);
    // The mouse left the chooser (the view style chooser closes then).
    void left();

  protected:
    void leaveEvent(QEvent* event) override;
    // Presses inside a chooser stay there: the panel behind closes choosers.
    void mousePressEvent(QMouseEvent* event) override;

  private:
    std::vector<std::pair<int32_t, QToolButton*>> Buttons_;
};

// The colour chooser: two rows of sixteen swatches. " A" gives Auto (-1);
// " U" asks for a colour of the user's own with the colour dialog and, when
// one is accepted, takes it as its own colour and gives it.
class TColor_Chooser : public QFrame {
    Q_OBJECT
  public:
    static constexpr int kPer_Row = 16;
    static const std::array<int32_t, 2 * kPer_Row> kColors;  // [0] Auto, [16] the user's

    explicit TColor_Chooser(QWidget* parent);

    // Swatch `index` (0..31): 0 is " A", 16 is " U".
    TColor_Swatch* swatch(int index) const { return Swatches_[static_cast<size_t>(index)]; }
    // The plain swatch of this colour (neither " A" nor " U"), or -1.
    int indexOf(int32_t color) const;

  signals:
    void chosen(int32_t color);

  protected:
    void mousePressEvent(QMouseEvent* event) override;

  private:
    void pickUserColor();

    std::array<TColor_Swatch*, 2 * kPer_Row> Swatches_{};
};

}  // namespace vetra
