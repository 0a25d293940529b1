#include "ui/style_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <vector>

namespace vetra {
namespace {

const QColor kLine_Color(0x40, 0x40, 0x40);
const QColor kBox_Outline(0x30, 0x50, 0x90);
const QColor kRoot_Fill(0xF0, 0xC0, 0x60);
const QColor kChild_Fill(0xB8, 0xD4, 0xF0);
const QColor kText_Bar(0x50, 0x50, 0x50);

QPixmap blank(QSize size) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void drawLetters(QPainter& painter, QSize size, const QString& text) {
    QFont font("Arial");
    font.setPixelSize(std::max(10, size.height() * 5 / 8));
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(0x60, 0x60, 0x60));
    painter.drawText(QRect(QPoint(0, 0), size), Qt::AlignCenter, text);
}

QPixmap lettersIcon(QSize size, const QString& text) {
    QPixmap pixmap = blank(size);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    drawLetters(painter, size, text);
    return pixmap;
}

// A miniature tree: the root box, its children's boxes and elbow connectors
// from the root's side to each child.
struct TMini_Tree {
    QRectF root;
    std::vector<QRectF> children;
    bool vertical;  // connectors leave the root's top or bottom edge
};

void drawMiniTree(QPainter& painter, const TMini_Tree& tree) {
    painter.setPen(QPen(kLine_Color, 1));
    const QPointF rootCentre = tree.root.center();
    for (const QRectF& child : tree.children) {
        const QPointF childCentre = child.center();
        QPainterPath path;
        if (tree.vertical) {
            const double fromY =
                childCentre.y() < rootCentre.y() ? tree.root.top() : tree.root.bottom();
            const double toY = childCentre.y() < rootCentre.y() ? child.bottom() : child.top();
            const double middle = (fromY + toY) / 2;
            path.moveTo(rootCentre.x(), fromY);
            path.lineTo(rootCentre.x(), middle);
            path.lineTo(childCentre.x(), middle);
            path.lineTo(childCentre.x(), toY);
        } else {
            const double fromX =
                childCentre.x() < rootCentre.x() ? tree.root.left() : tree.root.right();
            const double toX = childCentre.x() < rootCentre.x() ? child.right() : child.left();
            const double middle = (fromX + toX) / 2;
            path.moveTo(fromX, rootCentre.y());
            path.lineTo(middle, rootCentre.y());
            path.lineTo(middle, childCentre.y());
            path.lineTo(toX, childCentre.y());
        }
        painter.drawPath(path);
    }
    painter.setPen(QPen(kBox_Outline, 1));
    painter.setBrush(kRoot_Fill);
    painter.drawRect(tree.root);
    painter.setBrush(kChild_Fill);
    for (const QRectF& child : tree.children) painter.drawRect(child);
}

// A list hangs its children below the root, stacked, with one spine running
// down beside them.
void drawMiniList(QPainter& painter, bool toTheRight) {
    const QRectF root(toTheRight ? 4.5 : 21.5, 2.5, 14, 6);
    const double spineX = root.center().x();
    painter.setPen(QPen(kLine_Color, 1));
    painter.drawLine(QPointF(spineX, root.bottom()), QPointF(spineX, 20));
    std::vector<QRectF> children;
    for (int i = 0; i < 3; ++i) {
        const double y = 10.5 + i * 5;
        QRectF child(toTheRight ? spineX + 4 : spineX - 4 - 12, y, 12, 3);
        painter.drawLine(QPointF(spineX, child.center().y()),
                         QPointF(toTheRight ? child.left() : child.right(), child.center().y()));
        children.push_back(child);
    }
    painter.setPen(QPen(kBox_Outline, 1));
    painter.setBrush(kRoot_Fill);
    painter.drawRect(root);
    painter.setBrush(kChild_Fill);
    for (const QRectF& child : children) painter.drawRect(child);
}

void drawTextBar(QPainter& painter, const QRectF& around) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(kText_Bar);
    const QPointF c = around.center();
    painter.drawRect(QRectF(c.x() - 6, c.y() - 2.5, 12, 2));
    painter.drawRect(QRectF(c.x() - 6, c.y() + 0.5, 8, 2));
}

}  // namespace

