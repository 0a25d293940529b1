#include "store/journaled_save.h"

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

// The bytes of the old file the writer overwrites: the index room at offset
// 0 and the old runs of changed notes that are rewritten in place.
std::vector<TByte_Range> rangesToOverwrite(const std::vector<TNote_Fields>& fields, int64_t bound) {
    std::vector<TByte_Range> ranges{{0, bound}};
    for (const TNote_Fields& f : fields)
        if (f.Dirty && f.Work_Size > 0 && f.Size >= f.Work_Size && f.Offset >= bound)
            ranges.push_back({f.Offset, f.Size});
    return ranges;
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
    TSave_Journal journal(path, open);
    if (!journal.begin(file, rangesToOverwrite(fields, indexBound(root)))) return false;
    TGuarded_File guarded(file, journal);
    if (writeDocument(guarded, root, viewRoots, store) && journal.finish()) return true;
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
