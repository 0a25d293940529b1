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

TEST(LayoutCommand, DumpLayoutWithFixedMetrics) {
    auto root = testing::buildTree("r(a,bb)");
    root->setViewStyle(kView_Stru_Down);
    const std::string path = writeDocument(*root, "vetra_dump_layout_stru.vt");
    test::TRun result = run("--dump-layout " + path + " --metrics fixed");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out,
              "picture 78 112\n"
              "r 26 20 26 26 7 3 0 0 0 0\n"
              "r.0 20 66 15 26 7 3 7 0 13 31\n"
              "r.1 35 66 23 26 7 3 11 0 13 31\n");
}

TEST(LayoutCommand, DumpLayoutSkipsCollapsedBranchesButExpandsTheRoot) {
    auto root = testing::buildTree("root(a(hidden),b)");
    root->Expanded = root->child(0)->Expanded = 0;
    const std::string path = writeDocument(*root, "vetra_dump_layout_collapsed.vt");
    test::TRun result = run("--dump-layout " + path + " --metrics fixed");
    EXPECT_EQ(result.status, 0);
    EXPECT_NE(result.out.find("\nr.0 "), std::string::npos);
    EXPECT_NE(result.out.find("\nr.1 "), std::string::npos);
    EXPECT_EQ(result.out.find("r.0.0"), std::string::npos);
}

TEST(LayoutCommand, DumpPaintRecordsTheBackgroundFirst) {
    auto root = makeNode("r");
    const std::string path = writeDocument(*root, "vetra_dump_paint.vt");
    test::TRun result = run("--dump-paint " + path + " --metrics fixed");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out.rfind("fill_rect 0 0 55 66 00F9F4F3\n", 0), 0u) << result.out;
    EXPECT_NE(result.out.find("text 22 23 \"r\"\n"), std::string::npos) << result.out;
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
