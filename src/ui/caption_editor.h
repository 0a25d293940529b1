#pragma once

#include <QPlainTextEdit>
#include <QPointer>
#include <QWidget>

namespace vetra {

class TTree_Node;
class TForm_Qo_Tree;

// The caption editor: one borderless edit box laid over a node's caption for
// quick renaming. It grows with the text as it is typed, wrapping like the
// node, up to the visible width of the drawing. There is one for the whole
// run; it moves to whichever document window asks for it. A change stays
// pending after the editor is hidden and is stored at the next commit, on
// the node it was typed for.
class TForm_Caption : public QWidget {
    Q_OBJECT
  public:
    // A caption holds at most this many characters; more is refused with a
    // message rather than cut silently.
    static constexpr int kMax_Characters = 32767;

    static TForm_Caption& instance();

    // Commits any pending edit, then shows the editor over `node`'s caption
    // in `owner` (the node box at `viewportPosition`, drawn at `zoom`).
    void showFor(TForm_Qo_Tree& owner, TTree_Node& node, QPoint viewportPosition,
                 double zoom = 1.0);
    // Stores a pending change as the node's caption: only when the text was
    // changed and is not empty. The owner is refreshed and marked modified.
    void commit();
    void hideEditor() { hide(); }
    bool isShownIn(const TForm_Qo_Tree* owner) const;
    // The node leaves the tree (deleted, or taken back by undo): a pending
    // change for it or its descendants is dropped.
    void forgetSubtree(const TTree_Node& node);
    // The window closes: forget it and its nodes.
    void forgetOwner(const TForm_Qo_Tree* owner);

    QPlainTextEdit* edit() const { return Edit_Caption; }
    const TTree_Node* editedNode() const { return Node_; }
    // The text as it stands, and a pending change of it.
    QString text() const { return Edit_Caption->toPlainText(); }
    void setPendingText(const QString& text);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    TForm_Caption();
    bool isModified() const { return Edit_Caption->document()->isModified(); }
    void setModified(bool modified) { Edit_Caption->document()->setModified(modified); }
    // Typed or pasted text: line breaks become spaces, simplified characters
    // the code page lacks become traditional ones in traditional mode, the
    // length limit holds, and characters that still cannot be stored are
    // reported now, while typing.
    void checkInsertedText(int position, int added);
    void fitToText();

    QPlainTextEdit* Edit_Caption = nullptr;
    QPointer<TForm_Qo_Tree> Owner_;
    TTree_Node* Node_ = nullptr;
    QRect Caption_Area_;  // the node's caption, where the editor starts
    bool Checking_ = false;
    int Change_Position_ = -1, Change_Added_ = 0;
    int Reported_ = 0;  // characters reported as unstorable in this edit
};

}  // namespace vetra
