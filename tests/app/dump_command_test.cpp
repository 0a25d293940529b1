#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "app/run_vetra.h"

namespace {

using vetra::test::dataPath;
using vetra::test::slurp;
using vetra::test::TRun;

TRun runVetra(const std::string& arguments, int textMode) {
    return vetra::test::runCommand("VETRA_TEXT_MODE=" + std::to_string(textMode) +
                                   " " VETRA_BINARY " " + arguments);
}

TEST(DumpCommand, PrintsOutlinesInEitherMode) {
    const struct {
        const char* file;
        int mode;
        const char* outline;
    } rows[] = {
        {"mode1_notes.vt", 1,
         "项目计划\n  需求\n    用户访谈\n    竞品分析\n      隐藏的节点\n  设计\n    界面\n"
         "    数据格式\n  发布\n"},
        {"mode1_notes.vt", 2,
         "項目計劃\n  需求\n    用戶訪談\n    競品分析\n      隱藏的節點\n  設計\n    界面\n"
         "    數據格式\n  發佈\n"},
        {"mode2_tree.vt", 2, "專案計畫\n  會議記錄\n    開發進度\n  檔案連結\n"},
        {"mode2_tree.vt", 1, "专案计划\n  会议记录\n    开发进度\n  档案连结\n"},
    };
    for (const auto& row : rows) {
        TRun run = runVetra("--dump " + dataPath(row.file), row.mode);
        EXPECT_EQ(run.status, 0) << row.file << " mode " << row.mode << ": " << run.err;
        EXPECT_EQ(run.out, row.outline) << row.file << " mode " << row.mode;
    }
}

TEST(DumpCommand, FailuresExplainThemselvesOnStandardError) {
    std::string dir = ::testing::TempDir();
    std::string whole = slurp(dataPath("mode1_notes.vt"));
    const struct {
        const char* name;
        std::string bytes;
        const char* message;
    } rows[] = {
        {"cut.vt", whole.substr(0, 300), "文件已损坏，无法读取"},
        {"newer.vt", "vt31" + whole.substr(4), "该文件需要更高版本的软件打开"},
        {"text.vt", "hello, world\n", "不是树文档"},
    };
    for (const auto& row : rows) {
        std::ofstream(dir + row.name, std::ios::binary) << row.bytes;
        TRun run = runVetra("--dump " + dir + row.name, 1);
        EXPECT_EQ(run.status, 1) << row.name;
        EXPECT_TRUE(run.out.empty()) << row.name;
        EXPECT_NE(run.err.find(row.message), std::string::npos) << row.name << ": " << run.err;
    }
    TRun missing = runVetra("--dump " + dir + "no-such-file.vt", 2);
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("無法打開文件"), std::string::npos) << missing.err;
}

}  // namespace