QPixmap viewStyleIcon(int32_t code) {
    if (code == 0) return lettersIcon(kView_Icon_Size, "Auto");
    if (code < 0 || code > 7) return lettersIcon(kView_Icon_Size, "?");
    QPixmap pixmap = blank(kView_Icon_Size);
    QPainter painter(&pixmap);
    const auto box = [](double x, double y) { return QRectF(x + 0.5, y + 0.5, 10, 5); };
    switch (code) {
        case 1:  // Tree_Main: two groups beside the root
            drawMiniTree(painter,
                         {box(15, 10), {box(1, 4), box(1, 16), box(29, 4), box(29, 16)}, false});
            break;
        case 2:  // Tree_Left
            drawMiniTree(painter, {box(27, 10), {box(3, 2), box(3, 10), box(3, 18)}, false});
            break;
        case 3:  // Tree_Right
            drawMiniTree(painter, {box(2, 10), {box(26, 2), box(26, 10), box(26, 18)}, false});
            break;
        case 4:  // List_Left
            drawMiniList(painter, false);
            break;
        case 5:  // List_Right
            drawMiniList(painter, true);
            break;
        case 6:  // Stru_Up: a row above the root
            drawMiniTree(painter, {box(14, 18), {box(1, 2), box(14, 2), box(27, 2)}, true});
            break;
        case 7:  // Stru_Down: a row below the root
            drawMiniTree(painter, {box(14, 2), {box(1, 18), box(14, 18), box(27, 18)}, true});
            break;
    }
    return pixmap;
}

QPixmap linkStyleIcon(int32_t code) {
    if (code == 0) return lettersIcon(kLink_Icon_Size, "A");
    if (code < 0 || code > 4) return lettersIcon(kLink_Icon_Size, "?");
    QPixmap pixmap = blank(kLink_Icon_Size);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF parent(5, 17), child(25, 5);
    painter.setPen(QPen(kLine_Color, 1.4));
    painter.setBrush(Qt::NoBrush);
    QPainterPath path(parent);
    switch (code) {
        case 1:  // Direct
            path.lineTo(child);
            break;
        case 2:  // Round_Direct: a quarter ellipse
            path.quadTo(QPointF(parent.x(), child.y()), child);
            break;
        case 3:  // Rect: a right-angled elbow
            path.lineTo(parent.x(), child.y());
            path.lineTo(child);
            break;
        case 4:  // Round_Rect: the elbow with a rounded corner
            path.lineTo(parent.x(), child.y() + 5);
            path.quadTo(QPointF(parent.x(), child.y()), QPointF(parent.x() + 5, child.y()));
            path.lineTo(child);
            break;
    }
    painter.drawPath(path);
    painter.setPen(QPen(kBox_Outline, 1));
    painter.setBrush(kRoot_Fill);
    painter.drawEllipse(parent, 2.5, 2.5);
    painter.setBrush(kChild_Fill);
    painter.drawEllipse(child, 2.5, 2.5);
    return pixmap;
}

QPixmap edgeStyleIcon(int32_t code) {
    if (code < 0 || code > 5) return lettersIcon(kEdge_Icon_Size, "?");
    QPixmap pixmap = blank(kEdge_Icon_Size);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF frame(2.5, 3.5, 21, 15);
    painter.setPen(QPen(kBox_Outline, 1.3));
    painter.setBrush(kChild_Fill);
    switch (code) {
        case 0:  // Auto: the caption alone
            break;
        case 1:
            painter.drawRoundedRect(frame, 4, 4);
            break;
        case 2:
            painter.drawRect(frame);
            break;
        case 3: {
            const QPointF c = frame.center();
            painter.drawPolygon(
                QPolygonF({QPointF(frame.left() - 1, c.y()), QPointF(c.x(), frame.top() - 2),
                           QPointF(frame.right() + 1, c.y()), QPointF(c.x(), frame.bottom() + 2)}));
            break;
        }
        case 4:
            painter.drawEllipse(frame);
            break;
        case 5:
            painter.drawLine(QPointF(frame.left() + 2, frame.bottom() - 1),
                             QPointF(frame.right() - 2, frame.bottom() - 1));
            break;
    }
    drawTextBar(painter, frame);
    return pixmap;
}

QPixmap widthIcon(int32_t width) {
    if (width == 0) return lettersIcon(kWidth_Icon_Size, "A");
    if (width < 0 || width > 5) return lettersIcon(kWidth_Icon_Size, "?");
    QPixmap pixmap = blank(kWidth_Icon_Size);
    QPainter painter(&pixmap);
    const int top = (kWidth_Icon_Size.height() - width) / 2;
    painter.fillRect(QRect(3, top, kWidth_Icon_Size.width() - 6, width), kLine_Color);
    return pixmap;
}

}  // namespace vetra
