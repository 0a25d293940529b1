#include "ui/status_line.h"

#include <QMainWindow>
#include <QPainter>
#include <QStatusBar>

#include "model/tree_node.h"
#include "ui/dialog_script.h"
#include "ui/ui_text.h"

namespace vetra {
namespace {

constexpr int kMessage_Milliseconds = 6000;
constexpr int kCaption_Shown = 24;  // characters of each caption in the path

QStatusBar* statusBarOf(QWidget* inFrame) {
    QWidget* top = inFrame != nullptr ? inFrame->window() : nullptr;
    auto* frame = qobject_cast<QMainWindow*>(top);
    if (frame == nullptr) return nullptr;
    return frame->findChild<QStatusBar*>("StatusBar", Qt::FindDirectChildrenOnly);
}

void addFittedText(QStatusBar* bar, const char* name) {
    auto* text = new TStatus_Text(bar, true);
    text->setObjectName(name);
    bar->addPermanentWidget(text);
}

}  // namespace

void TStatus_Text::setText(const QString& text) {
    if (text == Text_) return;
    const bool resized = Fitted_ && fontMetrics().boundingRect(text).width() !=
                                        fontMetrics().boundingRect(Text_).width();
    Text_ = text;
    if (resized) updateGeometry();
    update();
}

QSize TStatus_Text::sizeHint() const {
    // As a label measures its text: glyphs may reach past their advances.
    return QSize(Fitted_ ? fontMetrics().boundingRect(Text_).width() : 0, fontMetrics().height());
}

void TStatus_Text::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    const QRect area = contentsRect();
    // The path is cut to the room it has; the count and the zoom have theirs.
    const QString shown =
        Fitted_ ? Text_ : fontMetrics().elidedText(Text_, Qt::ElideRight, area.width());
    painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter, shown);
}

void installStatusLine(QMainWindow& frame) {
    auto* bar = new QStatusBar(&frame);
    bar->setObjectName("StatusBar");
    frame.setStatusBar(bar);
    auto* path = new TStatus_Text(bar, false);
    path->setObjectName("Status_Path");
    bar->addWidget(path, 1);
    addFittedText(bar, "Status_Nodes");
    addFittedText(bar, "Status_Zoom");
}

void showDocumentStatus(QWidget* inFrame, const TDocument_Status& status) {
    QStatusBar* bar = statusBarOf(inFrame);
    if (bar == nullptr) return;
    bar->findChild<TStatus_Text*>("Status_Path")->setText(status.path);
    bar->findChild<TStatus_Text*>("Status_Nodes")
        ->setText(QString::number(status.nodes) + " " + uiText("個節點"));
    bar->findChild<TStatus_Text*>("Status_Zoom")
        ->setText(QString::number(status.zoomPercent) + " %");
}

void showStatusMessage(QWidget* inFrame, const QString& text) {
    if (TDialog_Script* script = TDialog_Script::active()) script->recordMessage("status", text);
    if (QStatusBar* bar = statusBarOf(inFrame)) bar->showMessage(text, kMessage_Milliseconds);
}

QString captionPath(const std::vector<const TTree_Node*>& chain) {
    QStringList parts;
    for (const TTree_Node* node : chain) {
        QString caption = nodeTextToQString(node->Caption.view()).simplified();
        if (caption.size() > kCaption_Shown) caption = caption.left(kCaption_Shown - 1) + "…";
        parts << caption;
    }
    return parts.join(" › ");
}

}  // namespace vetra
