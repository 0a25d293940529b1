#include <gtest/gtest.h>

#include "tests/app/run_vetra.h"
#include "tests/store/doc_fixture.h"

namespace vetra::test {
namespace {

// Each test runs vetra in a folder of its own.
struct StoreCommands : ::testing::Test {
    StoreCommands() { std::filesystem::current_path(f.Dir); }
    TDoc_Fixture f;
};

// vetra with `arguments`, in the current folder.
TRun run(const std::string& arguments) {
    return runCommand(VETRA_BINARY " " + arguments);
}

TEST_F(StoreCommands, SaveAsCopiesEveryNote) {
    ASSERT_EQ(run("--save-as " + copySample(f.path("in.vt")) + " out.vt").status, 0);
    const std::string source = f.contentOfFile("in.vt");
    EXPECT_EQ(f.contentOfFile("out.vt"), source);
    EXPECT_NE(source.find("]={\\rtf"), std::string::npos) << "the sample has notes";
}

TEST_F(StoreCommands, ExportNodeWritesTheSubtree) {
    auto doc = f.newDoc("r(a,b(c(d),e))");
    f.setNote(*find(*doc->root(), "d"), noisyNote(1, 5000));
    ASSERT_TRUE(doc->saveAs(f.path("in.vt"), {}));
    ASSERT_EQ(run("--export-node in.vt r.1.0 sub.vt").status, 0);
    auto sub = f.openDoc("sub.vt");
    ASSERT_TRUE(sub);
    EXPECT_EQ(describe(*sub->root()), "c(d)");
    EXPECT_EQ(f.noteOf(*sub, *find(*sub->root(), "d")), noisyNote(1, 5000));
}

// A save killed once its journal is written: --dump shows the document as
// it was, and leaves the file alone (the editor puts it back at open).
TEST_F(StoreCommands, DumpOfAnUnfinishedSaveShowsTheOldDocument) {
    std::string bytes;
    for (int cut = 1; bytes.empty() || !std::filesystem::exists(f.path(".j.vt-journal")); ++cut) {
        ASSERT_LT(cut, 30);
        *f.Plan = TFailure_Plan{};
        auto doc = f.newDoc("r(a,b)");
        ASSERT_TRUE(doc->saveAs(f.path("j.vt"), {}));
        bytes = f.bytesOf("j.vt");
        find(*doc->root(), "a")->setCaption("a much longer caption");
        f.Plan->Cut_At = f.Plan->Steps + cut;
        doc->save({});
    }
    TRun dump = run("--dump j.vt");
    ASSERT_EQ(dump.status, 0) << dump.err;
    EXPECT_EQ(dump.out, "r\n  a\n  b\n");
}

TEST_F(StoreCommands, FailuresExitWithOneAndAMessage) {
    auto doc = f.newDoc("r(a)");
    ASSERT_TRUE(doc->saveAs(f.path("in.vt"), {}));
    const struct {
        const char* name;
        std::string arguments;
        std::string message;
    } cases[] = {
        {"missing input", "--save-as none.vt out.vt", "无法打开文件 none.vt\n"},
        {"cannot create", "--save-as in.vt no/dir/out.vt", "无法创建文件\n"},
        {"no such node", "--export-node in.vt r.1 out.vt", "节点路径无效 r.1\n"},
        {"bad path", "--export-node in.vt x.0 out.vt", "节点路径无效 x.0\n"},
    };
    for (const auto& c : cases) {
        TRun failed = run(c.arguments);
        EXPECT_EQ(failed.status, 1) << c.name;
        EXPECT_EQ(failed.err, c.message) << c.name;
    }
    EXPECT_FALSE(std::filesystem::exists(f.path("out.vt")));
}

}  // namespace
}  // namespace vetra::test
