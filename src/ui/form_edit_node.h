#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/tree_node.h"
#include "platform/file.h"

namespace vetra {

class TFrame_RichEdit;
class TContent_Store;
struct TOptions;
class TUser_Messages;

// The node dialog ("編輯節點"): caption, link, colour and the note in the
// rich-text frame. Created on first use and kept for the run.
class TForm_Edit_Node : public QDialog {
    Q_OBJECT
  public:
    static TForm_Edit_Node& instance();
    static bool exists();
    // Deletes the dialog (before the application goes, for commands that
    // made it without a window to own it).
    static void destroyInstance();

    // Colours for the note editor come from `options`, and the font colour
    // picked with the frame's swatch is stored there. May be null.
    void setOptions(TOptions* options) { Options_ = options; }
    // The store of working copies; the process-wide one unless set.
    void setStore(TContent_Store* store) { Store_ = store; }

    // Loads the node into the dialog (caption, link, colour, note, caret).
    // The caller has given the node a working copy when its note was only
    // in the document file.
    void loadNode(const TTree_Node& node);
    // Shows the dialog for `node`. When it closes, `done` gets whether the
    // user confirmed it and the node, or null when the node left the tree
    // meanwhile. Modal and waiting unless a script drives the editor, which
    // then closes the dialog with its keys.
    using TDone = std::function<void(bool confirmed, TTree_Node* node)>;
    void editNode(TTree_Node& node, QWidget* parent, TDone done);
    // After a confirmed dialog: caption, link, the note (a new working copy,
    // Content_Dirty, excerpt), colour and caret go to the node.
    void applyToNode(TTree_Node& node);
    // The node being edited leaves the tree: the dialog must not write into it.
    void forgetSubtree(const TTree_Node& node, bool wholeSubtree);
    const TTree_Node* editedNode() const { return Node_; }

    // The note of a node without showing the dialog: from its working copy,
    // else from the document file (copied into the store first), else its
    // excerpt. False when the node has none of the three.
    bool loadNoteHidden(TTree_Node& node, TFile* documentFile);
    // The plain text of the node's note as lines, or none without a note.
    std::optional<std::vector<std::string>> noteLines(TTree_Node& node, TFile* documentFile);
    // Copies the whole note to the system clipboard as rich text.
    bool copyNoteToClipboard(TTree_Node& node, TFile* documentFile);

    TFrame_RichEdit& frame() const { return *RE; }
    // Opens the link of the Visit button by the window's rules.
    std::function<void(const QString&)> Link_Opener;

    QLineEdit* Edit_Name = nullptr;
    QLineEdit* Edit_Url = nullptr;
    QLabel* Label_Color = nullptr;
    QToolButton* SpeedButton_Open = nullptr;
    QToolButton* SpeedButton_Visit = nullptr;
    QToolButton* SpeedButton_Ok = nullptr;
    QToolButton* SpeedButton_Cancel = nullptr;
    TFrame_RichEdit* RE = nullptr;

    // The link of a chosen file: "./" and the rest for a file under
    // `programDirectory`, else the path as it is.
    static QString linkForFile(const QString& path, const QString& programDirectory);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    TForm_Edit_Node();
    void SpeedButton_OkClick();
    void SpeedButton_OpenClick();
    void SpeedButton_VisitClick();
    void Label_ColorClick();
    void setLabelColor(int32_t color);
    bool takeNote();
    // The dialog's own keys; true when the key was one of them.
    bool handleDialogKey(QKeyEvent* event);
    void selectCaptionIfNew();
    TContent_Store* store() const;
    TUser_Messages& messages();

    TOptions* Options_ = nullptr;
    TContent_Store* Store_ = nullptr;
    std::unique_ptr<TUser_Messages> Messages_;
    TTree_Node* Node_ = nullptr;
    int32_t Color_ = 0;
    bool Select_Caption_ = false;
    TDone Done_;
    // The note taken at OK: a new working copy and its excerpt.
    struct TTaken_Note {
        int32_t Offset = 0, Size = 0;
        std::string Excerpt;
    };
    std::optional<TTaken_Note> Taken_;
};

// The plain text of a node's note as lines, read without the editor (the
// dialog may be showing another note), or none without a note.
std::optional<std::vector<std::string>> noteLinesOf(TTree_Node& node, TFile* documentFile);

}  // namespace vetra
