#pragma once

#include <QString>
#include <cstdint>
#include <vector>

class QMainWindow;
class QWidget;

namespace vetra {

class TTree_Node;

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
