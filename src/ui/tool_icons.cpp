#include "ui/tool_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace vetra {
namespace {

const char* themeName(TTool_Glyph glyph) {
    switch (glyph) {
        case TTool_Glyph::New:
            return "document-new";
        case TTool_Glyph::Open:
            return "document-open";
        case TTool_Glyph::Save:
            return "document-save";
        case TTool_Glyph::SaveAs:
            return "document-save-as";
        case TTool_Glyph::SaveAll:
            return "document-save-all";
        case TTool_Glyph::Cut:
            return "edit-cut";
        case TTool_Glyph::Copy:
            return "edit-copy";
        case TTool_Glyph::Paste:
            return "edit-paste";
        case TTool_Glyph::AddNode:
            return "list-add";
        case TTool_Glyph::Edit:
            return "document-properties";
        case TTool_Glyph::Expand:
            return "zoom-in";
        case TTool_Glyph::Collapse:
            return "zoom-out";
        case TTool_Glyph::Help:
            return "help-contents";
        case TTool_Glyph::Exit:
            return "application-exit";
        case TTool_Glyph::Undo:
            return "edit-undo";
        case TTool_Glyph::Redo:
            return "edit-redo";
    }
    return "";
}

void drawPage(QPainter& p, QColor fill) {
    QPainterPath page;
    page.moveTo(5, 2);
    page.lineTo(15, 2);
    page.lineTo(19, 6);
    page.lineTo(19, 21);
    page.lineTo(5, 21);
    page.closeSubpath();
    p.setBrush(fill);
    p.drawPath(page);
}

void drawDisk(QPainter& p, QColor body) {
    p.setBrush(body);
    p.drawRoundedRect(QRectF(3, 3, 17, 17), 2, 2);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(6, 4, 11, 6));
    p.setBrush(QColor(60, 60, 60));
    p.drawRect(QRectF(7, 13, 9, 6));
}

void drawNodes(QPainter& p, bool plus) {
    p.setBrush(QColor(250, 240, 200));
    p.drawRoundedRect(QRectF(2, 8, 9, 7), 2, 2);
    p.drawRoundedRect(QRectF(14, 3, 8, 6), 2, 2);
    p.drawRoundedRect(QRectF(14, 15, 8, 6), 2, 2);
    p.drawLine(QPointF(11, 11.5), QPointF(14, 6));
    p.drawLine(QPointF(11, 11.5), QPointF(14, 18));
    if (plus) {
        p.setPen(QPen(QColor(30, 140, 30), 2));
        p.drawLine(QPointF(18, 10), QPointF(18, 14));
        p.drawLine(QPointF(16, 12), QPointF(20, 12));
    }
}

// A curved arrow pointing left (undo) or right (redo).
void drawTurnArrow(QPainter& p, bool right) {
    if (right) p.scale(-1, 1), p.translate(-24, 0);
    p.setPen(QPen(QColor(40, 90, 200), 2.2));
    p.setBrush(Qt::NoBrush);
    QPainterPath arc;
    arc.moveTo(6, 10);
    arc.cubicTo(QPointF(12, 4), QPointF(22, 8), QPointF(18, 19));
    p.drawPath(arc);
    p.setBrush(QColor(40, 90, 200));
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygonF({QPointF(2, 12), QPointF(10, 5), QPointF(10, 14)}));
}

QPixmap drawnIcon(TTool_Glyph glyph) {
    // Drawn at twice the size, so the icon stays sharp on high-DPI screens.
    QPixmap pixmap(48, 48);
    pixmap.setDevicePixelRatio(2);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(70, 70, 90), 1.2));
    switch (glyph) {
        case TTool_Glyph::New:
            drawPage(p, Qt::white);
            break;
        case TTool_Glyph::Open:
            p.setBrush(QColor(240, 200, 90));
            p.drawRect(QRectF(2, 7, 20, 13));
            p.drawRect(QRectF(2, 4, 8, 3));
            break;
        case TTool_Glyph::Save:
            drawDisk(p, QColor(70, 110, 190));
            break;
        case TTool_Glyph::SaveAs:
            drawDisk(p, QColor(70, 110, 190));
            p.setPen(QPen(QColor(200, 60, 40), 2));
            p.drawLine(QPointF(14, 22), QPointF(22, 14));
            break;
        case TTool_Glyph::SaveAll:
            drawDisk(p, QColor(120, 140, 200));
            p.translate(2, 2);
            drawDisk(p, QColor(70, 110, 190));
            break;
        case TTool_Glyph::Cut:
            p.drawEllipse(QRectF(3, 14, 6, 6));
            p.drawEllipse(QRectF(15, 14, 6, 6));
            p.drawLine(QPointF(8, 15), QPointF(17, 3));
            p.drawLine(QPointF(16, 15), QPointF(7, 3));
            break;
        case TTool_Glyph::Copy:
            drawPage(p, QColor(230, 230, 240));
            p.translate(-3, 2);
            drawPage(p, Qt::white);
            break;
        case TTool_Glyph::Paste:
            p.setBrush(QColor(190, 150, 100));
            p.drawRoundedRect(QRectF(3, 4, 14, 18), 2, 2);
            p.setBrush(Qt::white);
            p.drawRect(QRectF(9, 9, 12, 13));
            break;
        case TTool_Glyph::AddNode:
            drawNodes(p, true);
            break;
        case TTool_Glyph::Edit:
            drawPage(p, Qt::white);
            p.setPen(QPen(QColor(40, 90, 200), 2));
            p.drawLine(QPointF(8, 17), QPointF(17, 8));
            break;
        case TTool_Glyph::Expand:
        case TTool_Glyph::Collapse:
            drawNodes(p, false);
            p.setPen(QPen(QColor(30, 30, 30), 1.5));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(4, 9.5, 5, 4));
            break;
        case TTool_Glyph::Help:
            p.setBrush(QColor(60, 120, 220));
            p.drawEllipse(QRectF(2, 2, 20, 20));
            p.setPen(Qt::white);
            p.setFont(QFont("Sans", 12, QFont::Bold));
            p.drawText(QRectF(2, 2, 20, 20), Qt::AlignCenter, "?");
            break;
        case TTool_Glyph::Exit:
            p.setBrush(QColor(200, 70, 60));
            p.drawRoundedRect(QRectF(3, 3, 18, 18), 3, 3);
            p.setPen(QPen(Qt::white, 2));
            p.drawLine(QPointF(8, 8), QPointF(16, 16));
            p.drawLine(QPointF(16, 8), QPointF(8, 16));
            break;
        case TTool_Glyph::Undo:
        case TTool_Glyph::Redo:
            drawTurnArrow(p, glyph == TTool_Glyph::Redo);
            break;
    }
    return pixmap;
}

}  // namespace

QIcon toolIcon(TTool_Glyph glyph) {
    QIcon themed = QIcon::fromTheme(themeName(glyph));
    if (!themed.isNull()) return themed;
    return QIcon(drawnIcon(glyph));
}

}  // namespace vetra
