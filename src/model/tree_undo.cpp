// Taking back the newest undo group, record by record, newest first.

#include <algorithm>

#include "model/tree_commands.h"
#include "model/tree_placement.h"

namespace vetra {
namespace {

// Each function returns the node to select afterwards, or none when the record
// no longer matches the tree and is skipped.

TTree_Node* undoErase(TUndo_Record& record) {
    TTree_Node* node = record.Node;
    record.A->insertChild(std::move(record.Owned), record.Index)->recomputeDepth();
    return node;
}

TTree_Node* undoEraseParent(TEdit_Context& ctx, TUndo_Record& record) {
    TTree_Node* node = record.Node;
    if (!standsInTree(ctx.Doc, ctx.View, node)) return nullptr;
    TTree_Node* parent = record.A;
    std::unique_ptr<TTree_Node> taken =
        replaceInTree(ctx.Doc, ctx.View, node, std::move(record.Owned));
    parent->appendChild(std::move(taken));
    parent->recomputeDepth();
    return node;
}

TTree_Node* undoMove(TUndo_Record& record) {
    std::unique_ptr<TTree_Node> moved = record.B->removeChild(record.Node);
    if (!moved) return nullptr;
    record.A->insertChild(std::move(moved), record.Index)->recomputeDepth();
    return record.Node;
}

TTree_Node* undoCreate(TEdit_Context& ctx, TUndo_Record& record) {
    TTree_Node* created = record.Node;
    TTree_Node* parent = created->Parent;
    if (parent != nullptr && parent->indexOfChild(created) >= 0) {
        ctx.Host.closeViewsOf(*created, true);
        parent->removeChild(created);  // destroyed here with its subtree
    }
    return record.A;
}

TTree_Node* undoCreateParent(TEdit_Context& ctx, TUndo_Record& record) {
    TTree_Node* node = record.Node;
    TTree_Node* added = node->Parent;
    if (added == nullptr || !standsInTree(ctx.Doc, ctx.View, added)) return nullptr;
    std::unique_ptr<TTree_Node> child = added->removeChild(node);
    ctx.Host.closeViewsOf(*added, false);
    // `added` leaves the tree here and is destroyed with what it still holds.
    replaceInTree(ctx.Doc, ctx.View, added, std::move(child));
    node->recomputeDepth();
    return node;
}

TTree_Node* undoChange(TUndo_Record& record) {
    record.Node->copyContentFrom(*record.Copy);
    record.Copy.reset();
    return record.Node;
}

TTree_Node* takeBack(TEdit_Context& ctx, TUndo_Record& record) {
    switch (record.Op) {
        case TUndo_Op::Erase:
            return undoErase(record);
        case TUndo_Op::Erase_Parent:
            return undoEraseParent(ctx, record);
        case TUndo_Op::Move:
            return undoMove(record);
        case TUndo_Op::Create:
            return undoCreate(ctx, record);
        case TUndo_Op::Create_Parent:
            return undoCreateParent(ctx, record);
        case TUndo_Op::Change:
            return undoChange(record);
    }
    return nullptr;
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
    TUndo_Group* group = ctx.Doc.Undo.newest();
    if (group == nullptr) return false;
    if (overfillsANode(ctx, *group)) return false;
    while (std::unique_ptr<TUndo_Record> record = group->takeNewest()) {
        TTree_Node* select = takeBack(ctx, *record);
        if (select == nullptr) continue;
        ctx.View.Root->clearSelection();
        select->Selected = 1;
    }
    ctx.Doc.Undo.dropNewest();
    if (ctx.View.Is_Main_View) ctx.View.Root = ctx.Doc.root();
    ctx.Host.refreshView();
    return true;
}

}  // namespace vetra
