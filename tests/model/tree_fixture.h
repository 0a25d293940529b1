#pragma once

// Builds small trees from outlines such as "r(a(b,c),d)" and describes them
// back in the same form, so a test states a whole tree in one line.

#include <memory>
#include <string>
#include <vector>

#include "layout/tree_builder.h"
#include "model/tree_commands.h"
#include "tests/model/recording_prompts.h"

namespace vetra::test {

using testing::buildTree;
using testing::find;

// The outline of the tree; a node whose Parent link is wrong shows as "!name".
std::string describe(const TTree_Node& root);
// Node identities and parent links in pre-order: equal snapshots mean the very
// same node objects stand in the same places.
std::vector<const TTree_Node*> snapshot(const TTree_Node& root);

class TRecording_Host : public TTree_Editor_Host {
  public:
    void refreshView() override {}
    void makeVisible(TTree_Node&) override {}
    void openCaptionEditor(TTree_Node& node) override { Caption_Editor.push_back(&node); }
    void commitCaptionEditor() override { ++Commits; }
    void closeViewsOf(const TTree_Node& node, bool wholeSubtree) override {
        Closed_Views.push_back({&node, wholeSubtree});
    }
    int Commits = 0;
    std::vector<TTree_Node*> Caption_Editor;
    std::vector<std::pair<const TTree_Node*, bool>> Closed_Views;
};

// A document with an outline tree shown in its main view.
struct TEdit_Fixture {
    explicit TEdit_Fixture(std::string_view outline) {
        Doc.Root = buildTree(outline);
        View.Root = Doc.root();
    }
    TTree_Node* node(std::string_view caption) { return find(*Doc.root(), caption); }
    void select(const std::vector<std::string_view>& captions) {
        Doc.root()->clearSelection();
        for (auto caption : captions) node(caption)->setSelected(true);
    }
    // Makes the node's subtree the current view, cut from its parent.
    void enterSubView(std::string_view caption) {
        View.restoreParentLink();
        TTree_Node* root = node(caption);
        View.Root = root;
        View.Saved_Parent = root->Parent;
        View.Is_Main_View = false;
        View.cutParentLink();
    }
    // What `f` makes of the whole document, with the view's cut mended
    // meanwhile: its outline, its snapshot.
    template <class F>
    auto whole(F f) {
        View.restoreParentLink();
        auto out = f(*Doc.root());
        View.cutParentLink();
        return out;
    }
    std::string tree() { return whole(describe); }
    std::vector<const TTree_Node*> nodes() { return whole(snapshot); }

    TDocument_Tree Doc;
    TCurrent_View View;
    TRecording_Host Host;
    TRecording_Messages Messages;
    TNode_Clipboard Clipboard;
    TEdit_Context Ctx{Doc, View, Host, Messages, Clipboard, 0x123456};
};

}  // namespace vetra::test
