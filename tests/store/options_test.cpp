#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "store/options.h"
#include "tests/app/run_vetra.h"

namespace vetra {
namespace {

// Every test works in a configuration folder of its own, never the user's.
class OptionsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "vetra-opt-XXXXXX").string();
        Dir = ::mkdtemp(pattern.data());
        ::setenv("XDG_CONFIG_HOME", Dir.c_str(), 1);
    }
    void TearDown() override { std::filesystem::remove_all(Dir); }

    std::string Dir;
};

TEST_F(OptionsTest, DefaultsAreWrittenExactly) {
    TOptions options(1024, 768);
    options.File_Name = defaultOptionsPath();
    ASSERT_TRUE(options.save());
    std::string expected =
        "file_0 = \r\nfile_1 = \r\nfile_2 = \r\nfile_3 = \r\nfile_4 = \r\nfile_5 = \r\n"
        "color_0 = 0\r\ncolor_1 = 132\r\ncolor_2 = 33280\r\ncolor_3 = 33412\r\n"
        "color_4 = 8650752\r\ncolor_5 = 8650884\r\ncolor_6 = 8684032\r\ncolor_7 = 8684164\r\n"
        "color_8 = 14587515\r\ncolor_9 = 255\r\ncolor_10 = 0\r\ncolor_11 = 0\r\n"
        "user_def_color = 13535983\r\nmap_width = 200\r\nmap_height = 150\r\n"
        "map_visible = 1\r\nmap_x = 609\r\nmap_y = 518\r\nmap_visible = 1\r\n"
        "attr_win_visible = 1\r\nattr_win_x = 824\r\nattr_win_y = 358\r\n"
        "tree_design_color = 16381171\r\ndoc_edit_color = 16777215\r\n"
        "doc_edit_font_color = 0\r\nline_1_color = 11567232\r\nline_2_color = 11567232\r\n"
        "line_3_color = 11575456\r\nline_4_color = 11587792\r\n";
    EXPECT_EQ(test::slurp(Dir + "/vetra/qoopt.qoo"), expected) << "under XDG_CONFIG_HOME";
}

TEST_F(OptionsTest, RoundTrip) {
    TOptions written(1920, 1080);
    written.File_Name = Dir + "/round.qoo";
    written.Recent_Files[3] = "/home/u/a b.vt";
    written.Palette[11] = -1;
    written.Line_Color[2] = 42;
    written.Map_X = 10;
    ASSERT_TRUE(written.save());
    TOptions read(1920, 1080);
    EXPECT_FALSE(read.load(Dir + "/none.qoo"));
    EXPECT_EQ(read.serialize(), TOptions(1920, 1080).serialize())
        << "a missing file changes nothing";
    ASSERT_TRUE(read.load(written.File_Name));
    EXPECT_EQ(read.serialize(), written.serialize());
}

TEST_F(OptionsTest, LoadingToleratesAndCorrects) {
    const struct {
        const char* name;
        const char* line;
        int32_t TOptions::*field;
        int32_t expected;
    } cases[] = {
        {"overview width 10 loads as 50", "map_width = 10", &TOptions::Map_Width, 50},
        {"overview width capped at a quarter screen", "map_width = 900", &TOptions::Map_Width, 256},
        {"overview left -5 loads as 0", "map_x = -5", &TOptions::Map_X, 0},
        {"panel top capped", "attr_win_y = 5000", &TOptions::Attr_Win_Y, 768 - 360},
        {"capital key ignored", "MAP_HEIGHT = 60", &TOptions::Map_Height, 150},
        {"tabs and blanks around", "\tuser_def_color\t=  \t 77", &TOptions::User_Def_Color, 77},
        {"no number: unchanged", "doc_edit_color = blue", &TOptions::Doc_Edit_Color, 0xFFFFFF},
        {"leading number only", "doc_edit_color = 12abc", &TOptions::Doc_Edit_Color, 12},
        {"last of two wins", "map_visible = 0\r\nmap_visible = 1\r", &TOptions::Map_Visible, 1},
        {"empty value ignored", "line_1_color = ", &TOptions::User_Def_Color, 0xCE8AEF},
        {"line colour", "line_4_color = -7", &TOptions::Doc_Edit_Font_Color, 0},
    };
    for (const auto& c : cases) {
        TOptions options(1024, 768);
        options.parse(c.line);
        EXPECT_EQ(options.*(c.field), c.expected) << c.name;
    }
    TOptions options(1024, 768);
    options.parse(
        "color_12 = 5\nfile_7 = x.vt\ncolor_3 = 5\r\nfile_2 = \\\\srv\\a.vt\r\nnoequals\n");
    EXPECT_EQ(options.Palette[3], 5);
    EXPECT_EQ(options.Recent_Files[2], "\\\\srv\\a.vt");
    EXPECT_EQ(options.Line_Color[3], 0xB0D0D0);
}

