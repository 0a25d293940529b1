#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vetra {

// A note as the editor holds it: paragraphs of formatted runs and pictures.
// Texts are UTF-8, whatever code page the RTF used. No Qt here, so that the
// exports can read notes without a display.

inline constexpr int32_t kRtf_Color_Auto = -1;

struct TRtf_Char_Format {
    std::string Font_Name;  // UTF-8; empty: the document's default font
    int Charset = -1;       // the font's Windows charset; -1 when not known
    int Size_Half_Points = 20;
    int32_t Color = kRtf_Color_Auto;  // 0x00BBGGRR
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    friend bool operator==(const TRtf_Char_Format&, const TRtf_Char_Format&) = default;
};

// The values are those of the editor's alignment buttons.
enum class TRtf_Align { Left = 0, Right = 1, Center = 2, Justify = 3 };

enum class TRtf_Picture_Kind { Bmp_File, Png, Jpeg };

struct TRtf_Picture {
    TRtf_Picture_Kind Kind = TRtf_Picture_Kind::Bmp_File;
    std::string Data;  // a whole file of its kind
    // Shown size in twips (1/1440 inch); 0 when the note does not say.
    int Width_Twips = 0;
    int Height_Twips = 0;
    friend bool operator==(const TRtf_Picture&, const TRtf_Picture&) = default;
};

// A piece of a paragraph: text in one format, or one picture. Text may hold
// '\t' (a tab) and '\n' (a line break inside the paragraph).
struct TRtf_Run {
    TRtf_Char_Format Format;
    std::string Text;
    int Picture = -1;  // index into TRtf_Document::Pictures; then Text is empty
    bool isPicture() const { return Picture >= 0; }
    friend bool operator==(const TRtf_Run&, const TRtf_Run&) = default;
};

struct TRtf_Paragraph {
    TRtf_Align Align = TRtf_Align::Left;
    int Space_Before = 0;  // twips
    int Space_After = 0;   // twips
    bool Bullet = false;
    std::vector<TRtf_Run> Runs;
    friend bool operator==(const TRtf_Paragraph&, const TRtf_Paragraph&) = default;
};

struct TRtf_Document {
    std::vector<TRtf_Paragraph> Paragraphs;
    std::vector<TRtf_Picture> Pictures;
    friend bool operator==(const TRtf_Document&, const TRtf_Document&) = default;
};

// The plain text of a note, one entry a paragraph or line break; tabs stay,
// a picture reads "[picture]".
std::vector<std::string> plainTextLines(const TRtf_Document& document);

// Windows bitmap files for pictures the note keeps in other forms. Null
// results (empty strings) for data that does not make a bitmap.
// A packed device-independent bitmap (header, colours, bits) made a file.
std::string bitmapFileFromDib(std::string_view dib);
// Device-dependent bits of 1, 24 or 32 bits a pixel, rows top-down.
std::string bitmapFileFromDeviceBits(std::string_view bits, int width, int height, int bitsPerPixel,
                                     int bytesPerRow);
// Pixel size of a bitmap file; false when the header does not read.
bool bitmapFileSize(std::string_view file, int& width, int& height);

}  // namespace vetra
