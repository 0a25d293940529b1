// The outline formats read back what they write, read files other programs
// wrote, and refuse damaged and hostile files.
#include <gtest/gtest.h>

#include "export/outline_formats.h"
#include "export/outline_tree.h"
#include "platform/text_codec.h"
#include "tests/app/run_vetra.h"
#include "tests/export/outline_dump.h"

namespace vetra {
namespace {

using test::dumpOutline;

using test::outlineItem;

// Captions that look like markup, notes with paragraphs and blank lines,
// links, folded entries, colours. (OPML keeps the folding of shown entries
// only: its expansion state lists lines on the screen.)
TOutline awkwardOutline() {
    return {
        outlineItem(0, "项目计划 <&\"'>", "https://example.org/a?b=1&c=2",
                    "第一段\n\n第二段\n- 不是列表"),
        outlineItem(1, "- 像列表", {}, {}, false, 0x0000FF, 0xFFEEDD),
        outlineItem(2, "1. 像编号", "file:///tmp/x y.vt", "# 不是标题\n\\反斜杠"),
        outlineItem(3, "隐藏的", {}, {}, true),
        outlineItem(4, "更深"),
        outlineItem(1, "#话题 [方括号] \\ `代码`", {}, "行一\n行二"),
        outlineItem(0, "第二个顶层", {}, {}, true),
        outlineItem(1, "折叠的顶层之下"),
    };
}

TEST(OutlineFormats, RoundTripKeepsWhatEachFormatCarries) {
    const struct {
        const char* name;
        TOutline_Format format;
        const char* fields;
    } rows[] = {
        {"indented text: levels and captions", TOutline_Format::Text, ""},
        {"Markdown: links and notes too", TOutline_Format::Markdown, "ln"},
        {"OPML: links, notes and folding", TOutline_Format::Opml, "lnf"},
        {"mind map: everything", TOutline_Format::Mind_Map, "lnfc"},
    };
    TOutline original = awkwardOutline();
    for (const auto& row : rows) {
        std::string written;
        writeOutline(row.format, original, "标题", written);
        TOutline back;
        ASSERT_TRUE(readOutline(row.format, written, kTextModeSimplified, back)) << row.name;
        EXPECT_EQ(dumpOutline(back, row.fields), dumpOutline(original, row.fields))
            << row.name << "\n"
            << written;
    }
}

TEST(OutlineFormats, ReadsFilesOfOtherPrograms) {
    const struct {
        const char* file;
        const char* expected;
    } rows[] = {
        // clang-format off
        {"outline_freeplane.mm", "Vetra 测试\n  第一章 -> https://example.org {章节的笔记|第二段} 0000ff/ccffff\n" "    小节 A +\n      隐藏的叶子\n    小节 B\n  第二章 富文本标题\n  Added in Freeplane\n"},
        {"outline_freeplane_new.mm", "New Mindmap\n  Step 1\n  Step 2 <&> +\n    Detail\n"},
        {"outline_freemind_09.mm", "根节点\n  左边的分支 -> http://freemind.sourceforge.net {一段笔记}\n" "    叶子 +\n      更深\n  右边 008000/00ffff\n"},
        {"outline_sample.opml", "Project {Root note}\n  Research -> http://example.com/r\n    Papers +\n      One\n" "  Write {Line 1|Line 2}\n"},
        {"outline_sample.md", "Shopping\n  Fruit {Fresh only.}\n    Apples -> https://apples.example\n    Pears\n" "  Bread\nNotes {A paragraph|over two lines.}\n"},
        {"outline_gbk.txt", "根\n  枝一\n    叶\n  枝二\n"},
        {"outline_big5.txt", "樹根\n  樹枝\n    葉子\n"},
        // clang-format on
    };
    for (const auto& row : rows) {
        TOutline_Format format;
        ASSERT_TRUE(outlineFormatOfFile(row.file, format)) << row.file;
        TOutline outline;
        std::string bytes = test::slurp(test::dataPath(row.file));
        ASSERT_FALSE(bytes.empty()) << row.file;
        ASSERT_TRUE(readOutline(format, bytes, kTextModeSimplified, outline)) << row.file;
        EXPECT_EQ(dumpOutline(outline), row.expected) << row.file;
    }
}

TEST(OutlineFormats, ReadsPlainTextNotesOfNewerMaps) {
    TOutline outline;
    ASSERT_TRUE(
        readMindMap("<map version=\"freeplane 1.9.13\"><node TEXT=\"a\"><richcontent "
                    "TYPE=\"NOTE\" CONTENT-TYPE=\"plain/auto\"><text>one\n  two</text>"
                    "</richcontent></node></map>",
                    outline));
    EXPECT_EQ(test::dumpOutline(outline), "a {one|  two}\n");
}

TEST(OutlineFormats, RefusesDamagedAndHostileXml) {
    const struct {
        const char* name;
        TOutline_Format format;
        std::string bytes;
    } rows[] = {
        // clang-format off
        {"cut off", TOutline_Format::Mind_Map, "<map version=\"1.0.1\"><node TEXT=\"a\">"},
        {"not a map", TOutline_Format::Mind_Map, "<opml><body><outline text=\"a\"/></body></opml>"},
        {"not OPML", TOutline_Format::Opml, "<map><node TEXT=\"a\"/></map>"},
        {"crossed tags", TOutline_Format::Opml, "<opml><body><outline></body></outline></opml>"},
        {"entity bomb", TOutline_Format::Mind_Map, "<?xml version=\"1.0\"?><!DOCTYPE map [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b " "\"&a;&a;&a;&a;&a;&a;&a;&a;\">]><map><node TEXT=\"&b;&b;&b;\"/></map>"},
        {"external entity", TOutline_Format::Opml, "<?xml version=\"1.0\"?><!DOCTYPE opml [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>" "<opml><body><outline text=\"&x;\"/></body></opml>"},
        {"undeclared entity", TOutline_Format::Mind_Map, "<map><node TEXT=\"&nbsp;\"/></map>"},
        {"binary", TOutline_Format::Opml, std::string("\x89PNG\r\n\x1a\n\0\0", 10)},
        {"empty", TOutline_Format::Mind_Map, ""},
        // clang-format on
    };
    for (const auto& row : rows) {
        TOutline outline;
        EXPECT_FALSE(readOutline(row.format, row.bytes, kTextModeSimplified, outline)) << row.name;
    }
}

TEST(OutlineFormats, DeepChainsReadAndWriteWithoutRecursion) {
    constexpr int kDepth = 100000;
    for (TOutline_Format format : {TOutline_Format::Opml, TOutline_Format::Mind_Map}) {
        TOutline chain;
        for (int level = 0; level < kDepth; ++level) chain.push_back(outlineItem(level, "n"));
        std::string written;
        writeOutline(format, chain, "deep", written);
        // Indentation stops growing, so the file stays linear in the depth.
        EXPECT_LT(written.size(), size_t{kDepth} * 150);
        TOutline back;
        ASSERT_TRUE(readOutline(format, written, kTextModeSimplified, back));
        ASSERT_EQ(back.size(), size_t{kDepth});
        EXPECT_EQ(back.back().Level, kDepth - 1);
        int replaced = 0;
        auto root = treeFromOutline(nodesFromOutline(back, 0, nullptr), "", 0, replaced);
        EXPECT_EQ(root->childCount(), 1);
    }
}

}  // namespace
}  // namespace vetra
