#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vetra {

// One entry of an outline as the outline formats carry it: texts in UTF-8,
// the note as plain text with one line per paragraph ("\n" between them).
struct TOutline_Item {
    int32_t Level = 0;  // 0 for a top entry; at most one more than the entry before
    std::string Caption;
    std::string Link;
    std::string Note;
    bool Folded = false;
    int32_t Color_Caption = -1;  // 0x00BBGGRR, -1 when the file gives none
    int32_t Color_Fill = -1;
};

// A whole outline in pre-order. Depth is a number, not nesting, so that a
// chain of any length is read and written without recursion.
using TOutline = std::vector<TOutline_Item>;

enum class TOutline_Format { Text, Markdown, Opml, Mind_Map };

// The format named by a file's extension (.txt, .md/.markdown, .opml,
// .mm), case-insensitive; false for any other.
bool outlineFormatOfFile(std::string_view fileName, TOutline_Format& format);

// Nothing is read past these: a file of more bytes, or more entries, is
// refused rather than filling memory.
inline constexpr int64_t kOutline_Max_File_Bytes = 256 * 1024 * 1024;
inline constexpr size_t kOutline_Max_Items = 4'000'000;

// Turns per-line indentation keys into levels: an entry is a child of the
// nearest entry before it with a smaller key. Headings use their "#" count as
// key, list items and indented lines their indentation plus an offset.
class TLevel_Stack {
  public:
    int32_t levelFor(int64_t key) {
        while (!Keys_.empty() && Keys_.back() >= key) Keys_.pop_back();
        Keys_.push_back(key);
        return static_cast<int32_t>(Keys_.size()) - 1;
    }
    void clear() { Keys_.clear(); }

  private:
    std::vector<int64_t> Keys_;
};

}  // namespace vetra