TEST_F(OptionsTest, RecentFiles) {
    TOptions options(1024, 768);
    options.File_Name = defaultOptionsPath();
    options.Program_Directory = "/opt/vetra";
    for (const char* name : {"/a.vt", "/b.vt", "/c.vt", "/d.vt", "/e.vt", "/f.vt"})
        options.addRecentFile(name);
    EXPECT_EQ(options.Recent_Files[0], "/f.vt");
    EXPECT_EQ(options.Recent_Files[5], "/a.vt");

    options.addRecentFile("/d.vt");  // in slot 2: nothing moves
    EXPECT_EQ(options.Recent_Files[0], "/f.vt");
    options.addRecentFile("/g.vt");  // the seventh drops the oldest
    EXPECT_EQ(options.Recent_Files[0], "/g.vt");
    EXPECT_EQ(options.Recent_Files[5], "/b.vt");

    options.addRecentFile("/opt/vetra/help/vt_help.vt");
    EXPECT_EQ(options.Recent_Files[0], "./help/vt_help.vt");
    options.addRecentFile("/opt/vetra/help/vt_help.vt");
    EXPECT_EQ(options.Recent_Files[1], "./help/vt_help.vt") << "the full name differs";

    options.addRecentFile(std::string(300, 'x'));
    EXPECT_EQ(options.Recent_Files[2], "/g.vt") << "too long to list: nothing moved";

    // A name typed in another directory must open the same file later.
    std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(Dir);
    options.addRecentFile("sub/../plan.vt");
    std::filesystem::current_path(before);
    EXPECT_EQ(options.Recent_Files[0], Dir + "/plan.vt");

    TOptions saved(1024, 768);
    ASSERT_TRUE(saved.load(defaultOptionsPath())) << "saved at once";
    EXPECT_EQ(saved.Recent_Files[2], "./help/vt_help.vt");
}

// The file is replaced whole through a sibling: a linked options file
// (dotfiles kept elsewhere) stays a link, and nothing is left beside it.
TEST_F(OptionsTest, SavingReplacesTheFileWholeThroughLinks) {
    std::filesystem::create_directories(Dir + "/vetra");
    std::ofstream(Dir + "/real.qoo") << "map_width = 60\r\n";
    std::filesystem::create_symlink(Dir + "/real.qoo", defaultOptionsPath());
    TOptions options(1024, 768);
    ASSERT_TRUE(options.load(defaultOptionsPath()));
    options.Map_Width = 70;
    ASSERT_TRUE(options.save());
    EXPECT_TRUE(std::filesystem::is_symlink(defaultOptionsPath()));
    EXPECT_EQ(test::slurp(Dir + "/real.qoo"), options.serialize());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Dir + "/vetra"),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(OptionsTest, RelativeRecentNamesResolveInTheProgramDirectory) {
    EXPECT_EQ(resolveRecentFile("./a.vt", "/opt/v"), "/opt/v/a.vt");
    EXPECT_EQ(resolveRecentFile(".\\docs\\a.vt", "/opt/v"), "/opt/v/docs/a.vt");
    EXPECT_EQ(resolveRecentFile("/home/a.vt", "/opt/v"), "/home/a.vt");
}

}  // namespace
}  // namespace vetra
