#include "store/document_writer.h"

#include <limits>
#include <string>

#include "store/node_record.h"
#include "store/note_codec.h"

namespace vetra {
namespace {

constexpr int64_t kMaxFileOffset = std::numeric_limits<int32_t>::max();

class TNotes_Pass {
  public:
    TNotes_Pass(TFile& file, TContent_Store* store, int64_t bound, int64_t end)
        : File_(file), Store_(store), Bound_(bound), End_(end) {}

    bool writeNote(TTree_Node& node) {
        if (node.Content_Dirty && node.Work_Size <= 0) node.Content_Dirty = 0;
        if (node.Content_Dirty) return writeChangedNote(node);
        if (node.Content_Offset >= Bound_) return true;
        if (node.Content_Size <= 0) {
            node.Content_Offset = 0;
            return true;
        }
        return moveStoredNote(node);
    }

  private:
    bool writeChangedNote(TTree_Node& node) {
        if (Store_ == nullptr || !Store_->read(node.Work_Offset, node.Work_Size, Buffer_))
            return false;
        TStored_Note kept = encodeNote(Buffer_);
        auto size = static_cast<int64_t>(kept.bytes.size());
        bool inPlace = node.Content_Size >= node.Work_Size && node.Content_Offset >= Bound_;
        int64_t at = inPlace ? node.Content_Offset : End_;
        if (!put(at, kept.bytes)) return false;
        if (!inPlace) End_ += size;
        node.Content_Offset = static_cast<int32_t>(at);
        node.Content_Size = static_cast<int32_t>(size);
        node.Content_Raw_Size = kept.rawSize;
        node.Content_Dirty = 0;
        node.Work_Offset = node.Work_Size = 0;
        return true;
    }

    bool moveStoredNote(TTree_Node& node) {
        if (node.Content_Offset < 0 || int64_t{node.Content_Offset} + node.Content_Size > End_)
            return false;
        Buffer_.resize(static_cast<size_t>(node.Content_Size));
        if (!File_.seek(node.Content_Offset) ||
            File_.read(Buffer_.data(), node.Content_Size) != node.Content_Size)
            return false;
        if (!put(End_, Buffer_)) return false;
        node.Content_Offset = static_cast<int32_t>(End_);
        End_ += node.Content_Size;
        return true;
    }

    bool put(int64_t at, const std::string& bytes) {
        if (at + int64_t(bytes.size()) > kMaxFileOffset) return false;
        return File_.seek(at) && File_.write(bytes.data(), int64_t(bytes.size()));
    }

    TFile& File_;
    TContent_Store* Store_;
    int64_t Bound_;
    int64_t End_;
    std::string Buffer_;
};

}  // namespace

bool writeZeros(TFile& file, int64_t offset, int64_t count) {
    static const char kZeros[64 * 1024] = {};
    if (!file.seek(offset)) return false;
    while (count > 0) {
        int64_t piece = std::min<int64_t>(count, sizeof kZeros);
        if (!file.write(kZeros, piece)) return false;
        count -= piece;
    }
    return true;
}

bool writeDocument(TFile& file, TTree_Node& root, const std::vector<const TTree_Node*>& viewRoots,
                   TContent_Store* store) {
    return writeNotes(file, root, store) && file.seek(0) && writeNodeTree(file, root, viewRoots) &&
           file.flush();
}

bool writeNotes(TFile& file, TTree_Node& root, TContent_Store* store, int64_t bound) {
    if (bound < 0) bound = indexBound(root);
    int64_t end = file.size();
    if (end < 0 || bound > kMaxFileOffset) return false;
    if (end < bound) {
        if (!writeZeros(file, end, bound - end)) return false;
        end = bound;
    }
    TNotes_Pass notes(file, store, bound, end);
    std::vector<TTree_Node*> pending{&root};
    while (!pending.empty()) {
        TTree_Node* node = pending.back();
        pending.pop_back();
        if (!notes.writeNote(*node)) return false;
        for (int32_t i = node->childCount(); i-- > 0;) pending.push_back(node->child(i));
    }
    return true;
}

}  // namespace vetra
