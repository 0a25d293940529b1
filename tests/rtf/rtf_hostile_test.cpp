// Damaged and hostile notes: they open as far as they read, never crash,
// and never make the reader allocate more than the note could fill.
#include <gtest/gtest.h>

#include "rtf_test_support.h"

namespace vetra::test {
namespace {

std::string repeated(std::string_view piece, size_t count) {
    std::string out;
    out.reserve(piece.size() * count);
    for (size_t i = 0; i < count; ++i) out += piece;
    return out;
}

TEST(RtfHostile, DamagedNotesOpenAsFarAsTheyRead) {
    const std::string windowsNote = readNoteFile("gbk_note.rtf");
    const struct {
        const char* name;
        std::string rtf;
        TRtf_Read_Status status;
        const char* lines;
    } cases[] = {
        // clang-format off
        {"plain text", "just text", TRtf_Read_Status::Not_Rtf, ""},
        {"cut after the first paragraph", windowsNote.substr(0, windowsNote.find("\\cf1")), TRtf_Read_Status::Truncated, "中文筆記|"},
        {"cut inside a double-byte character", "{\\rtf1\\ansi\\ansicpg936 ab\\'d6", TRtf_Read_Status::Truncated, "ab\xEF\xBF\xBD|"},
        {"cut inside a control word", "{\\rtf1 ab\\pa", TRtf_Read_Status::Truncated, "ab|"},
        {"cut after a backslash", "{\\rtf1 ab\\", TRtf_Read_Status::Truncated, "ab|"},
        {"cut inside a picture", "{\\rtf1 a{\\pict\\pngblip 89504e47", TRtf_Read_Status::Truncated, "a|"},
        {"stray closing braces", "{\\rtf1 a}}} dropped", TRtf_Read_Status::Complete, "a|"},
        {"unknown words and destinations", "{\\rtf1\\zork12 a{\\*\\zork b}{\\fancy c}\\par}", TRtf_Read_Status::Complete, "ac|"},
        {"bad hex escape", "{\\rtf1 a\\'zz b}", TRtf_Read_Status::Complete, "azz b|"},
        {"unicode fallback of a control word", "{\\rtf1\\uc1 \\u20013\\'3fx}", TRtf_Read_Status::Complete, "中x|"},
        {"unicode fallback cut by a group", "{\\rtf1\\uc2 \\u20013{}x}", TRtf_Read_Status::Complete, "中x|"},
        {"lone low surrogate", "{\\rtf1 \\u-8704?x}", TRtf_Read_Status::Complete, "x|"},
        {"overlong control word and parameter", "{\\rtf1 " + repeated("a", 5000) + "\\fs99999999999999999999 b\\" + repeated("z", 100) + " c}", TRtf_Read_Status::Complete, ""},
        {"bin count past the end", "{\\rtf1 a{\\pict\\bin99999999 xy}}", TRtf_Read_Status::Truncated, "a|"},
        {"object header with huge lengths", "{\\rtf1{\\object{\\*\\objdata 0105000002000000ffffffff50}}x}", TRtf_Read_Status::Complete, "x|"},
        {"picture sizes past every bound", "{\\rtf1{\\pict\\dibitmap0\\picw2147483647\\pich-2147483647\\picscalex1000 " "28000000010000000100000001001800000000000000000000000000000000000000000000ffffff}" "{\\object\\objw2147483647\\objh-5{\\*\\objdata 00}}x}", TRtf_Read_Status::Complete, "[picture]x|"},
        {"bitmap with a huge width", "{\\rtf1{\\pict\\wbitmap0\\picw2000000000\\pich2 00ff}x}", TRtf_Read_Status::Complete, "x|"},
        {"dib with a huge colour count", "{\\rtf1{\\pict\\dibitmap0 " "28000000010000000100000001000800000000000000000000000000ffffff7f}x}", TRtf_Read_Status::Complete, "x|"},
        // clang-format on
    };
    for (const auto& c : cases) {
        TRtf_Document document;
        EXPECT_EQ(readRtf(c.rtf, document, {936}), c.status) << c.name;
        if (std::string_view(c.name) == "overlong control word and parameter") {
            ASSERT_EQ(document.Paragraphs.size(), 1u) << c.name;
            EXPECT_EQ(document.Paragraphs[0].Runs.back().Format.Size_Half_Points, 3276) << c.name;
            continue;
        }
        EXPECT_EQ(joinedLines(document), c.lines) << c.name;
    }
}

TEST(RtfHostile, DeepNestingNeitherRecursesNorKeepsEveryGroup) {
    const size_t depth = 200000;
    std::string rtf = "{\\rtf1 a" + repeated("{", depth) + "hidden" + repeated("}", depth) + "b}";
    TRtf_Document document;
    EXPECT_EQ(readRtf(rtf, document), TRtf_Read_Status::Complete);
    EXPECT_EQ(joinedLines(document), "ab|");
}

}  // namespace
}  // namespace vetra::test
