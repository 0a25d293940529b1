#pragma once

#include <QDialog>
#include <array>

namespace vetra {

class TOptions;
class TColor_Swatch;

// "選項設置": the drawing background, the note background and the four level
// colours. OK copies the six colours into the options and saves them.
class TForm_Option : public QDialog {
    Q_OBJECT
  public:
    TForm_Option(TOptions& options, QWidget* parent);

  public slots:
    void Button_OkClick();

  private:
    TOptions& Options_;
    std::array<TColor_Swatch*, 6> Swatches_{};
};

}  // namespace vetra
