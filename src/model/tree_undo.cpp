// Taking back the newest undo group, record by record, newest first, and
// redoing what was taken back. Taking a record back yields its inverse, so a
// redo is a take-back of the inverse group and restores the very same nodes.

#include <algorithm>

#include "model/selection.h"
#include "model/tree_commands.h"
#include "model/tree_placement.h"

namespace vetra {
namespace {

struct TTaken {
    TTree_Node* select = nullptr;  // none when the record no longer matched the tree
    std::unique_ptr<TUndo_Record> inverse;
};

std::unique_ptr<TUndo_Record> makeRecord(TUndo_Op op, TTree_Node* node, TTree_Node* a = nullptr,
                                         TTree_Node* b = nullptr, int32_t index = 0) {
    auto record = std::make_unique<TUndo_Record>();
    record->Op = op;
    record->Node = node;
    record->A = a;
    record->B = b;
    record->Index = index;
    return record;
}

bool viewRootInside(const TCurrent_View& view, const TTree_Node& node) {
    for (const TTree_Node* at = view.Root; at != nullptr; at = view.realParent(at))
        if (at == &node) return true;
    return false;
}

// The subtree of `node` leaves the tree: the current view must not stay on
// a node inside it, so the main view becomes current first.
void leaveViewInside(TEdit_Context& ctx, const TTree_Node& node) {
    if (ctx.View.Is_Main_View || !viewRootInside(ctx.View, node)) return;
    ctx.Host.showMainView();
    if (ctx.View.Is_Main_View) return;
    // Without a window the model switches its view itself.
    ctx.View.restoreParentLink();
    ctx.View.Root = ctx.Doc.root();
    ctx.View.Saved_Parent = nullptr;
    ctx.View.Is_Main_View = true;
}

// Puts the kept subtree back under A at Index (an erase taken back, or a
// create redone).
TTaken takeBackErase(TUndo_Record& record) {
    TTree_Node* node = record.Node;
    int32_t index = std::clamp(record.Index, 0, record.A->childCount());
    record.A->insertChild(std::move(record.Owned), index)->recomputeDepth();
    return {node, makeRecord(TUndo_Op::Create, node, record.A)};
}

// Takes the created subtree out again; it is kept by the inverse record.
TTaken takeBackCreate(TEdit_Context& ctx, TUndo_Record& record) {
    TTree_Node* created = record.Node;
    if (!standsInTree(ctx.Doc, ctx.View, created) || created == ctx.Doc.root()) return {};
    leaveViewInside(ctx, *created);
    ctx.Host.closeViewsOf(*created, true);
    TTree_Node* parent = ctx.View.realParent(created);
    int32_t index = parent->indexOfChild(created);
    std::unique_ptr<TTree_Node> taken = parent->removeChild(created);
    taken->Parent = nullptr;
    auto inverse = makeRecord(TUndo_Op::Erase, created, parent, nullptr, index);
    inverse->Owned = std::move(taken);
    return {record.A, std::move(inverse)};
}

TTaken takeBackEraseParent(TEdit_Context& ctx, TUndo_Record& record) {
    TTree_Node* node = record.Node;
    if (!standsInTree(ctx.Doc, ctx.View, node)) return {};
    TTree_Node* parent = record.A;
    std::unique_ptr<TTree_Node> taken =
        replaceInTree(ctx.Doc, ctx.View, node, std::move(record.Owned));
    parent->appendChild(std::move(taken));
    parent->recomputeDepth();
    return {node, makeRecord(TUndo_Op::Create_Parent, node)};
}

TTaken takeBackCreateParent(TEdit_Context& ctx, TUndo_Record& record) {
    TTree_Node* node = record.Node;
    TTree_Node* added = ctx.View.realParent(node);
    if (added == nullptr || !standsInTree(ctx.Doc, ctx.View, added)) return {};
    std::unique_ptr<TTree_Node> child = added->removeChild(node);
    if (!child) return {};
    const bool nodeIsViewRoot = ctx.View.Root == node;
    ctx.Host.closeViewsOf(*added, false);
    std::unique_ptr<TTree_Node> removed = replaceInTree(ctx.Doc, ctx.View, added, std::move(child));
    node->recomputeDepth();
    if (nodeIsViewRoot) {
        // The view stays on the node, which now stands where `added` stood.
        ctx.View.Saved_Parent = node->Parent;
        ctx.View.cutParentLink();
    }
    auto inverse = makeRecord(TUndo_Op::Erase_Parent, node, removed.get());
    inverse->Owned = std::move(removed);
    return {node, std::move(inverse)};
}

TTaken takeBackMove(TEdit_Context& ctx, TUndo_Record& record) {
    TTree_Node* node = record.Node;
    TTree_Node* from = ctx.View.realParent(node);
    if (from == nullptr) return {};
    int32_t fromIndex = from->indexOfChild(node);
    std::unique_ptr<TTree_Node> moved = from->removeChild(node);
    if (!moved) return {};
    int32_t index = std::clamp(record.Index, 0, record.A->childCount());
    record.A->insertChild(std::move(moved), index)->recomputeDepth();
    if (ctx.View.Root == node) {
        // The view stays on the node; its cut follows it to the new parent.
        ctx.View.Saved_Parent = record.A;
        ctx.View.cutParentLink();
    }
    return {node, makeRecord(TUndo_Op::Move, node, from, record.A, fromIndex)};
}

TTaken takeBackChange(TUndo_Record& record) {
    auto inverse = makeRecord(TUndo_Op::Change, record.Node);
    inverse->Copy = record.Node->clone();
    record.Node->copyContentFrom(*record.Copy);
    record.Copy.reset();
    return {record.Node, std::move(inverse)};
}

TTaken takeBack(TEdit_Context& ctx, TUndo_Record& record) {
    switch (record.Op) {
        case TUndo_Op::Erase:
            return takeBackErase(record);
        case TUndo_Op::Erase_Parent:
            return takeBackEraseParent(ctx, record);
        case TUndo_Op::Move:
            return takeBackMove(ctx, record);
        case TUndo_Op::Create:
            return takeBackCreate(ctx, record);
        case TUndo_Op::Create_Parent:
            return takeBackCreateParent(ctx, record);
        case TUndo_Op::Change:
            return takeBackChange(record);
    }
    return {};
}

// Takes back every record of `group`, newest first, and returns the inverse
// group. `selectable` receives the node to select afterwards.
std::unique_ptr<TUndo_Group> takeBackGroup(TEdit_Context& ctx, TUndo_Group& group,
                                           std::vector<TTree_Node*>& selectable) {
    auto inverse = std::make_unique<TUndo_Group>();
    while (std::unique_ptr<TUndo_Record> record = group.takeNewest()) {
        TTaken taken = takeBack(ctx, *record);
        if (taken.select == nullptr) continue;
        selectable.assign(1, taken.select);
        inverse->append(std::move(taken.inverse));
    }
    // Appended in the order they were taken back, the inverse records run
    // newest first again: the record taken back last is applied again first.
    return inverse;
}

// Selects the remembered nodes that live in the view, without walking it.
void selectNodes(TEdit_Context& ctx, const TNode_Memory& nodes) {
    ctx.View.Root->clearSelection();
    for (TTree_Node* node : nodes.living())
        if (holdsInSubtree(ctx.View.Root, node)) node->setSelected(true);
}

// True (after telling the user) when taking the group back would give a node
// more children than a file can hold.
bool overfillsANode(TEdit_Context& ctx, TUndo_Group& group) {
    std::vector<std::pair<const TTree_Node*, int64_t>> gains;
    for (int32_t i = 0; i < group.count(); ++i) {
        const TUndo_Record& record = group.record(i);
        bool adds = record.Op == TUndo_Op::Erase || record.Op == TUndo_Op::Erase_Parent ||
                    (record.Op == TUndo_Op::Move && record.A != record.B);
        if (!adds || record.A == nullptr) continue;
        auto at = std::find_if(gains.begin(), gains.end(),
                               [&](const auto& gain) { return gain.first == record.A; });
        if (at == gains.end()) at = gains.insert(gains.end(), {record.A, 0});
        ++at->second;
    }
    for (const auto& [parent, added] : gains)
        if (refusesMoreChildren(ctx, *parent, added)) return true;
    return false;
}

}  // namespace

bool undoLastCommand(TEdit_Context& ctx) {
    TUndo_Group* newest = ctx.Doc.Undo.newest();
    if (newest == nullptr || overfillsANode(ctx, *newest)) return false;
    std::unique_ptr<TUndo_Group> group = ctx.Doc.Undo.takeNewest();
    // Remembered before taking back, which may destroy some of them.
    TNode_Memory selectedBefore;
    selectedBefore.assign(selectedList(*ctx.View.Root));
    std::vector<TTree_Node*> select;
    std::unique_ptr<TUndo_Group> inverse = takeBackGroup(ctx, *group, select);
    inverse->Selection.swap(selectedBefore);
    ctx.Doc.Undo.pushRedo(std::move(inverse));
    if (ctx.View.Is_Main_View) ctx.View.Root = ctx.Doc.root();
    if (!select.empty()) {
        ctx.View.Root->clearSelection();
        select.front()->setSelected(true);
    }
    ctx.Host.refreshView();
    return true;
}

bool redoLastUndo(TEdit_Context& ctx) {
    TUndo_Group* newest = ctx.Doc.Undo.newestRedo();
    if (newest == nullptr || overfillsANode(ctx, *newest)) return false;
    std::unique_ptr<TUndo_Group> group = ctx.Doc.Undo.takeNewestRedo();
    std::vector<TTree_Node*> unused;
    std::unique_ptr<TUndo_Group> inverse = takeBackGroup(ctx, *group, unused);
    if (ctx.View.Is_Main_View) ctx.View.Root = ctx.Doc.root();
    selectNodes(ctx, group->Selection);
    ctx.Doc.Undo.pushUndo(std::move(inverse));
    ctx.Doc.Modified = 1;
    ctx.Host.refreshView();
    return true;
}

}  // namespace vetra
