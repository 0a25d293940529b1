// The document window's side of the node dialog: opening it on a node and
// applying what the user confirmed, with its undo step.
#include <QPointer>

#include "export/frame_rich_edit.h"
#include "model/tree_commands.h"
#include "ui/content_store_upkeep.h"
#include "ui/document_window.h"
#include "ui/form_edit_node.h"
#include "ui/main_frame.h"
#include "ui/message_box.h"

namespace vetra {

void TForm_Qo_Tree::editInNodeDialog(TTree_Node& node) {
    commitCaptionEditor();
    makeVisible(node);
    // The dialog edits the note's working copy; a note only in the file is
    // copied into the content store first.
    if (node.Work_Size == 0 && node.Content_Size >= 1) Doc_->loadNoteOf(node);
    TForm_Edit_Node& dialog = TForm_Edit_Node::instance();
    dialog.setOptions(&Frame_.options());
    QPointer<TForm_Qo_Tree> self(this);
    dialog.Link_Opener = [self](const QString& link) {
        if (!self.isNull()) self->openLink(link);
    };
    dialog.editNode(node, this, [self](bool confirmed, TTree_Node* edited) {
        if (!confirmed || self.isNull()) return;
        self->applyNodeDialog(edited);
    });
}

void TForm_Qo_Tree::applyNodeDialog(TTree_Node* node) {
    TForm_Edit_Node& dialog = TForm_Edit_Node::instance();
    if (node == nullptr) {
        // The node was erased while the dialog was open: its note must not
        // go into a freed node, nor vanish without a word.
        dialog.frame().copyAllAsRichText();
        message_box::warning(this, "該節點已被刪除，所編輯的筆記已複製到剪貼板");
        return;
    }
    recordContentChange(*Doc_, {node});
    dialog.applyToNode(*node);
    refresh();
    Doc_->Modified = 1;
    updateCaption();
    compactContentStoreIfWasteful(Frame_);
    if (Doc_->hasFile() && Doc_->isReadOnly())
        message_box::information(this, "該文件以只讀方式打開，請用另存爲保存所作的修改");
}

}  // namespace vetra
