// Outlines through the real program: `vetra --import`, `--export-outline`,
// and the editor's import, export and paste driven by `vetra --run`.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/run_vetra.h"
#include "export/outline_formats.h"
#include "platform/text_codec.h"
#include "tests/export/outline_dump.h"

namespace vetra {
namespace {

using test::runCommand;
using test::slurp;

using test::dataPath;
using test::workDir;

test::TRun vetra(const std::string& arguments) {
    return runCommand("cd " + workDir() + " && VETRA_TEXT_MODE=1 " VETRA_BINARY " " + arguments);
}

// The outline of a document as its map export carries it (everything).
std::string mapDump(const std::string& document, const std::string& fields = "lnfc") {
    EXPECT_EQ(vetra("--export-outline " + document + " dump.mm").status, 0) << document;
    TOutline outline;
    EXPECT_TRUE(readMindMap(slurp(workDir() + "dump.mm"), outline)) << document;
    return test::dumpOutline(outline, fields);
}

// A map imported into a document keeps everything it carries; that document
// exported in every format and imported again keeps what the format carries.
TEST(OutlineCommands, ImportedFilesKeepTheirTreeThroughTheDocument) {
    ASSERT_EQ(vetra("--import " + dataPath("outline_freeplane.mm") + " in.vt").status, 0);
    EXPECT_EQ(
        mapDump("in.vt"),
        "Vetra 测试 ce8aef/ffffff\n"
        "  第一章 -> https://example.org {章节的笔记|第二段} 0000ff/ccffff\n"
        "    小节 A + ce8aef/ffffff\n      隐藏的叶子 ce8aef/ffffff\n    小节 B ce8aef/ffffff\n"
        "  第二章 富文本标题 ce8aef/ffffff\n  Added in Freeplane ce8aef/ffffff\n");
    const struct {
        const char* extension;
        const char* fields;  // what the format carries
    } rows[] = {{"txt", ""}, {"md", "ln"}, {"opml", "lnf"}, {"mm", "lnfc"}};
    for (const auto& row : rows) {
        std::string file = std::string("out.") + row.extension;
        ASSERT_EQ(vetra("--export-outline in.vt " + file).status, 0) << row.extension;
        ASSERT_EQ(vetra("--import " + file + " back.vt").status, 0) << row.extension;
        EXPECT_EQ(mapDump("back.vt", row.fields), mapDump("in.vt", row.fields)) << row.extension;
    }
}

TEST(OutlineCommands, ABadFileIsReportedAndWritesNothing) {
    std::ofstream(workDir() + "bad.opml") << "<opml><body><outline text=\"a\">";
    const struct {
        const char* name;
        const char* file;
    } rows[] = {{"malformed", "bad.opml"}, {"missing", "none.mm"}, {"unknown type", "x.doc"}};
    for (const auto& row : rows) {
        test::TRun run = vetra(std::string("--import ") + row.file + " out.vt");
        EXPECT_EQ(run.status, 1) << row.name;
        EXPECT_EQ(run.err, std::string("无法导入文件 ") + row.file + "\n") << row.name;
        EXPECT_FALSE(std::filesystem::exists(workDir() + "out.vt")) << row.name;
    }
}

TEST(OutlineCommands, TheEditorImportsExportsAndPastesText) {
    std::string dir = workDir();
    const struct {
        const char* name;
        std::string script;
        const char* expected;
    } rows[] = {
        {"import opens a new unsaved window",
         "answer " + dataPath("outline_sample.md") + "\nmenu N_Import\ndump\nstate\n",
         "outline_sample *\n  Shopping\n    Fruit\n      Apples\n      Pears\n    Bread\n  Notes\n"
         "modified 1\nundo 0\nfile \nviews [outline_sample]\nclipboard 0\nredo 0\nzoom 100\n"},
        {"a damaged file is refused", "answer " + dir + "bad.mm\nmenu N_Import\n",
         "message: 系统警告: 无法导入文件 BAD\n"},
        {"pasted lines nest by indentation and undo as one",
         "clipboard-text 甲\\n\\t乙\\n\\t\\t丙\\n丁\nselect r\nkey Ctrl+V\ndump\nkey "
         "Ctrl+Backspace\ndump\n",
         "双击输入标题 *\n  甲\n    乙\n      丙\n  丁\n双击输入标题 *\n"},
        {"the current view goes out as OPML",
         "clipboard-text 甲\\n\\t乙\nselect r\nkey Ctrl+V\nanswer " + dir +
             "view.opml\nmenu N_Export_Outline\n",
         ""},
    };
    std::ofstream(dir + "bad.mm") << "<map><node TEXT='x'></map>";
    for (const auto& row : rows) {
        test::TRun run = test::runScriptIn(dir, row.script);
        std::string out = run.out;
        if (size_t at = out.find(dir + "bad.mm"); at != std::string::npos)
            out.replace(at, dir.size() + 6, "BAD");
        EXPECT_EQ(run.status, 0) << row.name << ": " << run.err;
        EXPECT_EQ(out, row.expected) << row.name;
    }
    TOutline exported;
    ASSERT_TRUE(readOpml(slurp(dir + "view.opml"), exported));
    EXPECT_EQ(test::dumpOutline(exported), "双击输入标题\n  甲\n    乙\n");
}

}  // namespace
}  // namespace vetra
