#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "layout/style_codes.h"
#include "layout/tree_builder.h"
#include "platform/file.h"
#include "store/node_record.h"
#include "tests/app/run_vetra.h"

namespace vetra {
namespace {

using testing::addChild;
using testing::makeNode;

test::TRun run(const std::string& arguments) {
    return test::runCommand(VETRA_BINARY " " + arguments);
}

std::string writeDocument(const TTree_Node& root, const std::string& name) {
    const std::string path = (std::filesystem::temp_directory_path() / name).string();
    auto file = openFile(path, TOpen_Mode::Create);
    EXPECT_TRUE(file && writeNodeTree(*file, root, {}));
    return path;
}

// The layout dump of a Stru_Down row, in full; a collapsed branch is left
// out of the dump but a collapsed root is laid out open; the paint dump
// records the background first.
TEST(LayoutCommand, DumpsWithFixedMetrics) {
    auto stru = testing::buildTree("r(a,bb)");
    stru->setViewStyle(kView_Stru_Down);
    auto collapsed = testing::buildTree("root(a(hidden),b)");
    collapsed->Expanded = collapsed->child(0)->Expanded = 0;
    auto single = makeNode("r");
    const struct {
        const char* name;
        const TTree_Node& root;
        const char* command;
        std::string start;  // the whole dump when `whole`
        bool whole;
        std::vector<const char*> shown, hidden;
    } cases[] = {
        // clang-format off
        {"stru", *stru, "--dump-layout", "picture 78 112\nr 26 20 26 26 7 3 0 0 0 0\n" "r.0 20 66 15 26 7 3 7 0 13 31\nr.1 35 66 23 26 7 3 11 0 13 31\n", true, {}, {}},
        {"collapsed", *collapsed, "--dump-layout", "picture ", false, {"\nr.0 ", "\nr.1 "}, {"r.0.0"}},
        {"paint", *single, "--dump-paint", "fill_rect 0 0 55 66 00F9F4F3\n", false, {"text 22 23 \"r\"\n"}, {}},
        // clang-format on
    };
    for (const auto& c : cases) {
        const std::string path = writeDocument(c.root, std::string("vetra_dump_") + c.name + ".vt");
        test::TRun result = run(std::string(c.command) + " " + path + " --metrics fixed");
        EXPECT_EQ(result.status, 0) << c.name;
        EXPECT_EQ(c.whole ? result.out : result.out.substr(0, c.start.size()), c.start) << c.name;
        for (const char* text : c.shown)
            EXPECT_NE(result.out.find(text), std::string::npos) << c.name;
        for (const char* text : c.hidden)
            EXPECT_EQ(result.out.find(text), std::string::npos) << c.name;
    }
}

TEST(LayoutCommand, RefusesBadArguments) {
    auto root = makeNode("r");
    const std::string path = writeDocument(*root, "vetra_render_args.vt");
    const struct {
        const char* name;
        std::string arguments;
        int status;
    } cases[] = {
        {"unknown metrics", "--dump-layout " + path + " --metrics odd", 2},
        {"missing file", "--dump-layout /nonexistent/x.vt --metrics fixed", 1},
        {"not a document", "--dump-paint /etc/hostname --metrics fixed", 1},
        {"unknown picture format", "--render " + path + " /tmp/vetra_out.gif", 2},
        {"render without output", "--render " + path, 2},
    };
    for (const auto& c : cases) EXPECT_EQ(run(c.arguments).status, c.status) << c.name;
}

TEST(LayoutCommand, RenderWritesEveryPictureFormat) {
    auto root = makeNode("root");
    addChild(*root, "child")->Edge_Style = kEdge_Round_Rect;
    const std::string path = writeDocument(*root, "vetra_render.vt");
    for (const char* suffix : {".png", ".bmp", ".jpg"}) {
        const std::string out =
            (std::filesystem::temp_directory_path() / (std::string("vetra_render") + suffix))
                .string();
        std::filesystem::remove(out);
        EXPECT_EQ(run("--render " + path + " " + out).status, 0) << suffix;
        EXPECT_TRUE(std::filesystem::exists(out) && std::filesystem::file_size(out) > 100)
            << suffix;
    }
}

// A List_Right chain of 6 000 nodes draws about 100 000 x 200 000 pixels:
// far more than a picture can hold, so nothing is allocated or written.
TEST(LayoutCommand, RenderRefusesADrawingTooLargeForOnePicture) {
    auto root = makeNode("root");
    root->setViewStyle(kView_List_Right);
    TTree_Node* tail = root.get();
    for (int i = 0; i < 6000; ++i) tail = addChild(*tail, "node");
    const std::string path = writeDocument(*root, "vetra_render_huge.vt");
    const std::string out = (std::filesystem::temp_directory_path() / "vetra_huge.png").string();
    std::filesystem::remove(out);
    EXPECT_EQ(run("--render " + path + " " + out).status, 1);
    EXPECT_FALSE(std::filesystem::exists(out));
    // The same document still lays out: only the picture is refused.
    test::TRun dump = run("--dump-layout " + path + " --metrics fixed");
    EXPECT_EQ(dump.status, 0);
    EXPECT_EQ(dump.out.rfind("picture ", 0), 0u);
}

}  // namespace
}  // namespace vetra
