#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vetra {

// One font-table entry.
struct Rtf_Font_Stru {
    int32_t Number = 0;   // the N of \fN
    char Name[52] = {};   // at most 51 bytes, cut at a character boundary
    int32_t Charset = 0;  // the N of \fcharsetN
    int32_t Code_Page = 0;
};

// One colour-table entry.
struct Rtf_Color_Stru {
    int32_t Red = 0, Green = 0, Blue = 0;
};

// Where the text of a group goes.
enum TRtf_Destination : int32_t {
    kDest_Skipped = -1,
    kDest_Document = 1,
    kDest_Font_Table = 2,
    kDest_Color_Table = 3,
    kDest_Object_Data = 4,
    kDest_Picture = 5,
};

// The state of one open group; a new group starts as a copy of its parent.
struct Rtf_Node_Stru {
    char Group_Word[64] = {};  // the first control word met in the group
    int32_t Group_Param = 0;
    int32_t Ignore = 0;  // 1: no text of this group is collected
    int32_t Destination = kDest_Document;
    int32_t Depth = 0;
    uint32_t Color = 0;  // 0xRRGGBB
    int32_t Charset = 0;
    int32_t Code_Page = 0;   // 0: the system code page
    int32_t Style = 0;       // 1 bold, 2 italic, 4 underline
    int32_t Font_Size = 24;  // half-points; RTF's default of 12 points
    char Font_Name[68] = {};
    int32_t Unicode_Skip = 1;       // \ucN: fallback bytes after each \uN
    bool Owns_Destination = false;  // this group's word chose the destination
};

// The kind of picture data a \pict group carries.
// Bitmap: a Windows bitmap file when given to writePicture (packed DIB data
// inside a \pict group is given a file header first).
enum class TPicture_Kind { None, Jpeg, Png, Bitmap };

// Text of one run in the system code page, with the characters that page
// cannot hold (from \uN and special words) kept apart with their offsets.
struct TRtf_Run {
    std::string Text;
    std::vector<std::pair<size_t, char32_t>> Characters;  // inserted before Text[offset]
    bool empty() const { return Text.empty() && Characters.empty(); }
    void clear() {
        Text.clear();
        Characters.clear();
    }
};

// A single-pass reader of the RTF that notes are written in. It knows the
// font and colour tables, bold, italic, underline, font, colour, size,
// special characters, Unicode characters and pictures (embedded bitmap
// objects and \pict data); every other group and word is skipped. Runs of
// text, object data and pictures go to the three overridable operations.
//
// Hostile input is bounded: nesting deeper than kMax_Depth shares the
// deepest state, \bin skips at most what is left, and no buffer outgrows the
// input.
class TRtf_Reader {
  public:
    static constexpr int32_t kMax_Depth = 512;

    TRtf_Reader();
    virtual ~TRtf_Reader();
    TRtf_Reader(const TRtf_Reader&) = delete;
    TRtf_Reader& operator=(const TRtf_Reader&) = delete;

    // Reads the whole text. Never fails: damage is absorbed.
    void parse(std::string_view text);

    void setObjectPrefix(std::string_view prefix) { Object_Prefix = prefix; }
    void setPictureCounter(int32_t counter) { Picture_Counter = counter; }
    int32_t pictureCounter() const { return Picture_Counter; }

  protected:
    // Object data was collected (hex text in `hex`); the default decodes it
    // and passes the bitmap file inside to writePicture.
    virtual void objectData(std::string_view hex);
    // A run of text ended; `group` holds its formatting.
    virtual void emitRun(const TRtf_Run& run, const Rtf_Node_Stru& group) = 0;
    // A picture: a Windows bitmap file, a JPEG or a PNG file in `bytes`.
    virtual bool writePicture(std::string_view bytes, TPicture_Kind kind) = 0;

    std::string Object_Prefix = "rtf_obj_";
    int32_t Picture_Counter = 1;
    const int32_t System_Code_Page;

  private:
    void pushGroup();
    void popGroup();
    void readControlWord(std::string_view text, size_t& at);
    void dispatch(std::string_view word, bool hasParam, int32_t param);
    void collect(char byte);
    void collectCharacter(char32_t character);
    void flush(bool closing);
    void convertPending();
    void pictureData();
    Rtf_Font_Stru& fontEntry(int32_t number);
    Rtf_Node_Stru& current() { return Groups_[Groups_.size() - 1]; }
    bool hasGroup() const { return !Groups_.empty(); }

    std::vector<Rtf_Node_Stru> Groups_;
    int64_t Overflow_Depth_ = 0;  // groups opened past kMax_Depth, still open
    std::vector<Rtf_Font_Stru> Fonts_;
    std::vector<Rtf_Color_Stru> Colors_;
    std::string Raw_;  // bytes in the current group's code page
    TRtf_Run Run_;     // text already converted to the system code page
    int32_t Color_Counter_ = 0;
    int32_t Hex_Digits_ = 0;  // digits of a \' escape still expected
    int32_t Hex_Value_ = 0;
    int64_t Skip_Fallback_ = 0;  // fallback bytes of a \uN still to drop
    char16_t High_Surrogate_ = 0;
    TPicture_Kind Picture_Kind_ = TPicture_Kind::None;
};

}  // namespace vetra
