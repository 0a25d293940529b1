// vetra --note, --note-rtf, --set-note and the script commands of the node
// dialog, run as a user runs them.
#include <filesystem>

#include "rtf/rtf_test_support.h"
#include "tests/app/run_vetra.h"

namespace vetra::test {
namespace {

const std::string kVetra =
    std::string("VETRA_TEXT_MODE=1 QT_QPA_PLATFORM=offscreen ") + VETRA_BINARY;

TEST(NoteCommands, NotesSetFromWindowsFilesReadBackAndStay) {
    // What the notes read as is checked line for line by the reader's tests.
    for (const char* file :
         {"gbk_note.rtf", "big5_note.rtf", "object_bitmap.rtf", "pict_pictures.rtf"}) {
        std::string doc = copySample(testScratch(".vt"));
        ASSERT_EQ(runCommand(kVetra + " --set-note " + doc + " r.1 " +
                             dataPath(std::string("notes/") + file))
                      .status,
                  0)
            << file;
        TRun lines = runCommand(kVetra + " --note " + doc + " r.1");
        EXPECT_EQ(lines.status, 0) << file;
        std::string expected;
        for (const std::string& line : plainTextLines(parsed(readNoteFile(file))))
            expected += line + "\n";
        EXPECT_EQ(lines.out, expected) << file;
        // The note the editor writes, set again, is written the same way.
        std::string rtf = runCommand(kVetra + " --note-rtf " + doc + " r.1").out;
        std::string again = testScratch("_again.rtf");
        std::ofstream(again, std::ios::binary) << rtf;
        ASSERT_EQ(runCommand(kVetra + " --set-note " + doc + " r.1 " + again).status, 0);
        EXPECT_EQ(runCommand(kVetra + " --note-rtf " + doc + " r.1").out, rtf) << file;
        EXPECT_EQ(runCommand(kVetra + " --note " + doc + " r.0.0").out, "short note\n")
            << "other notes stay";
    }
}

TEST(NoteCommands, FailuresExitWithOneAndAMessage) {
    std::string doc = copySample(testScratch(".vt"));
    const struct {
        const char* name;
        std::string arguments;
        const char* message;
    } cases[] = {
        {"node without a note", "--note " + doc + " r.0", "该节点没有笔记"},
        {"bad path", "--note " + doc + " r.7", "节点路径无效"},
        {"missing note file", "--set-note " + doc + " r.1 /nonexistent.rtf", "无法打开文件"},
    };
    for (const auto& c : cases) {
        TRun run = runCommand(kVetra + " " + c.arguments);
        EXPECT_EQ(run.status, 1) << c.name;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.name << ": " << run.err;
    }
}

TEST(NoteCommands, ScriptsEditANoteInTheDialogAndUndoIt) {
    std::string doc = copySample(testScratch(".vt"));
    TRun run = runScriptIn(workDir(),
                           "select r.0.0\nkey Return\nfocus RichEdit\nkey Ctrl+End\n"
                           "type !\nkey Ctrl+Return\nnote r.0.0\nstate\n"
                           "key Ctrl+Backspace\nnote r.0.0\nstate\n",
                           doc);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("short note!\nmodified 1\nundo 1\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("short note\nmodified 1\nundo 0\n"), std::string::npos)
        << "undone: " << run.out;
}

}  // namespace
}  // namespace vetra::test
