// The outline commands of the editor: import, export of the current view,
// and pasting an indented text as a subtree.
#include "ui/outline_commands.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>

#include "export/outline_file.h"
#include "export/outline_formats.h"
#include "export/outline_tree.h"
#include "model/selection.h"
#include "model/tree_commands.h"
#include "store/content_store.h"
#include "ui/dialog_script.h"
#include "ui/document_window.h"
#include "ui/main_frame.h"
#include "ui/message_box.h"
#include "ui/script_runner.h"
#include "ui/ui_text.h"

namespace vetra {
namespace {

struct TFilter {
    const char* caption;  // traditional, through uiText
    const char* patterns;
    const char* extension;
};

const TFilter kFilters[] = {
    {"純文本大綱", "*.txt", ".txt"},
    {"Markdown", "*.md *.markdown", ".md"},
    {"OPML 大綱", "*.opml", ".opml"},
    {"FreeMind/Freeplane 思維導圖", "*.mm", ".mm"},
};

QString filterText(const TFilter& filter) {
    return uiText(filter.caption) + " (" + filter.patterns + ")";
}

QStringList filterList() {
    QStringList filters;
    for (const TFilter& filter : kFilters) filters << filterText(filter);
    return filters;
}

// The name a dialog (or a script's queued answer) gives; empty when cancelled.
QString askFileName(QWidget* parent, bool forSaving, const QString& proposed) {
    if (TDialog_Script* script = TDialog_Script::active())
        return script->takeAnswer().value_or(QString());
    if (!forSaving) {
        QString all = uiText("大綱文件") + " (*.txt *.md *.markdown *.opml *.mm)";
        return QFileDialog::getOpenFileName(parent, QString(), QString(),
                                            (QStringList{all} + filterList()).join(";;"));
    }
    QString selected = filterText(kFilters[3]);
    QString name = QFileDialog::getSaveFileName(parent, QString(), proposed,
                                                filterList().join(";;"), &selected);
    TOutline_Format format;
    if (name.isEmpty() || outlineFormatOfFile(name.toStdString(), format)) return name;
    for (const TFilter& filter : kFilters)
        if (filterText(filter) == selected) return name + filter.extension;
    return name + ".mm";
}

// A wait cursor while a long import or export runs.
class TBusy_Cursor {
  public:
    TBusy_Cursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TBusy_Cursor() { QApplication::restoreOverrideCursor(); }
    TBusy_Cursor(const TBusy_Cursor&) = delete;
    TBusy_Cursor& operator=(const TBusy_Cursor&) = delete;
};

}  // namespace

void importOutlineCommand(TForm_Main_Vetra& frame) {
    QString path = askFileName(&frame, false, QString());
    if (path.isEmpty()) return;
    TImported_Outline imported;
    {
        TBusy_Cursor busy;
        imported = importOutlineFile(path.toStdString(), frame.defaultColor(), contentStore());
    }
    if (!imported.Root) {
        message_box::warning(&frame, kImport_Failed, {path});
        return;
    }
    TMessage_Box_Messages messages(&frame);
    auto doc = std::make_unique<TTree_Doc>(messages);
    doc->Root = std::move(imported.Root);
    doc->Modified = 1;
    TForm_Qo_Tree* window = TForm_Qo_Tree::adopt(frame, std::move(doc));
    frame.showDocumentWindow(window);
    if (imported.Replaced > 0)
        message_box::warning(window, kLost_Characters, {QString::number(imported.Replaced)});
}

void TForm_Qo_Tree::N_Export_OutlineClick() {
    commitCaptionEditor();
    TTree_Node& root = *currentRoot();
    QString proposed = nodeTextToQString(root.Caption.view()) + ".mm";
    QString path = askFileName(this, true, proposed);
    if (path.isEmpty()) return;
    TOutline_Format format;
    bool written = false;
    {
        TBusy_Cursor busy;
        written = outlineFormatOfFile(path.toStdString(), format) &&
                  exportOutlineFile(root, document(), path.toStdString());
    }
    if (!written) message_box::warning(this, "無法保存文件 %s", {path});
}

bool pasteClipboardText(TEdit_Context& ctx) {
    if (currentNode(*ctx.View.Root) == nullptr) return false;
    QString text = QApplication::clipboard()->text();
    TOutline outline;
    if (text.trimmed().isEmpty() || !readIndentedText(text.toStdString(), outline)) return false;
    TOutline_Nodes nodes = nodesFromOutline(outline, ctx.New_Node_Color, nullptr);
    // The pasted subtrees go through a clipboard of their own, so the paste
    // is the ordinary one: one undo group, the same refresh.
    TNode_Clipboard pasted;
    for (auto& subtree : nodes.Subtrees) pasted.append(std::move(subtree));
    TEdit_Context pasting{ctx.Doc, ctx.View, ctx.Host, ctx.Messages, pasted, ctx.New_Node_Color};
    if (!pasteClipboard(pasting)) return false;
    reportLostCharacters(ctx.Messages, nodes.Replaced);
    return true;
}

void addOutlineScriptCommands(TScript_Runner& runner) {
    runner.addCommand("clipboard-text", [](const QStringList& arguments, QString*) {
        QString text = arguments.join(' ');
        text.replace("\\n", "\n").replace("\\t", "\t").replace("\\s", " ");
        QApplication::clipboard()->setText(text);
        return true;
    });
}

}  // namespace vetra
