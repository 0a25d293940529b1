// vetra --note, --note-rtf and --set-note: a node's note read or replaced
// through the note editor, without a display.
#include <QApplication>
#include <QFile>
#include <cstdio>

#include "app/commands.h"
#include "app/document_open.h"
#include "app/terminal_messages.h"
#include "export/frame_rich_edit.h"
#include "ui/dialog_script.h"
#include "ui/form_edit_node.h"

namespace vetra {
namespace {

void printBytes(const std::string& bytes) {
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}

// The editor's widgets need an application; its message boxes print
// themselves instead of waiting for a click.
struct TNote_Session {
    TNote_Session(int& argc, char** argv) {
        qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty()
                                       ? QByteArray("offscreen")
                                       : qgetenv("QT_QPA_PLATFORM"));
        Application = std::make_unique<QApplication>(argc, argv);
        Script.setEcho(true);
        TDialog_Script::activate(&Script);
    }
    ~TNote_Session() {
        TForm_Edit_Node::destroyInstance();
        TDialog_Script::activate(nullptr);
    }
    std::unique_ptr<QApplication> Application;
    TDialog_Script Script;
};

TTree_Node* openNode(TTree_Doc& doc, const std::string& file, const std::string& path,
                     std::vector<const TTree_Node*>& viewRoots) {
    if (!openAsEditor(doc, file, viewRoots)) return nullptr;
    TTree_Node* node = findNodeByPath(*doc.root(), path);
    if (node == nullptr)
        std::fprintf(stderr, "%s\n", terminalMessage("節點路徑無效 %s", path).c_str());
    return node;
}

}  // namespace

int runNote(int argc, char** argv, const std::string& file, const std::string& path, bool asRtf) {
    TNote_Session session(argc, argv);
    TTerminal_Messages messages;
    TTree_Doc doc(messages);
    std::vector<const TTree_Node*> viewRoots;
    TTree_Node* node = openNode(doc, file, path, viewRoots);
    if (node == nullptr) return 1;
    TForm_Edit_Node& dialog = TForm_Edit_Node::instance();
    if (!dialog.loadNoteHidden(*node, doc.file())) {
        std::fprintf(stderr, "%s\n", terminalMessage("該節點沒有筆記 %s", path).c_str());
        return 1;
    }
    if (asRtf) {
        printBytes(dialog.frame().noteRtf());
        return 0;
    }
    for (const std::string& line : dialog.frame().plainTextLines()) printBytes(line + "\n");
    return 0;
}

int runSetNote(int argc, char** argv, const std::string& file, const std::string& path,
               const std::string& notePath) {
    TNote_Session session(argc, argv);
    QFile noteFile(QString::fromLocal8Bit(notePath.c_str()));
    if (!noteFile.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "%s\n", terminalMessage("無法打開文件 %s", notePath).c_str());
        return 1;
    }
    QByteArray note = noteFile.readAll();
    TTerminal_Messages messages;
    TTree_Doc doc(messages);
    std::vector<const TTree_Node*> viewRoots;
    TTree_Node* node = openNode(doc, file, path, viewRoots);
    if (node == nullptr) return 1;
    if (node->Work_Size == 0 && node->Content_Size >= 1) doc.loadNoteOf(*node);
    TForm_Edit_Node& dialog = TForm_Edit_Node::instance();
    dialog.loadNode(*node);
    dialog.frame().loadNote({note.constData(), static_cast<size_t>(note.size())});
    dialog.frame().setModified(true);
    dialog.applyToNode(*node);
    if (node->Content_Dirty != 1) return 1;  // the note could not be stored
    doc.Modified = 1;
    return doc.save(viewRoots) ? 0 : 1;
}

}  // namespace vetra
