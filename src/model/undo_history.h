#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "model/tree_node.h"

namespace vetra {

// What a command recorded to be taken back.
enum class TUndo_Op : uint32_t {
    Erase = 1,          // Node erased from A at Index; owns Node's subtree
    Erase_Parent = 2,   // Node took the place of its parent A, which the record owns
    Move = 3,           // Node moved from A (at Index) to B
    Create = 4,         // Node created (or pasted) under A
    Create_Parent = 5,  // a new parent was put above Node
    Change = 6,         // Node's content changed; Copy holds it as it was
};

struct TUndo_Record {
    TUndo_Op Op = TUndo_Op::Change;
    TTree_Node* Node = nullptr;
    TTree_Node* A = nullptr;
    TTree_Node* B = nullptr;
    std::unique_ptr<TTree_Node> Copy;   // op 6: a clone of Node's content
    std::unique_ptr<TTree_Node> Owned;  // ops 1 and 2: the detached subtree
    int32_t Index = 0;                  // ops 1 and 3: Node's index in A
};

// The records of one command, oldest first. A group has no size limit: undo
// must take back the whole command, and dropping a record that owns an erased
// subtree would lose it for good.
class TUndo_Group {
  public:
    // Requires: `erased` is the subtree of `node`, just taken out of `parent` at `index`.
    void recordErase(TTree_Node* parent, int32_t index, std::unique_ptr<TTree_Node> erased);
    // Requires: `removedParent` no longer holds `node` and stands nowhere in the tree.
    void recordEraseParent(TTree_Node* node, std::unique_ptr<TTree_Node> removedParent);
    // Before the move: `node` is still a child of `oldParent`.
    void recordMove(TTree_Node* node, TTree_Node* oldParent, TTree_Node* newParent);
    void recordCreate(TTree_Node* created, TTree_Node* parent);
    void recordCreateParent(TTree_Node* node);
    // Before the change: keeps a clone of the node's content.
    void recordChange(TTree_Node* node);

    int32_t count() const { return static_cast<int32_t>(Records_.size()); }
    bool empty() const { return Records_.empty(); }
    TUndo_Record& record(int32_t index) { return *Records_[index]; }
    // Hands over the newest record.
    std::unique_ptr<TUndo_Record> takeNewest();
    void append(std::unique_ptr<TUndo_Record> record) { Records_.push_back(std::move(record)); }

    // The nodes selected when the group was taken back, selected again when
    // it is redone (those that still live).
    TNode_Memory Selection;

  private:
    TUndo_Record& add(TUndo_Op op, TTree_Node* node, TTree_Node* a, TTree_Node* b);

    std::vector<std::unique_ptr<TUndo_Record>> Records_;
};

// The groups of a document since it was last saved or opened, oldest first,
// and the groups taken back since the last new command, ready to be redone.
class TUndo_History {
  public:
    // A new command: whatever was taken back can no longer be redone.
    TUndo_Group& beginGroup();
    int32_t count() const { return static_cast<int32_t>(Groups_.size()); }
    int32_t redoCount() const { return static_cast<int32_t>(Redo_.size()); }
    bool empty() const { return Groups_.empty(); }
    TUndo_Group* newest() { return Groups_.empty() ? nullptr : Groups_.back().get(); }
    TUndo_Group* newestRedo() { return Redo_.empty() ? nullptr : Redo_.back().get(); }
    TUndo_Group& group(int32_t index) { return *Groups_[index]; }
    // Removes the newest group, releasing whatever its records still own.
    void dropNewest();
    // Hands over the newest group, to be taken back.
    std::unique_ptr<TUndo_Group> takeNewest();
    std::unique_ptr<TUndo_Group> takeNewestRedo();
    // The inverse of a group taken back, or of one redone.
    void pushRedo(std::unique_ptr<TUndo_Group> group) { Redo_.push_back(std::move(group)); }
    void pushUndo(std::unique_ptr<TUndo_Group> group) { Groups_.push_back(std::move(group)); }
    // Discards every group with what it owns.
    void clear() {
        Groups_.clear();
        Redo_.clear();
    }

  private:
    std::vector<std::unique_ptr<TUndo_Group>> Groups_;
    std::vector<std::unique_ptr<TUndo_Group>> Redo_;
};

}  // namespace vetra
