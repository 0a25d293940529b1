#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "platform/text_mode.h"
#include "store/node_record.h"
#include "store/node_record_format.h"
#include "store/record_text.h"

namespace vetra {
namespace {

// Children a list makes room for before they are read; longer lists grow.
constexpr int32_t kReserved_Children = 64;

// Reads a file from its current position in one forward pass through one
// buffer: fields are decoded in place and texts are handed out as views into
// the buffer, so a node costs no system call and no copy of its own. The
// buffer is larger than the longest field, so every field fits whole. Every
// read is checked against the bytes left in the file, which bounds every
// allocation by the file's size.
class TRecord_Input {
  public:
    explicit TRecord_Input(TFile& file)
        : File_(file), Position_(file.position()), End_(file.size()) {
        if (End_ < 0 || Position_ < 0) {
            Failed_ = true;
            End_ = Position_ = 0;
        }
        Capacity_ = std::min<int64_t>(kBuffer_Size, std::max<int64_t>(remaining(), 1));
        Buffer_ = std::make_unique<char[]>(static_cast<size_t>(Capacity_));
        File_Position_ = Position_;
    }

    int64_t remaining() const { return End_ - Position_; }
    bool failed() const { return Failed_; }

    bool read(void* out, int64_t count) {
        const char* bytes = take(count);
        if (bytes == nullptr) return false;
        std::memcpy(out, bytes, static_cast<size_t>(count));
        return true;
    }

    bool readInt32(int32_t& value) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(take(4));
        if (bytes == nullptr) return false;
        value = static_cast<int32_t>((uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) |
                                     (uint32_t{bytes[2]} << 8) | uint32_t{bytes[3]});
        return true;
    }

    // A view of the next `length` bytes, valid until the next read.
    bool readText(std::string_view& text, int32_t length) {
        const char* bytes = take(length);
        if (bytes == nullptr) return false;
        text = {bytes, static_cast<size_t>(length)};
        return true;
    }

    bool skip(int64_t count) { return take(count) != nullptr; }

    // Leaves the file just behind what was consumed.
    bool finish() { return File_.seek(Position_); }

  private:
    // Larger than any field (record::kMaxLength) with room for the next ones.
    static constexpr int64_t kBuffer_Size = 1024 * 1024;
    static_assert(kBuffer_Size > record::kMaxLength + record::kTagHeaderSize);

    // The next `count` bytes, consumed; null when the file holds fewer.
    const char* take(int64_t count) {
        if (count < 0 || count > remaining()) return nullptr;
        if (Filled_ - Next_ < count && !fill(count)) return nullptr;
        const char* bytes = Buffer_.get() + Next_;
        Next_ += count;
        Position_ += count;
        return bytes;
    }

    // Moves the unread bytes to the front and reads behind them until at
    // least `count` bytes are buffered.
    bool fill(int64_t count) {
        if (count > Capacity_) return false;
        const int64_t kept = Filled_ - Next_;
        if (kept > 0 && Next_ > 0) std::memmove(Buffer_.get(), Buffer_.get() + Next_, size_t(kept));
        Next_ = 0;
        Filled_ = kept;
        if (!File_.seek(File_Position_)) return fail();
        while (Filled_ < count) {
            const int64_t want = std::min(Capacity_ - Filled_, End_ - File_Position_);
            if (want <= 0) return false;
            const int64_t got = File_.read(Buffer_.get() + Filled_, want);
            if (got <= 0) return got < 0 ? fail() : false;
            Filled_ += got;
            File_Position_ += got;
        }
        return true;
    }

    bool fail() {
        Failed_ = true;
        return false;
    }

    TFile& File_;
    int64_t Position_;  // file offset of the next unread byte
    int64_t End_;
    int64_t File_Position_;  // file offset of the byte behind the buffered ones
    int64_t Capacity_ = 0;
    std::unique_ptr<char[]> Buffer_;
    int64_t Next_ = 0;
    int64_t Filled_ = 0;
    bool Failed_ = false;
};

class TNode_Record_Reader {
  public:
    TNode_Record_Reader(TFile& file, std::vector<TTree_Node*>& viewRoots)
        : Input_(file), View_Roots_(viewRoots), Active_Mode_(activeTextMode()) {}

    bool readTree(TTree_Node& root) {
        // The tree is read without recursion: one stack entry for every open
        // record whose children are still to come.
        struct TOpen_Record {
            TTree_Node* node;
            int32_t childrenLeft;
        };
        std::vector<TOpen_Record> open;
        int32_t childCount = 0;
        if (!readRecord(root, childCount, true)) return false;
        if (childCount > 0) open.push_back({&root, childCount});
        while (!open.empty()) {
            TOpen_Record& top = open.back();
            if (top.childrenLeft == 0) {
                open.pop_back();
                continue;
            }
            --top.childrenLeft;
            // The list takes the announced length at once, up to a bound that
            // keeps a damaged count from reserving more than a few records.
            if (top.node->Children.empty())
                top.node->Children.reserve(std::min(top.childrenLeft + 1, kReserved_Children));
            TTree_Node* child = top.node->appendChild(std::make_unique<TTree_Node>());
            if (!readRecord(*child, childCount, false)) return false;
            if (childCount > 0) open.push_back({child, childCount});
        }
        return Input_.finish() || fail(TRead_Error::CannotRead);
    }

