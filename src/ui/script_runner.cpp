#include "ui/script_runner.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <optional>

#include "layout/hit_test.h"
#include "layout/layout_engine.h"
#include "layout/node_measure.h"
#include "model/node_clipboard.h"
#include "ui/dialog_script.h"
#include "ui/document_window.h"
#include "ui/form_edit_node.h"
#include "ui/image_view.h"
#include "ui/main_frame.h"
#include "ui/ui_text.h"

namespace vetra {
namespace {

TForm_Qo_Tree* activeWindow(TForm_Main_Vetra& frame) {
    return qobject_cast<TForm_Qo_Tree*>(frame.activeDocumentWindow());
}

void settle() {
    // Deferred work (tab clicks, repaints) runs before the next command.
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

// "r", "r.0.2": child indices from the current view's root.
TTree_Node* nodeAt(TForm_Qo_Tree& window, const QString& path, QString* error) {
    QStringList steps = path.split('.');
    if (steps.isEmpty() || steps.first() != "r") {
        *error = "bad node path " + path;
        return nullptr;
    }
    TTree_Node* node = window.currentRoot();
    for (qsizetype i = 1; i < steps.size(); ++i) {
        bool ok = false;
        int index = steps[i].toInt(&ok);
        if (!ok || index < 0 || index >= node->childCount()) {
            *error = "no node at " + path;
            return nullptr;
        }
        node = node->child(index);
    }
    return node;
}

// A point of the node in viewport coordinates, the node scrolled into view.
QPoint pointOf(TForm_Qo_Tree& window, TTree_Node& node, const QString& part) {
    window.makeVisible(node);
    const TLayout_Cache& c = node.Layout;
    std::optional<TNode_Rect> rect;
    if (part == "link") rect = linkRect(node);
    if (part == "marker") rect = markerRect(node);
    QPoint box = window.viewportPositionOf(node);
    const double zoom = window.zoomPercent() / 100.0;
    QPointF inBox = rect.has_value()
                        ? QPointF(rect->x + rect->width / 2, rect->y + rect->height / 2)
                        : QPointF(c.Box_Width / 2, c.Box_Height / 2);
    return box + (inBox * zoom).toPoint();
}

void sendMouse(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButtons buttons,
               Qt::MouseButton button = Qt::NoButton) {
    QPointF local(at);
    QMouseEvent event(type, local, target->mapToGlobal(local), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// Parses "Ctrl+C", "Ins", "Num++" (the keypad), "Tab".
bool parseKey(const QString& text, int* key, Qt::KeyboardModifiers* modifiers) {
    QString sequence = text;
    *modifiers = Qt::NoModifier;
    if (sequence.startsWith("Num+") && sequence.size() > 4) {
        *modifiers |= Qt::KeypadModifier;
        sequence = sequence.mid(4);
    }
    QKeySequence parsed(sequence);
    if (parsed.isEmpty() || parsed[0].key() == Qt::Key_unknown) return false;
    *key = parsed[0].key();
    *modifiers |= parsed[0].keyboardModifiers();
    return true;
}

QString outlineOf(TTree_Node& root) {
    QString out;
    struct TLine {
        TTree_Node* node;
        int level;
    };
    std::vector<TLine> pending{{&root, 0}};
    while (!pending.empty()) {
        TLine line = pending.back();
        pending.pop_back();
        out += QString(line.level * 2, ' ') + nodeTextToQString(line.node->Caption.view());
        if (line.node->selected()) out += " *";
        if (!line.node->Expanded && line.node->hasChildren()) out += " +";
        out += '\n';
        if (!line.node->Expanded) continue;
        for (int32_t i = line.node->childCount(); i-- > 0;)
            pending.push_back({line.node->child(i), line.level + 1});
    }
    out.chop(1);
    return out;
}

// Keys go to the focused control of the window or of a dialog it opened.
bool ownsKeysOf(TForm_Qo_Tree& window, QWidget* focus) {
    if (window.isAncestorOf(focus)) return true;
    QWidget* modal = QApplication::activeModalWidget();
    return modal != nullptr && (modal == focus || modal->isAncestorOf(focus));
}

QWidget* visibleWidgetNamed(const QString& name) {
    for (QWidget* widget : QApplication::allWidgets())
        if (widget->objectName() == name && widget->isVisible()) return widget;
    return nullptr;
}

}  // namespace

TScript_Runner::TScript_Runner(TForm_Main_Vetra& frame, TOutput output)
    : Frame_(frame), Output_(std::move(output)) {
    markTime();
}

namespace {
qint64 nowNs() {
    static QElapsedTimer clock;
    if (!clock.isValid()) clock.start();
    return clock.nsecsElapsed();
}
}  // namespace

void TScript_Runner::markTime() {
    Mark_Ns_ = nowNs();
}

void TScript_Runner::addCommand(const QString& name, TCommand command) {
    Commands_.append({name, std::move(command)});
}

int TScript_Runner::run(const QStringList& lines, QString* error) {
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString reason;
        if (!runLine(lines[i], &reason)) {
            if (error != nullptr) *error = reason;
            return static_cast<int>(i + 1);
        }
    }
    return 0;
}

bool TScript_Runner::runLine(const QString& rawLine, QString* error) {
    QString line = rawLine.trimmed();
    if (line.isEmpty() || line.startsWith('#')) return true;
    QString command = line.section(' ', 0, 0);
    QString rest = line.section(' ', 1).trimmed();
    QStringList arguments = rest.split(' ', Qt::SkipEmptyParts);
    TDialog_Script* script = TDialog_Script::active();

    if (command == "answer") {
        if (script == nullptr || rest.isEmpty()) {
            *error = "answer needs a value";
            return false;
        }
        script->queueAnswer(rest);
        return true;
    }
    if (command == "elapsed") {
        qint64 now = nowNs();
        Output_(QString("elapsed %1 ms").arg(double(now - Mark_Ns_) / 1e6, 0, 'f', 1));
        Mark_Ns_ = nowNs();
        return true;
    }
    if (command == "menu") {
        QAction* action = Frame_.findChild<QAction*>(rest);
        if (action == nullptr || !action->isEnabled()) {
            *error = "no enabled menu item " + rest;
            return false;
        }
        action->trigger();
        settle();
        return true;
    }
    for (const auto& [name, extra] : Commands_)
        if (name == command) {
            bool ok = extra(arguments, error);
            settle();
            return ok;
        }

    TForm_Qo_Tree* window = activeWindow(Frame_);
    if (window == nullptr) {
        *error = "no document window";
        return false;
    }
    QWidget* view = window->imageView()->viewport();

    if (command == "select") {
        window->currentRoot()->clearSelection();
        for (const QString& path : arguments) {
            TTree_Node* node = nodeAt(*window, path, error);
            if (node == nullptr) return false;
            node->setSelected(true);
        }
        view->update();
        return true;
    }
    if (command == "key") {
        int key = 0;
        Qt::KeyboardModifiers modifiers;
        if (!parseKey(rest, &key, &modifiers)) {
            *error = "unknown key " + rest;
            return false;
        }
        // The frame's shortcuts take their keys first, as on a real keyboard.
        QKeySequence sequence(QKeyCombination(modifiers & ~Qt::KeypadModifier, Qt::Key(key)));
        for (QAction* action : Frame_.findChildren<QAction*>())
            if (action->isEnabled() && action->shortcuts().contains(sequence) &&
                action->shortcutContext() == Qt::ApplicationShortcut) {
                action->trigger();
                settle();
                return true;
            }
        QWidget* focus = QApplication::focusWidget();
        if (focus == nullptr || !ownsKeysOf(*window, focus)) focus = view;
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(focus, &press);
        settle();
        QWidget* after = QApplication::focusWidget();
        if (after == nullptr || !ownsKeysOf(*window, after)) after = view;
        QKeyEvent release(QEvent::KeyRelease, key, modifiers);
        QApplication::sendEvent(after, &release);
        settle();
        return true;
    }
    if (command == "type") {
        QWidget* focus = QApplication::focusWidget();
        if (focus == nullptr) focus = view;
        // One key per character, a surrogate pair included.
        for (char32_t code : rest.toUcs4()) {
            QString text = QString::fromUcs4(&code, 1);
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
            QApplication::sendEvent(focus, &press);
            QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, text);
            QApplication::sendEvent(focus, &release);
        }
        settle();
        return true;
    }
    if (command == "click" || command == "dblclick") {
        if (arguments.isEmpty()) {
            *error = command + " needs a node";
            return false;
        }
        TTree_Node* node = nodeAt(*window, arguments[0], error);
        if (node == nullptr) return false;
        QString part = arguments.size() > 1 ? arguments[1] : "box";
        if (part != "box" && part != "link" && part != "marker") {
            *error = "unknown part " + part;
            return false;
        }
        QPoint at = pointOf(*window, *node, part);
        sendMouse(view, QEvent::MouseMove, at, Qt::NoButton);
        sendMouse(view, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
        sendMouse(view, QEvent::MouseButtonRelease, at, Qt::NoButton, Qt::LeftButton);
        if (command == "dblclick") {
            sendMouse(view, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
            sendMouse(view, QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton);
            sendMouse(view, QEvent::MouseButtonRelease, at, Qt::NoButton, Qt::LeftButton);
        }
        settle();
        return true;
    }
    if (command == "drag" || command == "band") {
        if (arguments.size() != 2) {
            *error = command + " needs two nodes";
            return false;
        }
        TTree_Node* from = nodeAt(*window, arguments[0], error);
        TTree_Node* to = from == nullptr ? nullptr : nodeAt(*window, arguments[1], error);
        if (to == nullptr) return false;
        QPoint start, end;
        if (command == "drag") {
            // A drag starts on a selected node; select it as a click would.
            if (!from->selected()) {
                window->currentRoot()->clearSelection();
                from->setSelected(true);
            }
            start = pointOf(*window, *from, "box");
            end = pointOf(*window, *to, "box");
        } else {
            window->currentRoot()->clearSelection();
            window->makeVisible(*from);
            start = window->viewportPositionOf(*from);
            const double zoom = window->zoomPercent() / 100.0;
            end = window->viewportPositionOf(*to) +
                  (QPointF(to->Layout.Box_Width - 1, to->Layout.Box_Height - 1) * zoom).toPoint();
        }
        sendMouse(view, QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
        sendMouse(view, QEvent::MouseMove, (start + end) / 2, Qt::LeftButton);
        sendMouse(view, QEvent::MouseMove, end, Qt::LeftButton);
        sendMouse(view, QEvent::MouseButtonRelease, end, Qt::NoButton, Qt::LeftButton);
        settle();
        return true;
    }
    if (command == "focus") {
        QWidget* target = visibleWidgetNamed(rest);
        if (target == nullptr) {
            *error = "no visible control " + rest;
            return false;
        }
        target->window()->activateWindow();
        target->setFocus(Qt::OtherFocusReason);
        settle();
        return true;
    }
    if (command == "note") {
        TTree_Node* node = nodeAt(*window, rest, error);
        if (node == nullptr) return false;
        std::optional<std::vector<std::string>> lines =
            noteLinesOf(*node, window->document().file());
        if (!lines) {
            *error = "no note at " + rest;
            return false;
        }
        for (const std::string& text : *lines) Output_(QString::fromStdString(text));
        return true;
    }
    if (command == "dump") {
        Output_(outlineOf(*window->currentRoot()));
        return true;
    }
    if (command == "state") {
        TTree_Doc& doc = window->document();
        Output_(QString("modified %1").arg(doc.Modified ? 1 : 0));
        Output_(QString("undo %1").arg(doc.Undo.count()));
        Output_("file " + window->fileName());
        QStringList tabs = window->tabCaptions();
        int current = window->currentViewIndex();
        if (current >= 0 && current < tabs.size()) tabs[current] = "[" + tabs[current] + "]";
        Output_("views " + tabs.join(' '));
        Output_(QString("clipboard %1").arg(nodeClipboard().count()));
        Output_(QString("redo %1").arg(doc.Undo.redoCount()));
        Output_(QString("zoom %1").arg(window->zoomPercent()));
        return true;
    }
    *error = "unknown command " + command;
    return false;
}

}  // namespace vetra
