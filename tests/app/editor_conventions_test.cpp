// Keys, redo, zoom and the status bar of the editor, driven through
// `vetra --run` on an empty document.
#include <gtest/gtest.h>

#include <sstream>

#include "app/run_vetra.h"

namespace {

using vetra::test::TRun;

TRun runScript(const std::string& script, int mode = 1) {
    return vetra::test::runScriptIn(vetra::test::workDir(), script, {},
                                    "VETRA_TEXT_MODE=" + std::to_string(mode));
}

// The lines of `text` that start with `prefix` (all of them for "").
std::string linesStartingWith(const std::string& text, const std::string& prefix) {
    std::istringstream in(text);
    std::string line, kept;
    while (std::getline(in, line))
        if (line.rfind(prefix, 0) == 0) kept += line + "\n";
    return kept;
}

constexpr char kTwo_Children[] =
    "key Ins\ntype A\nkey Return\nselect r\nkey Ins\ntype B\nkey Return\n";
constexpr char kGrandchild[] = "key Ins\nkey Esc\nselect r.0\nkey Ins\nkey Esc\n";

TEST(EditorConventions, ScriptedSessions) {
    const struct {
        const char* name;
        std::string script;
        const char* only;  // compare only the lines starting with this
        const char* expected;
    } rows[] = {
        {"Ctrl+D and Ctrl+U move the node while the drawing has the focus",
         std::string(kTwo_Children) + "select r.0\nkey Ctrl+D\ndump\nkey Ctrl+U\ndump\n", "",
         "双击输入标题\n  B\n  A *\n双击输入标题\n  A *\n  B\n"},
        {"Ctrl+Z undoes; Ctrl+Y, Ctrl+Shift+Z and the menu item redo",
         std::string(kTwo_Children) +
             "key Ctrl+Z\nkey Ctrl+Z\nstate\nkey Ctrl+Y\nkey Ctrl+Shift+Z\nstate\nkey "
             "Ctrl+Z\nmenu N_Redo\ndump\nstate\n",
         "redo", "redo 2\nredo 0\nredo 0\n"},
        {"undoing the subtree of the current sub-view goes back to the main view",
         std::string(kGrandchild) + "select r.0.0\nkey F4\nkey Ctrl+Z\nkey Ctrl+Z\ndump\nstate\n",
         "",
         "双击输入标题 *\nmodified 1\nundo 0\nfile \nviews [双击输入标题]\nclipboard 0\nredo "
         "2\nzoom 100\n"},
        {"erase parent keeps the caption pending for the lifted child",
         std::string(kGrandchild) +
             "select r.0.0\nclick r.0.0\ntype 保留\nmenu N_Erase_Parent\nmenu N_Save\ndump\n",
         "", "双击输入标题\n  保留 *\n"},
        {"zoom keys, the wheel with Ctrl and the command stay within 10 to 400",
         "zoom 200\nkey Ctrl+=\nstate\nkey Ctrl+-\nkey Ctrl+-\nstate\nkey Ctrl+0\nstate\nzoom "
         "5\nstate\nzoom 1000\nwheel 0 120 ctrl\nstate\nwheel 0 -120 ctrl\nstate\n",
         "zoom", "zoom 250\nzoom 175\nzoom 100\nzoom 10\nzoom 400\nzoom 300\n"},
        {"clicks, drags and the rubber band hit the zoomed drawing",
         std::string(kTwo_Children) +
             "zoom 250\nclick r.1\ndump\ndrag r.1 r.0\ndump\nzoom 40\nband r r.0.0\ndump\n",
         "",
         "双击输入标题\n  A\n  B *\n双击输入标题\n  A\n    B *\n双击输入标题 *\n  A *\n    B *\n"},
        {"a search without a match says so in the status bar", "search 没有这个\n", "",
         "message: status: 找不到 “没有这个”\n"},
    };
    for (const auto& row : rows) {
        TRun run = runScript(row.script);
        EXPECT_EQ(run.status, 0) << row.name << ": " << run.err;
        EXPECT_EQ(linesStartingWith(run.out, row.only), row.expected) << row.name;
    }
}

// In traditional mode a simplified character that Big5 lacks is typed as its
// traditional form instead of becoming "?".
TEST(EditorConventions, TraditionalModeConvertsTypedSimplifiedCharacters) {
    TRun run = runScript("key Ins\ntype 这们\nkey Return\ndump\n", 2);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "雙擊輸入標題 *\n  這們\n");
}

}  // namespace