    TRead_Error error() const { return Error_; }

  private:
    bool fail(TRead_Error error) {
        Error_ = Input_.failed() ? TRead_Error::CannotRead : error;
        return false;
    }

    bool readRecord(TTree_Node& node, int32_t& childCount, bool isRoot) {
        unsigned char header[record::kHeaderSize];
        if (!Input_.read(header, sizeof header)) return fail(TRead_Error::Damaged);
        if (std::memcmp(header, record::kMagic, 2) != 0)
            return fail(isRoot ? TRead_Error::NotADocument : TRead_Error::Damaged);
        // Versions compare as unsigned bytes; older ones ("29") read like "30".
        if (std::memcmp(header + 2, record::kVersion, 2) > 0)
            return fail(TRead_Error::NewerVersion);

        int recordMode = 1;
        for (;;) {
            unsigned char tag = 0;
            int32_t length = 0;
            if (!Input_.read(&tag, 1) || !Input_.readInt32(length))
                return fail(TRead_Error::Damaged);
            if (length < 0 || length > record::kMaxLength) return fail(TRead_Error::Damaged);
            if (tag == record::Children) {
                // Every child needs at least a header and a 'D' record; a count
                // the rest of the file cannot hold is damage, found at once.
                if (int64_t{length} * record::kMinRecordSize > Input_.remaining())
                    return fail(TRead_Error::Damaged);
                childCount = length;
                return true;
            }
            if (!readField(node, tag, length, recordMode)) return fail(TRead_Error::Damaged);
        }
    }

    bool readField(TTree_Node& node, unsigned char tag, int32_t length, int& recordMode) {
        int32_t value = 0;
        switch (tag) {
            case record::Caption:
            case record::Excerpt: {
                std::string_view text;
                if (!Input_.readText(text, length)) return false;
                TNode_Text& target = tag == record::Caption ? node.Caption : node.Note_Excerpt;
                if (recordMode == Active_Mode_)
                    target.assign(text);
                else
                    target.assign(convertRecordText(text, recordMode));
                return true;
            }
            case record::Link: {
                std::string_view text;
                if (!Input_.readText(text, length)) return false;
                node.Link.assign(text);
                return true;
            }
            case record::Font_Name: {
                // The field holds 63 bytes; a longer name keeps its first 63
                // bytes, cut so that no character is split.
                std::string_view text;
                if (!Input_.readText(text, length)) return false;
                // Shown in the active code page, as captions are.
                if (recordMode == Active_Mode_)
                    node.setFontName(text);
                else
                    node.setFontName(convertRecordText(text, recordMode));
                return true;
            }
            case record::Format_Marker: {
                char ignored = 0;
                return Input_.read(&ignored, 1);
            }
            case record::Legacy:
                return Input_.readInt32(value);
            case record::Text_Mode:
            case record::Flags:
            case record::Link_Style:
            case record::View_Style:
                if (!Input_.readInt32(value)) return false;
                if (tag == record::Text_Mode) recordMode = value;
                if (tag == record::Link_Style) node.setLinkStyle(value);
                if (tag == record::View_Style) node.setViewStyle(value);
                if (tag == record::Flags) {
                    node.Expanded = value & record::kFlagExpanded;
                    if (value & record::kFlagViewRoot) View_Roots_.push_back(&node);
                }
                return true;
            default:
                break;
        }
        if (int32_t* field = integerField(node, tag)) return Input_.readInt32(*field);
        return Input_.skip(length);
    }

    static int32_t* integerField(TTree_Node& node, unsigned char tag) {
        switch (tag) {
            case record::Color_Caption:
                return &node.Color_Caption;
            case record::Content_Offset:
                return &node.Content_Offset;
            case record::Content_Size:
                return &node.Content_Size;
            case record::Raw_Size:
                return &node.Content_Raw_Size;
            case record::Note_Caret:
                return &node.Note_Caret;
            case record::Font_Style:
                return &node.Font_Style;
            case record::Font_Size:
                return &node.Font_Size;
            case record::Color_Fill:
                return &node.Color_Fill;
            case record::Edge_Width:
                return &node.Edge_Width;
            case record::Color_Edge:
                return &node.Color_Edge;
            case record::Edge_Style:
                return &node.Edge_Style;
            case record::Link_Down_Width:
                return &node.Link_Down_Width;
            case record::Color_Link_Down:
                return &node.Color_Link_Down;
            case record::Link_Up_Width:
                return &node.Link_Up_Width;
            case record::Color_Link_Up:
                return &node.Color_Link_Up;
            default:
                return nullptr;
        }
    }

    TRecord_Input Input_;
    std::vector<TTree_Node*>& View_Roots_;
    int Active_Mode_;
    TRead_Error Error_ = TRead_Error::None;
};

}  // namespace

bool readNodeTree(TFile& file, TTree_Node& root, std::vector<TTree_Node*>& viewRoots,
                  TRead_Error& error) {
    auto reader = std::make_unique<TNode_Record_Reader>(file, viewRoots);
    bool ok = reader->readTree(root);
    error = ok ? TRead_Error::None : reader->error();
    return ok;
}

}  // namespace vetra
