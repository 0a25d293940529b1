// Notes as the Windows rich-edit control writes them: they read with their
// text, formatting and pictures, and what our writer makes of them reads back
// the same.
#include <gtest/gtest.h>

#include "rtf_test_support.h"

namespace vetra::test {
namespace {

const TRtf_Run* runWithText(const TRtf_Document& document, std::string_view text) {
    for (const TRtf_Paragraph& paragraph : document.Paragraphs)
        for (const TRtf_Run& run : paragraph.Runs)
            if (run.Text.find(text) != std::string::npos) return &run;
    return nullptr;
}

TEST(RtfNotes, WindowsNotesKeepTheirFormatting) {
    TRtf_Document gbk = parsed(readNoteFile("gbk_note.rtf"));
    ASSERT_EQ(gbk.Paragraphs.size(), 7u);
    const TRtf_Run* red = runWithText(gbk, "红色粗体");
    ASSERT_NE(red, nullptr);
    EXPECT_TRUE(red->Format.Bold);
    EXPECT_EQ(red->Format.Color, 0x0000FF);
    EXPECT_EQ(red->Format.Size_Half_Points, 28);
    EXPECT_EQ(red->Format.Font_Name, "宋体");
    EXPECT_EQ(red->Format.Charset, 134);
    const TRtf_Run* italic = runWithText(gbk, "centered");
    ASSERT_NE(italic, nullptr);
    EXPECT_TRUE(italic->Format.Italic);
    EXPECT_EQ(italic->Format.Font_Name, "Arial");
    EXPECT_EQ(gbk.Paragraphs[2].Align, TRtf_Align::Center);
    EXPECT_EQ(gbk.Paragraphs[3].Space_Before, 60);
    EXPECT_EQ(gbk.Paragraphs[3].Space_After, 60);
    EXPECT_TRUE(runWithText(gbk, "underlined")->Format.Underline);
    EXPECT_FALSE(gbk.Paragraphs[3].Bullet);
    EXPECT_TRUE(gbk.Paragraphs[4].Bullet);
    EXPECT_FALSE(gbk.Paragraphs[5].Bullet) << "\\pard ends the list";

    TRtf_Document big5 = parsed(readNoteFile("big5_note.rtf"), 950);
    EXPECT_EQ(big5.Paragraphs[1].Align, TRtf_Align::Right);
    EXPECT_EQ(runWithText(big5, "繁體")->Format.Font_Name, "細明體");
    EXPECT_EQ(runWithText(big5, "简体字")->Format.Charset, 134);
}

TEST(RtfNotes, PicturesReadFromObjectsAndPictGroups) {
    TRtf_Document object = parsed(readNoteFile("object_bitmap.rtf"));
    ASSERT_EQ(object.Pictures.size(), 1u);  // the object's \result is not a second one
    EXPECT_EQ(object.Pictures[0].Kind, TRtf_Picture_Kind::Bmp_File);
    EXPECT_EQ(object.Pictures[0].Width_Twips, 60);
    int width = 0, height = 0;
    EXPECT_TRUE(bitmapFileSize(object.Pictures[0].Data, width, height));
    EXPECT_EQ(width * 10 + height, 43);

    TRtf_Document pict = parsed(readNoteFile("pict_pictures.rtf"));
    ASSERT_EQ(pict.Pictures.size(), 3u);  // the metafile is skipped
    EXPECT_EQ(pict.Pictures[0].Kind, TRtf_Picture_Kind::Png);
    // The device-independent bitmap becomes the same file the object holds.
    EXPECT_EQ(pict.Pictures[1].Data, object.Pictures[0].Data);
    EXPECT_TRUE(bitmapFileSize(pict.Pictures[2].Data, width, height));
    EXPECT_EQ(width * 10 + height, 22);
}

// Each note reads whole with its text; what the writer makes of it reads
// back the same and is written again byte for byte.
TEST(RtfNotes, WindowsNotesReadWithTheirTextAndWriteBackTheSame) {
    const struct {
        const char* file;
        int codePage;
        const char* lines;  // null: not compared
    } cases[] = {
        // clang-format off
        {"gbk_note.rtf", 936, "中文筆記|红色粗体|centered italic|underlined tab\tend|second line|项目|" "‘q’ “dq” a—b–c•|繁😀 emoji|"},
        {"big5_note.rtf", 950, "繁體中文筆記|靠右|简体字 與|"},
        {"object_bitmap.rtf", 936, "圖片：[picture]之後|"},
        {"pict_pictures.rtf", 936, "png [picture]|dib [picture]|ddb [picture]|emf |"},
        {"big5_note.rtf", 936, nullptr},  // a Big5 note saved in GBK mode
        // clang-format on
    };
    for (const auto& c : cases) {
        TRtf_Document original;
        EXPECT_EQ(readRtf(readNoteFile(c.file), original, {c.codePage}), TRtf_Read_Status::Complete)
            << c.file;
        if (c.lines != nullptr) {
            EXPECT_EQ(joinedLines(original), c.lines) << c.file;
        }
        std::string written = writeRtf(original, {c.codePage});
        TRtf_Document reread;
        EXPECT_EQ(readRtf(written, reread, {c.codePage}), TRtf_Read_Status::Complete) << c.file;
        EXPECT_EQ(reread, original) << c.file << "\n" << written;
        EXPECT_EQ(writeRtf(reread, {c.codePage}), written) << c.file;
    }
}

TEST(RtfNotes, PicturesAreWrittenAsBitmapObjects) {
    std::string written = writeRtf(parsed(readNoteFile("object_bitmap.rtf")));
    size_t data = written.find("{\\*\\objdata\r\n");
    ASSERT_NE(data, std::string::npos);
    // 31 header bytes, then the bitmap file's "BM".
    EXPECT_EQ(written.substr(data + 13, 62 + 4),
              "010500000200000007000000504272757368000000000000000000"
              "5a000000424d");
}

TEST(RtfNotes, CharactersTheCodePageLacksAreWrittenAsUnicode) {
    const struct {
        const char* name;
        const char* text;
        int codePage;
        int charset;
        const char* expected;
    } cases[] = {
        {"GBK text", "中文", 936, 134, "\\'d6\\'d0\\'ce\\'c4"},
        {"traditional character in GBK", "說", 936, 134, "\\'d5\\'66"},
        {"traditional 體 in a GBK font", "體", 936, 134, "\\'f3\\'77"},
        {"emoji", "😀", 936, 134, "\\u-10179?\\u-8704?"},
        {"simplified in a Big5 font", "说", 950, 136, "\\u-29708?"},
        {"question mark after unicode", "😀?", 936, 134, "\\u-8704?\\'3f"},
        {"Chinese in a Western font", "中", 936, 0, "\\u20013?"},
    };
    for (const auto& c : cases) {
        TRtf_Document document;
        TRtf_Run run;
        run.Text = c.text;
        run.Format.Charset = c.charset;
        document.Paragraphs.push_back({});
        document.Paragraphs[0].Runs.push_back(run);
        std::string written = writeRtf(document, {c.codePage});
        EXPECT_NE(written.find(c.expected), std::string::npos) << c.name << "\n" << written;
        EXPECT_EQ(joinedLines(parsed(written, c.codePage)), std::string(c.text) + "|") << c.name;
    }
}

}  // namespace
}  // namespace vetra::test
