#include "model/undo_history.h"

namespace vetra {

TUndo_Record& TUndo_Group::add(TUndo_Op op, TTree_Node* node, TTree_Node* a, TTree_Node* b) {
    auto record = std::make_unique<TUndo_Record>();
    record->Op = op;
    record->Node = node;
    record->A = a;
    record->B = b;
    Records_.push_back(std::move(record));
    return *Records_.back();
}

void TUndo_Group::recordErase(TTree_Node* parent, int32_t index,
                              std::unique_ptr<TTree_Node> erased) {
    TUndo_Record& record = add(TUndo_Op::Erase, erased.get(), parent, nullptr);
    record.Index = index;
    record.Owned = std::move(erased);
}

void TUndo_Group::recordEraseParent(TTree_Node* node, std::unique_ptr<TTree_Node> removedParent) {
    TUndo_Record& record = add(TUndo_Op::Erase_Parent, node, removedParent.get(), nullptr);
    record.Owned = std::move(removedParent);
}

void TUndo_Group::recordMove(TTree_Node* node, TTree_Node* oldParent, TTree_Node* newParent) {
    TUndo_Record& record = add(TUndo_Op::Move, node, oldParent, newParent);
    record.Index = oldParent->indexOfChild(node);
}

void TUndo_Group::recordCreate(TTree_Node* created, TTree_Node* parent) {
    add(TUndo_Op::Create, created, parent, nullptr);
}

void TUndo_Group::recordCreateParent(TTree_Node* node) {
    add(TUndo_Op::Create_Parent, node, nullptr, nullptr);
}

void TUndo_Group::recordChange(TTree_Node* node) {
    add(TUndo_Op::Change, node, nullptr, nullptr).Copy = node->clone();
}

std::unique_ptr<TUndo_Record> TUndo_Group::takeNewest() {
    if (Records_.empty()) return nullptr;
    std::unique_ptr<TUndo_Record> record = std::move(Records_.back());
    Records_.pop_back();
    return record;
}

TUndo_Group& TUndo_History::beginGroup() {
    Redo_.clear();
    Groups_.push_back(std::make_unique<TUndo_Group>());
    return *Groups_.back();
}

void TUndo_History::dropNewest() {
    if (!Groups_.empty()) Groups_.pop_back();
}

namespace {
std::unique_ptr<TUndo_Group> takeBack(std::vector<std::unique_ptr<TUndo_Group>>& groups) {
    if (groups.empty()) return nullptr;
    std::unique_ptr<TUndo_Group> group = std::move(groups.back());
    groups.pop_back();
    return group;
}
}  // namespace

std::unique_ptr<TUndo_Group> TUndo_History::takeNewest() {
    return takeBack(Groups_);
}

std::unique_ptr<TUndo_Group> TUndo_History::takeNewestRedo() {
    return takeBack(Redo_);
}

}  // namespace vetra
