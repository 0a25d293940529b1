#include "layout/node_view.h"

#include <unordered_set>

#include "layout/hit_test.h"

namespace vetra {

namespace {

template <class TVisit>
void forEachInSubtree(TTree_Node& root, TVisit visit) {
    std::vector<TTree_Node*> pending{&root};
    while (!pending.empty()) {
        TTree_Node* node = pending.back();
        pending.pop_back();
        visit(*node);
        for (int32_t i = node->childCount(); i-- > 0;) pending.push_back(node->child(i));
    }
}

}  // namespace

void showView(TNode_View& view) {
    TTree_Node& root = *view.Root;
    root.Parent = nullptr;
    // The saved arrays may name nodes deleted since the view was left, so
    // they are only compared against, never followed.
    std::unordered_set<const TTree_Node*> collapsed(view.Saved_Collapsed.begin(),
                                                    view.Saved_Collapsed.end());
    std::unordered_set<const TTree_Node*> selected(view.Saved_Selection.begin(),
                                                   view.Saved_Selection.end());
    forEachInSubtree(root, [&](TTree_Node& node) {
        node.Expanded = node.hasChildren() && collapsed.count(&node) != 0 ? 0 : 1;
        node.setSelected(selected.count(&node) != 0);
    });
}

void saveViewState(TNode_View& view) {
    view.Saved_Collapsed.clear();
    forEachInSubtree(*view.Root, [&](TTree_Node& node) {
        if (!node.Expanded) view.Saved_Collapsed.append(&node);
    });
    view.Saved_Selection.clear();
    forEachVisible(*view.Root, [&](TTree_Node& node) {
        if (node.selected()) view.Saved_Selection.append(&node);
    });
}

void leaveView(TNode_View& view, int32_t scrollX, int32_t scrollY, int32_t pictureWidth,
               int32_t pictureHeight) {
    view.Scroll_X = scrollX;
    view.Scroll_Y = scrollY;
    saveViewState(view);
    view.Root->Parent = view.Saved_Parent;
    view.Picture_Width = pictureWidth;
    view.Picture_Height = pictureHeight;
}

TNode_View* TView_List::findView(const TTree_Node* node) const {
    for (const auto& view : Views_)
        if (view->Root == node) return view.get();
    return nullptr;
}

TNode_View* TView_List::newView(TTree_Node* node, bool* created) {
    TNode_View* existing = findView(node);
    if (created != nullptr) *created = existing == nullptr;
    if (existing != nullptr) return existing;
    auto view = std::make_unique<TNode_View>();
    view->Saved_Parent = node->Parent;
    view->Root = node;
    Views_.push_back(std::move(view));
    if (Current_ == nullptr) Current_ = Views_.back().get();
    return Views_.back().get();
}

bool TView_List::closeView(TNode_View* view) {
    for (size_t i = 0; i < Views_.size(); ++i) {
        if (Views_[i].get() != view) continue;
        view->Root->Parent = view->Saved_Parent;
        const bool wasCurrent = Current_ == view;
        if (i + 1 != Views_.size()) Views_[i] = std::move(Views_.back());
        Views_.pop_back();
        if (wasCurrent) Current_ = Views_.empty() ? nullptr : Views_.front().get();
        return true;
    }
    return false;
}

}  // namespace vetra
