// The editor driven end to end through `vetra --run`: real widgets, real
// keys and mouse events, offscreen.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/run_vetra.h"
#include "model/tree_node.h"
#include "platform/file.h"
#include "platform/text_mode.h"
#include "store/node_record.h"

namespace {

using vetra::test::dataPath;
using vetra::test::TRun;
using vetra::test::workDir;

TRun runScript(const std::string& script, const std::string& file = {}) {
    return vetra::test::runScriptIn(workDir(), script, file);
}

constexpr char kSample_Outline[] =
    "项目计划\n  需求\n    用户访谈\n    竞品分析 +\n  设计\n    界面\n    数据格式\n  发布\n";

// A script runs to its end and prints what it was asked to (status 0), or
// stops at the first line that cannot run and names it (status 2).
TEST(RunScript, KeysEditTheTreeAndBadLinesStopTheScript) {
    const struct {
        const char* name;
        const char* script;
        const char* expected;  // the whole output, or for status 2 a part of the error
        int status = 0;
    } rows[] = {
        {"Insert, type, Enter names a new child; the parent stays selected",
         "select r\nkey Ins\ntype 第一个\nkey Return\ndump\nstate\n",
         "双击输入标题 *\n  第一个\nmodified 1\nundo 1\nfile \nviews [双击输入标题]\nclipboard "
         "0\nredo 0\nzoom 100\n"},
        {"a new document's root is selected with the drawing focused; Escape drops the typed "
         "caption",
         "key Ins\ntype 丢弃\nkey Esc\ndump\n", "双击输入标题 *\n  新节点\n"},
        {"Tab in the caption editor adds a further child to the selected node",
         "select r\nkey Ins\ntype A\nkey Tab\ntype B\nkey Return\ndump\n",
         "双击输入标题\n  A\n  B *\n"},
        {"the view root cannot be deleted", "select r\nkey Del\ndump\n",
         "message: 系统警告: 根节点不允许删除\n双击输入标题 *\n"},
        {"a character the code page lacks is reported while typing and stored as \"?\"",
         "key Ins\ntype 😀x\ndump\nkey Return\ndump\n",
         "message: 系统警告: 标题中有 1 个字符无法以当前编码保存，已换成“?”\n双击输入标题 *\n  "
         "新节点\n双击输入标题 *\n  ?x\n"},
        {"no such node", "dump\nselect r.9\ndump\n", "line 2: no node at r.9", 2},
        {"unknown command", "frobnicate\n", "line 1: unknown command frobnicate", 2},
        {"no such menu item", "menu N_No_Such_Item\n",
         "line 1: no enabled menu item N_No_Such_Item", 2},
        {"unknown key", "key NoSuchKey\n", "line 1: unknown key NoSuchKey", 2},
    };
    for (const auto& row : rows) {
        TRun run = runScript(row.script);
        EXPECT_EQ(run.status, row.status) << row.name << ": " << run.err;
        if (row.status == 0) {
            EXPECT_EQ(run.out, row.expected) << row.name;
        } else {
            EXPECT_NE(run.err.find(row.expected), std::string::npos) << row.name << run.err;
        }
    }
}

TEST(RunScript, KeysAndMouseOnADocument) {
    const struct {
        const char* name;
        const char* script;
        std::string expected;
    } rows[] = {
        {"the document opens with its collapsed node and its root selected", "dump\n",
         std::string(kSample_Outline).insert(12, " *")},
        {"S, P and H walk the tree", "select r.0\nkey S\nkey P\nkey H\nkey 1\ndump\n",
         "项目计划 *\n  需求 +\n  设计 +\n  发布\n"},
        {"Ctrl+Up moves among siblings without an undo step",
         "select r.2\nkey Ctrl+Up\ndump\nstate\n",
         "项目计划\n  需求\n    用户访谈\n    竞品分析 +\n  发布 *\n  设计\n    界面\n    "
         "数据格式\n"
         "modified 0\nundo 0\nfile ./doc.vt\nviews [项目计划]\nclipboard 0\nredo 0\nzoom 100\n"},
        {"a second click on the selected node renames it",
         "click r.1\nclick r.1\ntype 新设计\nkey Return\ndump\n",
         "项目计划\n  需求\n    用户访谈\n    竞品分析 +\n  新设计 *\n    界面\n    数据格式\n  "
         "发布\n"},
        {"a rubber band selects both nodes and Enter then does nothing",
         "band r.0 r.1\nkey Return\nstate\n",
         "modified 0\nundo 0\nfile ./doc.vt\nviews [项目计划]\nclipboard 0\nredo 0\nzoom 100\n"},
        {"the marker expands a collapsed node", "click r.0.1 marker\ndump\n",
         "项目计划\n  需求\n    用户访谈\n    竞品分析 *\n      隐藏的节点\n  设计\n    界面\n"
         "    数据格式\n  发布\n"},
        {"dropping on the own parent is refused, on another node accepted",
         "drag r.0.0 r.0\ndrag r.2 r.1\ndump\nstate\n",
         "项目计划\n  需求\n    用户访谈\n    竞品分析 +\n  设计\n    界面\n    数据格式\n    发布 "
         "*\n"
         "modified 1\nundo 1\nfile ./doc.vt\nviews [项目计划]\nclipboard 0\nredo 0\nzoom 100\n"},
        {"copy and paste a subtree", "select r.1\nkey Ctrl+C\nselect r.2\nkey Ctrl+V\ndump\n",
         "项目计划\n  需求\n    用户访谈\n    竞品分析 +\n  设计\n    界面\n    数据格式\n  发布 "
         "*\n"
         "    设计\n      界面\n      数据格式\n"},
        {"a sub-view keeps P and H inside its subtree",
         "select r.0\nkey F4\nkey P\nkey H\ndump\nstate\n",
         "需求 *\n  用户访谈\n  竞品分析 +\nmodified 0\nundo 0\nfile ./doc.vt\n"
         "views 项目计划 [需求]\nclipboard 0\nredo 0\nzoom 100\n"},
        {"search opens the collapsed branch that holds the match", "search 隐藏\ndump\n",
         "项目计划\n  需求\n    用户访谈\n    竞品分析\n      隐藏的节点 *\n  设计\n    界面\n"
         "    数据格式\n  发布\n"},
        {"style panel rows change the selected node with one undo step each",
         "select r.1\nstyle edge 4\nstyle fill 0x00FF00\nstate\nkey Ctrl+Backspace\nstate\n",
         "modified 1\nundo 2\nfile ./doc.vt\nviews [项目计划]\nclipboard 0\nredo 0\nzoom 100\n"
         "modified 1\nundo 1\nfile ./doc.vt\nviews [项目计划]\nclipboard 0\nredo 1\nzoom 100\n"},
        {"closing a modified window asks, and Cancel keeps it",
         "select r.0\nkey Del\nanswer cancel\nmenu N_Close\nstate\n",
         "message: 系统提示: Vetra - 项目计划 - ./doc.vt 数据没有保存，保存数据？\n"
         "modified 1\nundo 1\nfile ./doc.vt\nviews [项目计划]\nclipboard 1\nredo 0\nzoom 100\n"},
    };
    for (const auto& row : rows) {
        vetra::test::copySample(workDir() + "doc.vt");
        TRun run = runScript(row.script, "./doc.vt");
        EXPECT_EQ(run.status, 0) << row.name << ": " << run.err;
        EXPECT_EQ(run.out, row.expected) << row.name;
    }
}

TEST(RunScript, SubViewsAreSavedAndRestored) {
    std::string doc = vetra::test::copySample(workDir() + "views.vt");
    TRun first = runScript("select r.0\nkey F4\nselect r.1\nkey F4\nmenu N_Save\nstate\n", doc);
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_NE(first.out.find("views 项目计划 需求 [竞品分析]"), std::string::npos) << first.out;

    TRun second = runScript("state\nselect r.0\nkey F4\ndump\n", doc);
    ASSERT_EQ(second.status, 0) << second.err;
    EXPECT_NE(second.out.find("views [项目计划] 需求 竞品分析"), std::string::npos)
        << "three tabs, the main view current: " << second.out;
    EXPECT_NE(second.out.find("需求 *\n  用户访谈\n  竞品分析\n    隐藏的节点\n"),
              std::string::npos)
        << "a restored sub-view opens four levels deep: " << second.out;
}

TEST(RunScript, TheHundredAndFirstViewIsRefused) {
    // A chain: each sub-view's only child becomes the next sub-view.
    vetra::setActiveTextMode(1);
    vetra::TTree_Node root;
    vetra::TTree_Node* at = &root;
    for (int i = 0; i < 105; ++i) at = at->appendChild(std::make_unique<vetra::TTree_Node>());
    std::string doc = workDir() + "chain.vt";
    {
        auto file = vetra::openFile(doc, vetra::TOpen_Mode::Create);
        ASSERT_TRUE(file && vetra::writeNodeTree(*file, root, {&root}));
    }
    std::string script;
    for (int i = 0; i < 100; ++i) script += "select r.0\nkey F4\n";
    script += "state\n";
    TRun run = runScript(script, doc);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("message: 系统警告: 已打开 100 个视图，请先关闭一些再创建"),
              std::string::npos)
        << run.out.substr(0, 300);
}

// `vetra --quit-after-paint [FILE]` starts the real editor (offscreen),
// paints, quits by itself and says how long that took.
TEST(QuitAfterPaint, QuitsAfterTheFirstPaintAndPrintsTheTime) {
    const struct {
        const char* name;
        std::string file;
    } rows[] = {
        {"no document", ""},
        {"a document", dataPath("mode2_tree.vt")},
    };
    for (const auto& row : rows) {
        TRun run = vetra::test::runCommand(
            "QT_QPA_PLATFORM=offscreen " VETRA_BINARY " --quit-after-paint " + row.file);
        EXPECT_EQ(run.status, 0) << row.name << ": " << run.err;
        const size_t lastLine = run.err.find_last_of('\n', run.err.size() - 2);
        const double ms =
            std::atof(run.err.c_str() + (lastLine == std::string::npos ? 0 : lastLine + 1));
        EXPECT_GT(ms, 0.0) << row.name << ": " << run.err;
    }
}

}  // namespace
