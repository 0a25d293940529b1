#pragma once

#include <QLineEdit>
#include <QPointer>
#include <QWidget>

namespace vetra {

class TTree_Node;
class TForm_Qo_Tree;

// The caption editor: one borderless edit box laid exactly over a node's
// caption for quick renaming. There is one for the whole run; it moves to
// whichever document window asks for it. A change stays pending after the
// editor is hidden and is stored at the next commit, on the node it was
// typed for.
class TForm_Caption : public QWidget {
    Q_OBJECT
  public:
    static TForm_Caption& instance();

    // Commits any pending edit, then shows the editor over `node`'s caption
    // in `owner` (picture coordinates of the node box at `nodeX`, `nodeY`).
    void showFor(TForm_Qo_Tree& owner, TTree_Node& node, QPoint viewportPosition);
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

    QLineEdit* edit() const { return Edit_Caption; }
    const TTree_Node* editedNode() const { return Node_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    TForm_Caption();

    QLineEdit* Edit_Caption = nullptr;
    QPointer<TForm_Qo_Tree> Owner_;
    TTree_Node* Node_ = nullptr;
};

}  // namespace vetra
