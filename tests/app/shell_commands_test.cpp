// The tool menu's association, help and about commands, and sending a
// subtree by mail, through `vetra --run` on the real program.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

#include "app/run_vetra.h"

namespace {

using vetra::test::slurp;
using vetra::test::TRun;

std::string workDir() {
    std::string dir = vetra::test::testScratch("/");
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

TRun runScript(const std::string& dir, const std::string& script,
               const std::string& environment = {}) {
    std::ofstream(dir + "script.txt") << script;
    return vetra::test::runCommand(
        "cd " + dir + " && XDG_CONFIG_HOME=" + dir + "config VETRA_TEXT_MODE=1 " + environment +
        " " VETRA_BINARY " --run script.txt " VETRA_TEST_DATA "/mode1_notes.vt");
}

TEST(ShellCommands, AssociationWritesTheSameFilesEveryTime) {
    const std::string dir = workDir();
    const std::string data = dir + "data";
    const char* const files[] = {"/mime/packages/vetra-mime.xml", "/applications/vetra.desktop",
                                 "/icons/hicolor/scalable/apps/vetra.svg"};
    std::string first[3];
    for (int run = 0; run < 2; ++run) {
        TRun result = runScript(dir, "menu N9\n", "XDG_DATA_HOME=" + data);
        EXPECT_EQ(result.out, "message: 系统警告: 关联文件操作成功\n") << result.err;
        for (int i = 0; i < 3; ++i) {
            const std::string bytes = slurp(data + files[i]);
            EXPECT_FALSE(bytes.empty()) << files[i];
            if (run == 1) {
                EXPECT_EQ(bytes, first[i]) << files[i];
            }
            first[i] = bytes;
        }
    }
    EXPECT_NE(first[1].find("Exec=\"" VETRA_BINARY "\" %f\n"), std::string::npos) << first[1];
    // A data folder that is a file cannot take the entries.
    std::ofstream(dir + "plain-file") << "x";
    EXPECT_EQ(runScript(dir, "menu N9\n", "XDG_DATA_HOME=" + dir + "plain-file").out,
              "message: 系统警告: 关联文件操作失败\n");
}

TEST(ShellCommands, HelpOpensOnceAndAboutShowsTheSystem) {
    const std::string dir = workDir();
    // F1 twice: one help window, in front; closing it leaves the document.
    TRun help = runScript(dir, "menu N_Help\nmenu N_Help\nstate\nmenu N_Close\nstate\n");
    EXPECT_NE(help.out.find("file " + std::filesystem::path(VETRA_BINARY).parent_path().string() +
                            "/vt_help.vt"),
              std::string::npos)
        << help.out;
    EXPECT_NE(help.out.find("file " VETRA_TEST_DATA "/mode1_notes.vt"), std::string::npos)
        << help.out;

    TRun about = runScript(dir, "menu N3\n");
    EXPECT_TRUE(std::regex_search(
        about.out, std::regex("message: 关于系统: Vetra管理 V3\\.1 \\| .* \\| 可用物理内存  [0-9]+ "
                              "KB \\| .* LID: [0-9]+\n")))
        << about.out;
}

TEST(ShellCommands, SendingHandsTheSubtreeFileToTheMailComposer) {
    const struct {
        const char* name;
        bool mailer;
        const char* expected;  // what the script prints
    } rows[] = {
        {"mail composer", true, ""},
        {"no mail composer", false, "message: 系统警告: 本机未安装OutLook,或OutLook打开错误！\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string dir = workDir();
        const std::string mailer = dir + "fake-xdg-email";
        if (row.mailer) {
            std::ofstream(mailer) << "#!/bin/sh\necho \"$@\" > " << dir << "mail.txt\n";
            chmod(mailer.c_str(), 0755);
        }
        TRun run =
            runScript(dir, "select r.0\nanswer " + dir + "sub.vt\nmenu N_Export_Node_And_Send\n",
                      "VETRA_XDG_EMAIL=" + mailer);
        EXPECT_EQ(run.out, row.expected) << run.err;
        EXPECT_TRUE(std::filesystem::exists(dir + "sub.vt"));
        if (row.mailer) {
            EXPECT_EQ(slurp(dir + "mail.txt"), "--attach " + dir + "sub.vt --subject sub.vt\n");
        }
    }
}

}  // namespace
