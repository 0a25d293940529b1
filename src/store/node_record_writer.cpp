#include <algorithm>
#include <string>

#include "platform/text_mode.h"
#include "store/node_record.h"
#include "store/node_record_format.h"

namespace vetra {
namespace {

// Collects records in a buffer and hands it to the file in large pieces.
// Sticky failure: after one failed write nothing more is written.
class TRecord_Output {
  public:
    explicit TRecord_Output(TFile& file) : File_(file) { Buffer_.reserve(kChunk + 1024); }

    void putTag(unsigned char tag, int32_t length) {
        Buffer_.push_back(static_cast<char>(tag));
        putInt32(length);
    }

    void putInt32(int32_t value) {
        auto bits = static_cast<uint32_t>(value);
        char bytes[4] = {static_cast<char>(bits >> 24), static_cast<char>(bits >> 16),
                         static_cast<char>(bits >> 8), static_cast<char>(bits)};
        Buffer_.append(bytes, 4);
    }

    void putIntegerRecord(unsigned char tag, int32_t value) {
        putTag(tag, 4);
        putInt32(value);
    }

    void putTextRecord(unsigned char tag, std::string_view text) {
        putTag(tag, static_cast<int32_t>(text.size()));
        Buffer_.append(text);
    }

    void putHeader() {
        Buffer_.append(record::kMagic, 2);
        Buffer_.append(record::kVersion, 2);
    }

    void putByteRecord(unsigned char tag, char value) {
        putTag(tag, 1);
        Buffer_.push_back(value);
    }

    // Writes out the buffer once it holds a chunk's worth.
    void drainIfFull() {
        if (Buffer_.size() >= kChunk) drain();
    }

    bool finish() {
        drain();
        return Ok_;
    }

  private:
    static constexpr size_t kChunk = 64 * 1024;

    void drain() {
        if (Ok_ && !Buffer_.empty())
            Ok_ = File_.write(Buffer_.data(), static_cast<int64_t>(Buffer_.size()));
        Buffer_.clear();
    }

    TFile& File_;
    std::string Buffer_;
    bool Ok_ = true;
};

void writeRecord(TRecord_Output& out, const TTree_Node& node, bool isViewRoot, int textMode) {
    out.putHeader();
    out.putIntegerRecord(record::Text_Mode, textMode);
    out.putTextRecord(record::Caption, node.Caption.view());
    if (node.Note_Excerpt.isPresent()) out.putTextRecord(record::Excerpt, node.Note_Excerpt.view());
    if (node.Link.isPresent()) out.putTextRecord(record::Link, node.Link.view());
    if (node.Content_Raw_Size > 0) out.putIntegerRecord(record::Raw_Size, node.Content_Raw_Size);
    out.putIntegerRecord(record::Color_Caption, node.Color_Caption);
    out.putByteRecord(record::Format_Marker, 'A');
    out.putIntegerRecord(record::Content_Offset, node.Content_Offset);
    out.putIntegerRecord(record::Content_Size, node.Content_Size);
    int32_t flags =
        (node.Expanded ? record::kFlagExpanded : 0) | (isViewRoot ? record::kFlagViewRoot : 0);
    out.putIntegerRecord(record::Flags, flags);
    out.putIntegerRecord(record::Note_Caret, node.Note_Caret);
    out.putIntegerRecord(record::Font_Style, node.Font_Style);
    out.putTextRecord(record::Font_Name, node.fontName());
    out.putIntegerRecord(record::Font_Size, node.Font_Size);
    out.putIntegerRecord(record::Color_Fill, node.Color_Fill);
    out.putIntegerRecord(record::Edge_Width, node.Edge_Width);
    out.putIntegerRecord(record::Color_Edge, node.Color_Edge);
    out.putIntegerRecord(record::Edge_Style, node.Edge_Style);
    out.putIntegerRecord(record::Link_Down_Width, node.Link_Down_Width);
    out.putIntegerRecord(record::Color_Link_Down, node.Color_Link_Down);
    out.putIntegerRecord(record::Link_Style, node.Link_Style);
    out.putIntegerRecord(record::Link_Up_Width, node.Link_Up_Width);
    out.putIntegerRecord(record::Color_Link_Up, node.Color_Link_Up);
    out.putIntegerRecord(record::View_Style, node.View_Style);
    out.putTag(record::Children, node.childCount());
}

}  // namespace

bool writeNodeTree(TFile& file, const TTree_Node& root,
                   const std::vector<const TTree_Node*>& viewRoots) {
    TRecord_Output out(file);
    int textMode = activeTextMode();
    auto isViewRoot = [&](const TTree_Node* node) {
        return std::find(viewRoots.begin(), viewRoots.end(), node) != viewRoots.end();
    };
    // Pre-order without recursion: children are pushed last-first.
    std::vector<const TTree_Node*> pending{&root};
    while (!pending.empty()) {
        const TTree_Node* node = pending.back();
        pending.pop_back();
        writeRecord(out, *node, isViewRoot(node), textMode);
        out.drainIfFull();
        for (int32_t i = node->childCount(); i-- > 0;) pending.push_back(node->child(i));
    }
    return out.finish();
}

int64_t indexBound(const TTree_Node& root) {
    int64_t bound = 0;
    std::vector<const TTree_Node*> pending{&root};
    while (!pending.empty()) {
        const TTree_Node* node = pending.back();
        pending.pop_back();
        bound += record::kIndexRecordFixed + node->Caption.size() + node->Link.size() +
                 node->Note_Excerpt.size() + node->fontName().size();
        pending.insert(pending.end(), node->Children.begin(), node->Children.end());
    }
    return bound;
}

}  // namespace vetra
