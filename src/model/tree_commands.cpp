#include "model/tree_commands.h"

#include "model/selection.h"
#include "model/tree_placement.h"

namespace vetra {
namespace {

void finishEdit(TEdit_Context& ctx) {
    ctx.Host.refreshView();
    ctx.Doc.Modified = 1;
}

}  // namespace

bool refusesMoreChildren(TEdit_Context& ctx, const TTree_Node& parent, int64_t added) {
    if (int64_t{parent.childCount()} + added <= kMax_Children) return false;
    ctx.Messages.warning(kToo_Many_Children);
    return true;
}

std::unique_ptr<TTree_Node> makeNewNode(int32_t color) {
    auto node = std::make_unique<TTree_Node>();
    node->setCaption(newNodeCaption());
    node->Color_Caption = color;
    return node;
}

bool createChild(TEdit_Context& ctx) {
    TTree_Node* parent = currentNode(*ctx.View.Root);
    if (parent == nullptr || refusesMoreChildren(ctx, *parent, 1)) return false;
    TTree_Node* created = parent->appendChild(makeNewNode(ctx.New_Node_Color));
    parent->Expanded = 1;
    ctx.Doc.Undo.beginGroup().recordCreate(created, parent);
    ctx.Host.refreshView();
    ctx.Host.makeVisible(*created);
    ctx.Host.openCaptionEditor(*created);
    ctx.Doc.Modified = 1;
    return true;
}

bool createParent(TEdit_Context& ctx) {
    TTree_Node* node = currentNode(*ctx.View.Root);
    if (node == nullptr || !standsInTree(ctx.Doc, ctx.View, node)) return false;
    ctx.Doc.Undo.beginGroup().recordCreateParent(node);
    auto created = makeNewNode(ctx.New_Node_Color);
    TTree_Node* newParent = created.get();
    std::unique_ptr<TTree_Node> taken = replaceInTree(ctx.Doc, ctx.View, node, std::move(created));
    newParent->appendChild(std::move(taken));
    newParent->recomputeDepth();
    ctx.Host.refreshView();
    ctx.Host.makeVisible(*node);
    ctx.Doc.Modified = 1;
    return true;
}

bool eraseParent(TEdit_Context& ctx) {
    TTree_Node* node = currentNode(*ctx.View.Root);
    if (node == nullptr) return false;
    TTree_Node* parent = node->Parent;
    if (parent == nullptr) {
        ctx.Messages.warning("無父節點，不允許刪除");
        return false;
    }
    if (parent->childCount() >= 2) {
        ctx.Messages.warning("父節點有多於1個字節點，不允許刪除");
        return false;
    }
    if (!standsInTree(ctx.Doc, ctx.View, parent)) return false;
    std::unique_ptr<TTree_Node> child = parent->removeChild(node);
    // Only the parent leaves the tree; the lifted child keeps its views and
    // any caption pending for it.
    ctx.Host.closeViewsOf(*parent, false);
    std::unique_ptr<TTree_Node> removed =
        replaceInTree(ctx.Doc, ctx.View, parent, std::move(child));
    node->recomputeDepth();
    ctx.Doc.Undo.beginGroup().recordEraseParent(node, std::move(removed));

    ctx.Clipboard.clear();
    std::unique_ptr<TTree_Node> copy = parent->clone();
    ctx.Doc.prepareDetachedCopy(*copy);
    ctx.Clipboard.append(std::move(copy));
    finishEdit(ctx);
    return true;
}

void copySelection(TEdit_Context& ctx) {
    ctx.Clipboard.clear();
    for (TTree_Node* node : selectedList(*ctx.View.Root)) {
        std::unique_ptr<TTree_Node> copy = node->cloneSubtree();
        ctx.Doc.prepareDetachedCopy(*copy);
        ctx.Clipboard.append(std::move(copy));
    }
}

bool eraseSelection(TEdit_Context& ctx) {
    std::vector<TTree_Node*> erased = eraseList(*ctx.View.Root);
    if (erased.empty()) return false;
    if (erased.front() == ctx.View.Root) {
        ctx.Messages.warning("根節點不允許刪除");
        return false;
    }
    copySelection(ctx);
    TUndo_Group& group = ctx.Doc.Undo.beginGroup();
    bool first = true;
    for (TTree_Node* node : erased) {
        TTree_Node* parent = node->Parent;
        ctx.Host.closeViewsOf(*node, true);
        int32_t index = parent->indexOfChild(node);
        group.recordErase(parent, index, parent->removeChild(node));
        if (!first) continue;
        first = false;
        TTree_Node* neighbour = parent;
        if (index < parent->childCount())
            neighbour = parent->child(index);
        else if (index > 0)
            neighbour = parent->child(index - 1);
        neighbour->setSelected(true);
    }
    finishEdit(ctx);
    return true;
}

bool pasteClipboard(TEdit_Context& ctx) {
    TTree_Node* parent = currentNode(*ctx.View.Root);
    if (parent == nullptr || ctx.Clipboard.empty()) return false;
    if (refusesMoreChildren(ctx, *parent, ctx.Clipboard.count())) return false;
    TUndo_Group& group = ctx.Doc.Undo.beginGroup();
    for (int32_t i = 0; i < ctx.Clipboard.count(); ++i) {
        TTree_Node* pasted = parent->appendChild(ctx.Clipboard.subtree(i).cloneSubtree());
        parent->Expanded = 1;
        parent->recomputeDepth();
        group.recordCreate(pasted, parent);
    }
    finishEdit(ctx);
    return true;
}

bool moveUp(TEdit_Context& ctx) {
    TTree_Node* node = currentNode(*ctx.View.Root);
    if (node == nullptr || node->Parent == nullptr || node->Parent->child(0) == node) return false;
    node->Parent->moveChildUp(node);
    ctx.Host.refreshView();
    return true;
}

bool moveDown(TEdit_Context& ctx) {
    TTree_Node* node = currentNode(*ctx.View.Root);
    if (node == nullptr || node->Parent == nullptr || node->Parent->Children.last() == node)
        return false;
    node->Parent->moveChildDown(node);
    ctx.Host.refreshView();
    return true;
}

bool canDropOnto(TEdit_Context& ctx, const TTree_Node* target) {
    if (target == nullptr) return false;
    std::vector<TTree_Node*> moved = eraseList(*ctx.View.Root);
    if (moved.empty()) return false;
    for (const TTree_Node* node : moved)
        if (isInSubtree(node, target) || node->Parent == target) return false;
    return true;
}

bool dropOnto(TEdit_Context& ctx, TTree_Node* target) {
    if (!canDropOnto(ctx, target)) return false;
    if (refusesMoreChildren(ctx, *target, int64_t(eraseList(*ctx.View.Root).size()))) return false;
    // The view root is never in the list here: every target lies inside it.
    TUndo_Group& group = ctx.Doc.Undo.beginGroup();
    for (TTree_Node* node : eraseList(*ctx.View.Root)) {
        TTree_Node* oldParent = node->Parent;
        group.recordMove(node, oldParent, target);
        target->appendChild(oldParent->removeChild(node))->recomputeDepth();
    }
    ctx.Host.refreshView();
    ctx.Host.makeVisible(*target);
    ctx.Doc.Modified = 1;
    ctx.Host.commitCaptionEditor();
    return true;
}

bool toggleExpanded(TEdit_Context& ctx) {
    TTree_Node* node = currentNode(*ctx.View.Root);
    if (node == nullptr) return false;
    node->Expanded = node->Expanded ? 0 : 1;
    ctx.Host.refreshView();
    return true;
}

void expandToLevelCommand(TEdit_Context& ctx, int level) {
    TTree_Node* node = currentNode(*ctx.View.Root);
    (node != nullptr ? node : ctx.View.Root)->expandToLevel(level);
    ctx.Host.refreshView();
}

void recordContentChange(TDocument_Tree& doc, const std::vector<TTree_Node*>& nodes) {
    if (nodes.empty()) return;
    TUndo_Group& group = doc.Undo.beginGroup();
    for (TTree_Node* node : nodes) group.recordChange(node);
}

}  // namespace vetra
