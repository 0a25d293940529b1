#pragma once

#include <QDialog>
#include <QString>
#include <optional>

class QLineEdit;
class QPushButton;

namespace vetra {

// "節點搜索": asks for the text to search for. The OK button follows the field:
// it is enabled exactly when the text without surrounding blanks is not
// empty, from the first change on (an untouched field confirms an empty text,
// which finds the view root).
class TForm_Search : public QDialog {
    Q_OBJECT
  public:
    explicit TForm_Search(QWidget* parent);

    // A new dialog each time, shown modally: the text exactly as typed, or
    // none when cancelled. While a script runs, the next queued answer is the
    // confirmed text and no answer is a cancel.
    static std::optional<QString> ask(QWidget* parent);

    QLineEdit* Edit_To_Search = nullptr;
    QPushButton* Button_Ok = nullptr;
    QPushButton* Button2 = nullptr;

  private:
    void Edit_To_SearchChange();
};

}  // namespace vetra
