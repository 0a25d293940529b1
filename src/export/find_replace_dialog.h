#pragma once

#include <QDialog>

class QLineEdit;
class QCheckBox;

namespace vetra {

// The note editor's find and replace dialogs: modeless, kept for the run.
// With `withReplace` the dialog also has the replacement text and the
// replace and replace-all buttons.
class TFind_Dialog : public QDialog {
    Q_OBJECT
  public:
    TFind_Dialog(QWidget* parent, bool withReplace);

    QString findText() const;
    QString replaceText() const;

  signals:
    void findNext();
    void replaceOne();
    void replaceAll();

  private:
    QLineEdit* Edit_Find = nullptr;
    QLineEdit* Edit_Replace = nullptr;
    // Shown as the platform dialog shows it; the search is always
    // case-sensitive whatever it says.
    QCheckBox* Check_Case = nullptr;
};

}  // namespace vetra
