// The HTML page and the site: structure, escaping, charset, names and marks.
#include <gtest/gtest.h>

#include <filesystem>

#include "export/html_page.h"
#include "export/html_text.h"
#include "layout/tree_builder.h"
#include "platform/text_codec.h"
#include "platform/text_mode.h"
#include "tests/app/run_vetra.h"

namespace vetra {
namespace {

using test::slurp;
using testing::addChild;

struct TFixture : ::testing::Test {
    TFixture() : store(std::make_unique<TMemory_File>()), notes(nullptr, &store) {
        setActiveTextMode(kTextModeSimplified);
        root.setCaption("Root");
    }
    void giveNote(TTree_Node& node, std::string_view rtf) {
        node.Work_Offset = *store.append(rtf);
        node.Work_Size = static_cast<int32_t>(rtf.size());
    }
    std::string page() { return htmlPageText(root, notes, "", "tree"); }
    TTree_Node root;
    TContent_Store store;
    TNote_Reader notes;
};

using HtmlPage = TFixture;

TEST_F(HtmlPage, MarksNestAsTheTreeDoes) {
    addChild(root, "A");
    addChild(*addChild(root, "B"), "C");
    const std::string html = page();
    size_t at = 0;
    for (const char* mark : {"mark_0'", "mark_1'", "mark_2'", "mark_201'"}) {
        at = html.find(mark, at);
        ASSERT_NE(at, std::string::npos) << mark;
    }
    EXPECT_NE(html.find("<h1 style='text-align:center; color:blue;'>\n<font color=#00007f>Root"),
              std::string::npos);
    EXPECT_NE(html.find("<ul>\n<li>\n<a name='mark_201'></a>\n<h3"), std::string::npos);
    // The credit names this program and leads nowhere outside the page.
    EXPECT_NE(html.find("Vetra"), std::string::npos);
    EXPECT_EQ(html.find("href='http"), std::string::npos);
    EXPECT_EQ(html.find("_blank"), std::string::npos);
}

TEST_F(HtmlPage, HostileCaptionsLinksAndNotesStayText) {
    const struct {
        const char* caption;
        const char* link;
        const char* excerpt;
    } nodes[] = {
        {"<script>alert(1)</script>", "", ""},
        {"\" onmouseover=\"x", "http://a/?q=\"><b>", ""},
        {"' onclick='x", "javascript:alert(1)", "' onclick='<i>&"},
        {"plain", " JaVa\tScRiPt:alert(2)", ""},
    };
    for (const auto& n : nodes) {
        TTree_Node* node = addChild(root, n.caption);
        node->setLink(n.link);
        node->setExcerpt(n.excerpt);
    }
    const std::string html = page();
    for (const char* bad :
         {"<script", "onmouseover=\"", "onclick='", "<b>", "<i>&", "javascript:", "ScRiPt:"})
        EXPECT_EQ(html.find(bad), std::string::npos) << bad;
    EXPECT_NE(html.find("href='http://a/?q=&quot;&gt;&lt;b&gt;'"), std::string::npos);
    EXPECT_NE(html.find("&#39;&nbsp;onclick=&#39;&lt;i&gt;&amp;"), std::string::npos);
}

TEST_F(HtmlPage, NotesConvertAndDeclareTheirCharset) {
    TTree_Node* a = addChild(root, "A");
    giveNote(*a, "{\\rtf1{\\fonttbl{\\f0\\fcharset134 x;}}\\f0 \\'c4\\'e3\\par}");
    EXPECT_NE(page().find("charset=gbk\">"), std::string::npos);
    EXPECT_NE(page().find("<p id='pdoc'>\n<font style="), std::string::npos);
    EXPECT_NE(page().find("\xC4\xE3<br>\n</font>\n</p>"), std::string::npos);
    setActiveTextMode(kTextModeTraditional);
    EXPECT_NE(page().find("charset=big5\">"), std::string::npos);
    EXPECT_EQ(page().find("gb2312"), std::string::npos);
    setActiveTextMode(kTextModeSimplified);
}

TEST(HtmlNames, ExtensionAndMarks) {
    EXPECT_EQ(withoutExtension("/home/a.b/map"), "/home/a.b/map");
    EXPECT_EQ(withoutExtension("/home/a.b/map.html"), "/home/a.b/map");
    EXPECT_EQ(withoutExtension("site.x.htm"), "site.x");
    EXPECT_EQ(childMark("0", 7), "7");
    EXPECT_EQ(childMark("2", 1), "201");
    EXPECT_EQ(childMark("201", 12), "20112");
    EXPECT_EQ(childMark("1", 100), "1_100");
    EXPECT_EQ(childMark("1_100", 1), "1_100_1");
    std::string deep = "1";
    for (int i = 0; i < 40; ++i) deep = childMark(deep, 99);
    EXPECT_EQ(deep.size(), 81u);  // no overflow at depth 40
    EXPECT_EQ(fileAddress("a b#\xE6\xA0\x91.html"), "a%20b%23%E6%A0%91.html");
}

using HtmlSite = TFixture;

TEST_F(HtmlSite, WritesFourLinkedPagesInTheChosenDirectory) {
    const std::string dir = test::workDir(true, ".d/");
    TTree_Node* a = addChild(root, "A");
    addChild(*a, "C");
    addChild(root, "B");
    ASSERT_TRUE(writeHtmlSite(root, notes, dir + "site.htm", 0));
    const std::string sub = slurp(dir + "site_sub_idx.html");
    const std::string main = slurp(dir + "site_main_idx.html");
    const std::string frames = slurp(dir + "site.htm");
    EXPECT_NE(frames.find("src='site_doc.html' name='frame_doc_"), std::string::npos);
    EXPECT_NE(main.find("href='site_sub_idx.html#mark_2'"), std::string::npos);
    const size_t first = sub.find("mark_1'"), second = sub.find("mark_101'"),
                 third = sub.find("mark_2'");
    EXPECT_TRUE(first < second && second < third && third != std::string::npos);
    EXPECT_NE(sub.find("<td width=9%></td>"), std::string::npos);
    EXPECT_NE(sub.find("href='site_doc.html#mark_101'"), std::string::npos);
    EXPECT_NE(slurp(dir + "site_doc.html").find("mark_101"), std::string::npos);
    EXPECT_NE(frames.find("\r\n"), std::string::npos);
}

}  // namespace
}  // namespace vetra
