#pragma once

#include <QStringList>
#include <QWidget>

class QHBoxLayout;

namespace vetra {

// The strip above the drawing (`ScrollBox_Top`): one tab per view, left to
// right without gaps, the current one in red; on the right the buttons that
// open and close sub-views.
class TView_Tabs : public QWidget {
    Q_OBJECT
  public:
    explicit TView_Tabs(QWidget* parent);

    void setTabs(const QStringList& captions, int current);
    QStringList captions() const { return Captions_; }
    QWidget* tabPanel(int index) const;

  signals:
    void tabClicked(int index);
    void tabDoubleClicked(int index);
    void newViewClicked();
    void closeViewClicked();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* Tab_Area_ = nullptr;
    QList<QWidget*> Panels_;
    QStringList Captions_;
};

}  // namespace vetra
