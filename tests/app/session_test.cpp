// Whole sessions of the real program: a killed editor's unsaved work comes
// back at the next start, a second start hands its file over, links are
// opened safely, and files that are not documents say so.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/run_vetra.h"

namespace {

using vetra::test::TRun;

using vetra::test::copySample;

// A session private to the test directory, with snapshots after `snapshotSeconds`.
std::string environmentOf(const std::string& dir, int snapshotSeconds = 1) {
    return vetra::test::sessionEnvironment(dir) +
           "QT_QPA_PLATFORM=offscreen VETRA_SNAPSHOT_SECONDS=" + std::to_string(snapshotSeconds) +
           " ";
}

// A shell loop that waits up to two minutes (a loaded machine starts a
// sanitized build slowly) for `condition`.
std::string waitFor(const std::string& condition) {
    return "for i in $(seq 1200); do " + condition + " >/dev/null 2>&1 && break; sleep 0.1; done; ";
}

TRun runScript(const std::string& dir, const std::string& script, const std::string& file = {},
               const std::string& environment = {}) {
    return vetra::test::runScriptIn(
        dir, script, file, "QT_QPA_PLATFORM=offscreen VETRA_SNAPSHOT_SECONDS=1 " + environment);
}

// Starts a session in the background, waits until `ready` holds, runs
// `then` and kills the session with SIGKILL.
void killWhen(const std::string& dir, int snapshotSeconds, const std::string& script,
              const std::string& file, const std::string& ready, const std::string& then = {}) {
    std::ofstream(dir + "background.txt") << script;
    vetra::test::runCommand("cd " + dir + " || exit 1; (" + environmentOf(dir, snapshotSeconds) +
                            "exec " VETRA_BINARY " --run background.txt " + file +
                            " >background.out 2>&1) & pid=$!; " + waitFor(ready) + then +
                            " kill -9 $pid; wait $pid");
}

TEST(Session, KilledEditorsUnsavedWorkComesBack) {
    const std::string snapshot = "ls state/vetra/recovery/*.vt";
    const struct {
        const char* name;
        int snapshotSeconds;
        std::string then;
        const char* answer;
        const char* expected;
    } rows[] = {
        {"after a second of edits; yes opens it unsaved under the original's name", 1, "", "yes",
         "项目计划 *\n  设计\n    界面\n    数据格式\n  发布\nmodified 1\n"},
        {"no deletes it", 1, "", "no", "双击输入标题 *\nmodified 0\n"},
        {"log-out (SIGTERM) writes it at once", 600, "kill -TERM $pid; " + waitFor(snapshot), "yes",
         "项目计划 *\n  设计\n    界面\n    数据格式\n  发布\nmodified 1\n"},
    };
    for (const auto& row : rows) {
        std::string dir = vetra::test::workDir(true);
        copySample(dir + "doc.vt");
        bool logOut = !row.then.empty();
        killWhen(dir, row.snapshotSeconds, "select r.0\nkey Del\nstate\nwait 60000\n", "./doc.vt",
                 logOut ? "grep -q modified background.out" : snapshot, row.then);
        TRun run = runScript(dir, std::string("answer ") + row.answer + "\ndump\nstate\n");
        EXPECT_EQ(run.status, 0) << row.name << ": " << run.err;
        EXPECT_NE(run.out.find("恢复未保存的文档？\n" + dir + "doc.vt  "), std::string::npos)
            << row.name << ": " << run.out;
        EXPECT_NE(run.out.find(row.expected), std::string::npos) << row.name << ": " << run.out;
        if (row.answer == std::string("yes")) {
            EXPECT_NE(run.out.find("file " + dir + "doc.vt\n"), std::string::npos) << run.out;
        }
        EXPECT_TRUE(std::filesystem::is_empty(dir + "state/vetra/recovery")) << row.name;
    }
}

TEST(Session, SnapshotOnLogOutAndNoneAfterANormalEnd) {
    std::string dir = vetra::test::workDir(true);
    copySample(dir + "doc.vt");
    runScript(dir, "select r.0\nkey Del\nmenu N_Save\nwait 1500\n", "./doc.vt");
    EXPECT_FALSE(std::filesystem::exists(dir + "state/vetra/recovery") &&
                 !std::filesystem::is_empty(dir + "state/vetra/recovery"))
        << "saved: nothing to recover";
    runScript(dir, "select r.0\nkey Del\nsnapshot\n", "./doc.vt");
    TRun run = runScript(dir, "answer yes\ndump\n");
    EXPECT_NE(run.out.find("项目计划 *\n  发布\n"), std::string::npos) << run.out;
}

TEST(Session, ASecondStartHandsOverTheAbsolutePath) {
    std::string dir = vetra::test::workDir(true);
    std::filesystem::create_directories(dir + "A");
    std::filesystem::create_directories(dir + "B");
    copySample(dir + "B/plan.vt");
    std::ofstream(dir + "A/plan.vt") << "not this one";
    killWhen(dir, 1, "wait 60000\n", "", "ls vetra-*/RunOnlyOneInstance_Vetra-*",
             "cd B && " + environmentOf(dir) + VETRA_BINARY " plan.vt; echo $? >" + dir +
                 "second.status; cd " + dir + "; " +
                 waitFor("grep -q B/plan.vt config/vetra/qoopt.qoo"));
    EXPECT_EQ(vetra::test::slurp(dir + "second.status"), "0\n") << "handed over";
    const std::string options = vetra::test::slurp(dir + "config/vetra/qoopt.qoo");
    EXPECT_NE(options.find("file_0 = " + dir + "B/plan.vt"), std::string::npos) << options;
}

TEST(Session, LinksOpenSafelyAndMissingFilesSaySo) {
    std::string dir = vetra::test::workDir(true);
    // A browser that records what it was given.
    std::filesystem::create_directories(dir + "bin");
    for (const char* program : {"xdg-open", "x-www-browser"}) {
        std::ofstream(dir + "bin/" + program)
            << "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\" >>" << dir << "launched; done\n";
        std::filesystem::permissions(dir + "bin/" + program, std::filesystem::perms::owner_all);
    }
    std::ofstream(dir + "-rf") << "a file whose name looks like an option";
    TRun run = runScript(dir, "select r\nlink -rf\nwait 500\nlink ./missing.doc\nlink -missing\n",
                         "", "VETRA_OPEN_LINKS=1 PATH=" + dir + "bin:$PATH");
    EXPECT_EQ(run.status, 0) << run.err;
    std::string launched = vetra::test::slurp(dir + "launched");
    EXPECT_EQ(launched, "file://" + dir + "-rf\n");
    EXPECT_EQ(run.out,
              "message: 系统警告: 打开/执行文件失败，请检查配置关联程序\n"
              "message: 系统警告: 打开/执行文件失败，请检查配置关联程序\n");
}

TEST(Session, FilesThatCannotBeOpenedSaySoOnce) {
    const struct {
        const char* name;
        const char* bytes;
        const char* expected;
    } rows[] = {
        {"not a document", "plain text, not a tree", "message: 系统警告: 不是树文档 notes.vt\n"},
        {"a newer version", "vt99", "message: 系统警告: 该文件需要更高版本的软件打开\n"},
    };
    for (const auto& row : rows) {
        std::string dir = vetra::test::workDir(true);
        std::ofstream(dir + "notes.vt") << row.bytes;
        TRun run = runScript(dir, "state\n", "notes.vt");
        EXPECT_EQ(run.out, row.expected) << row.name;
    }
}

}  // namespace
