#pragma once

#include <QDialog>
#include <QPixmap>

class QLabel;

namespace vetra {

// The about box: the program's icon, product name and version, the available
// physical memory and the system line. A fixed modal dialog made for each use.
class TForm_Qo_About : public QDialog {
    Q_OBJECT
  public:
    explicit TForm_Qo_About(QWidget* parent = nullptr);

    // The texts of the box, top to bottom, one a line (for scripts).
    QString summary() const;

  private:
    QLabel* Label_Product = nullptr;
    QLabel* Label_Version = nullptr;
    QLabel* Label_Memory = nullptr;
    QLabel* Label_OSInfo = nullptr;
};

// The program's icon (a root box joined to three children), drawn at `size`.
QPixmap applicationIconPixmap(int size);

}  // namespace vetra
