#include "store/journaled_save.h"

#include <algorithm>
#include <cstring>

#include "store/document_writer.h"
#include "store/node_record.h"
#include "store/node_record_format.h"

namespace vetra {
namespace {

// The document as the writer sees it: writes to bytes the journal does not
// hold are refused, so no save can damage what it cannot put back.
class TGuarded_File : public TFile {
  public:
    TGuarded_File(TFile& inner, const TSave_Journal& journal) : Inner_(inner), Journal_(journal) {}

    bool seek(int64_t offset) override { return Inner_.seek(offset); }
    int64_t position() const override { return Inner_.position(); }
    int64_t read(void* buffer, int64_t count) override { return Inner_.read(buffer, count); }
    bool write(const void* buffer, int64_t count) override {
        return Journal_.covers(Inner_.position(), count) && Inner_.write(buffer, count);
    }
    int64_t size() const override { return Inner_.size(); }
    bool flush() override { return Inner_.flush(); }
    bool truncate(int64_t) override { return false; }

  private:
    TFile& Inner_;
    const TSave_Journal& Journal_;
};

// What a save may change in a node; put back after a failed save.
struct TNote_Fields {
    TTree_Node* Node;
    int32_t Offset, Size, Raw_Size, Work_Offset, Work_Size;
    int8_t Dirty;
};

std::vector<TNote_Fields> noteFieldsOf(TTree_Node& root) {
    std::vector<TNote_Fields> fields;
    std::vector<TTree_Node*> pending{&root};
    while (!pending.empty()) {
        TTree_Node* node = pending.back();
        pending.pop_back();
        fields.push_back({node, node->Content_Offset, node->Content_Size, node->Content_Raw_Size,
                          node->Work_Offset, node->Work_Size,
                          static_cast<int8_t>(node->Content_Dirty)});
        pending.insert(pending.end(), node->Children.begin(), node->Children.end());
    }
    return fields;
}

void restore(const std::vector<TNote_Fields>& fields) {
    for (const TNote_Fields& f : fields) {
        f.Node->Content_Offset = f.Offset;
        f.Node->Content_Size = f.Size;
        f.Node->Content_Raw_Size = f.Raw_Size;
        f.Node->Work_Offset = f.Work_Offset;
        f.Node->Work_Size = f.Work_Size;
        f.Node->Content_Dirty = f.Dirty;
    }
}

// The old runs of changed notes that the notes pass rewrites in place.
std::vector<TByte_Range> notesRewrittenInPlace(const std::vector<TNote_Fields>& fields,
                                               int64_t bound) {
    std::vector<TByte_Range> ranges;
    for (const TNote_Fields& f : fields)
        if (f.Dirty && f.Work_Size > 0 && f.Size >= f.Work_Size && f.Offset >= bound)
            ranges.push_back({f.Offset, f.Size});
    return ranges;
}

// The new index, built in memory before any of it is written. The buffer
// keeps its storage from one save to the next (saves run one at a time), so
// a large document's index does not fault in fresh memory on every save.
class TIndex_Buffer : public TFile {
  public:
    explicit TIndex_Buffer(int64_t bound) : Bytes_(storage()) {
        Bytes_.clear();
        Bytes_.reserve(static_cast<size_t>(bound));
    }
    bool seek(int64_t offset) override { return offset == int64_t(Bytes_.size()); }
    int64_t position() const override { return int64_t(Bytes_.size()); }
    int64_t read(void*, int64_t) override { return -1; }
    bool write(const void* buffer, int64_t count) override {
        Bytes_.append(static_cast<const char*>(buffer), static_cast<size_t>(count));
        return true;
    }
    int64_t size() const override { return int64_t(Bytes_.size()); }
    bool flush() override { return true; }
    bool truncate(int64_t) override { return false; }
    const std::string& bytes() const { return Bytes_; }

