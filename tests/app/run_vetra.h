#pragma once

// Runs the vetra program as a user would from a shell and collects what it
// says.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace vetra::test {

struct TRun {
    int status;
    std::string out;
    std::string err;
};

inline std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A path in the temporary folder named after the running test and its
// suite (two suites may hold tests of one name), so tests that CTest runs
// side by side never share files.
inline std::string testScratch(const std::string& suffix) {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    return ::testing::TempDir() + "vetra_" + test->test_suite_name() + "_" + test->name() + suffix;
}

// `command` is the shell command line (the environment and the program's
// arguments); standard error goes to a scratch file and is read back.
// Every run gets a state, runtime and configuration folder of its test's
// own, so sessions that CTest runs side by side never meet through the
// single-instance socket or each other's recovery snapshots, and never touch
// the user's; a command that names its own folders overrides these.
inline TRun runCommand(const std::string& command) {
    std::string errPath = testScratch("_stderr.txt");
    std::string home = testScratch("_home");
    std::string isolated = "mkdir -p -m 700 " + home + "/run && export XDG_RUNTIME_DIR=" + home +
                           "/run XDG_STATE_HOME=" + home + "/state XDG_CONFIG_HOME=" + home +
                           "/config && ";
    TRun run;
    FILE* pipe = popen((isolated + "{ " + command + "; } 2>" + errPath).c_str(), "r");
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, got);
    int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = slurp(errPath);
    return run;
}

inline std::string dataPath(const std::string& name) {
    return std::string(VETRA_TEST_DATA) + "/" + name;
}

// The running test's own folder, emptied first when `fresh`.
inline std::string workDir(bool fresh = false, const std::string& suffix = "/") {
    std::string dir = testScratch(suffix);
    if (fresh) std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

// A copy of the sample document with notes at `path`; returns the path.
inline std::string copySample(const std::string& path) {
    std::filesystem::copy_file(dataPath("mode1_notes.vt"), path,
                               std::filesystem::copy_options::overwrite_existing);
    return path;
}

// Settings, state, the single-instance socket and temporary files of an
// editor session, all kept in `dir`.
inline std::string sessionEnvironment(const std::string& dir) {
    return "XDG_CONFIG_HOME=" + dir + "config XDG_STATE_HOME=" + dir +
           "state XDG_RUNTIME_DIR= TMPDIR=" + dir + " VETRA_TEXT_MODE=1 ";
}

// Runs `script` through `vetra --run` in `dir`, on `file` when given, with
// `environment` added to the session's.
inline TRun runScriptIn(const std::string& dir, const std::string& script,
                        const std::string& file = {}, const std::string& environment = {}) {
    std::ofstream(dir + "script.txt") << script;
    return runCommand("cd " + dir + " && " + sessionEnvironment(dir) + environment +
                      " " VETRA_BINARY " --run script.txt " + file);
}

}  // namespace vetra::test
