#pragma once

// Byte layout of a node record, shared by the reader and the writer.
//
//   "vt" "30"                     magic and two version digits
//   tag:u8 length:i32be value...  tagged records, M A B C I E F G H J K a b ... m
//   'D' count:i32be               last record: number of child records that follow
//   child records, each complete with its own descendants, in child order
//
// All integers are big-endian. Texts carry no NUL. The index (the root's record
// with everything nested) starts at offset 0; notes live behind the index bound.

#include <cstdint>

namespace vetra::record {

inline constexpr char kMagic[2] = {'v', 't'};
inline constexpr char kVersion[2] = {'3', '0'};
inline constexpr int kHeaderSize = 4;
inline constexpr int kTagHeaderSize = 5;       // tag byte and length field
inline constexpr int32_t kMaxLength = 409600;  // a larger length (or child count) is damage
inline constexpr int kMinRecordSize = kHeaderSize + kTagHeaderSize;  // "vt30" and 'D'

// Fixed parts of one record with every optional record present: header, 19
// integer records, 4 text-record headers, F and D.
inline constexpr int64_t kIndexRecordFixed = kHeaderSize + 19 * 9 + 4 * kTagHeaderSize + 6 + 5;
static_assert(kIndexRecordFixed == 206);

inline constexpr int32_t kFlagExpanded = 1;
inline constexpr int32_t kFlagViewRoot = 2;

enum Tag : unsigned char {
    Text_Mode = 'M',
    Caption = 'A',
    Excerpt = 'B',
    Link = 'C',
    Raw_Size = 'I',
    Color_Caption = 'E',
    Format_Marker = 'F',  // one byte, always 'A'
    Content_Offset = 'G',
    Content_Size = 'H',
    Flags = 'J',
    Note_Caret = 'K',
    Legacy = 'L',  // read and ignored; never written
    Font_Style = 'a',
    Font_Name = 'b',
    Font_Size = 'c',
    Color_Fill = 'd',
    Edge_Width = 'e',
    Color_Edge = 'f',
    Edge_Style = 'g',
    Link_Down_Width = 'h',
    Color_Link_Down = 'i',
    Link_Style = 'j',
    Link_Up_Width = 'k',
    Color_Link_Up = 'l',
    View_Style = 'm',
    Children = 'D',
};

}  // namespace vetra::record