  private:
    static std::string& storage() {
        static std::string kept;
        return kept;
    }
    std::string& Bytes_;
};

// The span below `oldSize` where the new index differs from the file: from
// the first differing byte to the last (a caption or a record that changes
// length shifts everything behind it anyway). Empty when nothing differs;
// false when the file cannot be read.
bool changedRanges(TFile& file, const std::string& index, int64_t oldSize,
                   std::vector<TByte_Range>& ranges) {
    constexpr int64_t kPiece = 256 * 1024;
    int64_t limit = std::min(int64_t(index.size()), oldSize);
    std::string old(static_cast<size_t>(std::min(limit, kPiece)), '\0');
    // Where the piece at `at` first (or last) differs, or -1.
    auto differs = [&](int64_t at, int64_t count, bool fromEnd, int64_t& where) {
        if (!file.seek(at) || file.read(old.data(), count) != count) return false;
        where = -1;
        if (std::memcmp(old.data(), index.data() + at, size_t(count)) == 0) return true;
        for (int64_t i = 0; i < count; ++i) {
            int64_t k = fromEnd ? count - 1 - i : i;
            if (old[size_t(k)] != index[size_t(at + k)]) {
                where = at + k;
                break;
            }
        }
        return true;
    };
    int64_t first = -1, last = -1;
    for (int64_t at = 0; at < limit && first < 0; at += kPiece)
        if (!differs(at, std::min(kPiece, limit - at), false, first)) return false;
    if (first < 0) return true;
    for (int64_t end = limit; end > first && last < 0; end -= kPiece) {
        int64_t at = std::max(first, end - kPiece);
        if (!differs(at, end - at, true, last)) return false;
    }
    ranges.push_back({first, last + 1 - first});
    return true;
}

// Writes the changed span of the new index, and all of it past the old end.
bool writeChangedIndex(TFile& file, const std::string& index,
                       const std::vector<TByte_Range>& changed, int64_t oldSize) {
    for (const TByte_Range& range : changed)
        if (!file.seek(range.Offset) || !file.write(index.data() + range.Offset, range.Length))
            return false;
    int64_t tail = std::max<int64_t>(oldSize, 0);
    if (tail >= int64_t(index.size())) return true;
    return file.seek(tail) && file.write(index.data() + tail, int64_t(index.size()) - tail);
}

}  // namespace

const TTree_Node* nodeWithTooManyChildren(const TTree_Node& root) {
    std::vector<const TTree_Node*> pending{&root};
    while (!pending.empty()) {
        const TTree_Node* node = pending.back();
        pending.pop_back();
        if (node->childCount() > record::kMaxLength) return node;
        pending.insert(pending.end(), node->Children.begin(), node->Children.end());
    }
    return nullptr;
}

bool writeDocumentJournaled(TFile& file, const std::string& path, const TJournal_Opener& open,
                            TTree_Node& root, const std::vector<const TTree_Node*>& viewRoots,
                            TContent_Store* store) {
    if (nodeWithTooManyChildren(root) != nullptr) return false;
    std::vector<TNote_Fields> fields = noteFieldsOf(root);
    int64_t bound = indexBound(root);
    TSave_Journal journal(path, open);
    if (!journal.begin(file, notesRewrittenInPlace(fields, bound))) return false;
    // The notes go first (in place only where the journal holds the old
    // bytes); then the new index, now that it knows where the notes are, is
    // compared with the old one and only the parts that differ are saved in
    // the journal and written.
    TGuarded_File guarded(file, journal);
    TIndex_Buffer index(bound);
    std::vector<TByte_Range> changed;
    bool saved = writeNotes(guarded, root, store, bound) && writeNodeTree(index, root, viewRoots) &&
                 changedRanges(file, index.bytes(), journal.oldSize(), changed) &&
                 journal.add(file, changed) &&
                 writeChangedIndex(guarded, index.bytes(), changed, journal.oldSize()) &&
                 file.flush() && journal.finish();
    if (saved) return true;
    restore(fields);
    journal.rollBack(file);
    return false;
}

bool writeDocumentToNewFile(TFile& file, TTree_Node& root,
                            const std::vector<const TTree_Node*>& viewRoots,
                            TContent_Store* store) {
    if (nodeWithTooManyChildren(root) != nullptr) return false;
    std::vector<TNote_Fields> fields = noteFieldsOf(root);
    if (writeDocument(file, root, viewRoots, store)) return true;
    restore(fields);
    return false;
}

}  // namespace vetra
