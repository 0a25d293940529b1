#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>
#include <vector>

class QMainWindow;

namespace vetra {

class TTree_Node;

// A text of the status bar, one line. Unlike a label, a new text only
// repaints it and never makes the frame lay out its bars again, which every
// key that moves the selection or changes the node count would do. The path
// takes the room left and is cut with an ellipsis where it does not fit
// (`fitted` false); the count and the zoom are as wide as their texts, and
// only a text of another width lays the bar out again.
class TStatus_Text : public QWidget {
    Q_OBJECT
  public:
    TStatus_Text(QWidget* parent, bool fitted) : QWidget(parent), Fitted_(fitted) {}
    const QString& text() const { return Text_; }
    void setText(const QString& text);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString Text_;
    bool Fitted_;
};

// The main frame's status bar: the number of nodes of the active document,
// the captions on the way from its root to the selected node, the zoom, and
// short messages that go away by themselves.
void installStatusLine(QMainWindow& frame);

struct TDocument_Status {
    int64_t nodes = 0;
    QString path;  // empty when no single node is selected
    int zoomPercent = 100;
};
void showDocumentStatus(QWidget* inFrame, const TDocument_Status& status);
// A short message (a search without a match). Scripts print it as
// "message: status: TEXT".
void showStatusMessage(QWidget* inFrame, const QString& text);

// The captions of `chain` (root first), joined by " › ", long ones shortened.
QString captionPath(const std::vector<const TTree_Node*>& chain);

}  // namespace vetra
