// The note converter: runs, escaping, the text it must not lose, pictures and
// hostile notes.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "export/html_text.h"
#include "export/rtf_to_html.h"
#include "platform/text_mode.h"

namespace vetra {
namespace {

std::string convert(std::string_view rtf, const std::string& directory = ::testing::TempDir(),
                    int32_t* pictures = nullptr) {
    std::string out;
    TRtf_Reader_To_Html reader(out, directory);
    reader.setObjectPrefix("tree");
    if (pictures != nullptr) reader.setPictureCounter(*pictures);
    reader.parse(rtf);
    if (pictures != nullptr) *pictures = reader.pictureCounter();
    return out;
}

struct TCase {
    const char* name;
    const char* rtf;
    const char* expected;
};

const TCase kRuns[] = {
    // clang-format off
    {"table_font_colour_size", "{\\rtf1\\ansi{\\fonttbl{\\f0\\fnil\\fcharset134 SimSun;}}{\\colortbl " ";\\red255\\green0\\blue0;}\\f0\\fs24\\cf1 A<B\\par}", "<font style='font-size: 12pt;font-family: SimSun' color=#ff0000 >\nA&lt;B<br>\n</font>\n"},
    {"bold_group_makes_three_runs", "{\\rtf1 x{\\b y}z}", "@x</font>\n@<b>y</b></font>\n@z</font>\n"},
    {"ul0_keeps_underline_ulnone_ends_it", "{\\rtf1\\ul a\\ul0 b\\ulnone c}", "@<u>a</u></font>\n@<u>b</u></font>\n@c</font>\n"},
    {"generator_and_stylesheet_skipped", "{\\rtf1{\\*\\generator Riched20 5.50;}{\\stylesheet{\\s1 Heading;}}t}", "@t</font>\n"},
    {"colour_table_entries", "{\\rtf1{\\colortbl ;\\red0\\green0\\blue255;}\\cf1 a\\cf3 b}", "<font style='font-size: 12pt;font-family: ' color=#0000ff >\na</font>\n<font style='font-size: 12pt;font-family: ' color=#0000ff >\nb</font>\n"},
    {"text_after_last_brace_dropped", "{\\rtf1 a}} b", "@a</font>\n"},
    // clang-format on
};

class Runs : public ::testing::TestWithParam<TCase> {};

// "@" in an expected text opens a run in the default font and colour.
TEST_P(Runs, ConvertAsWritten) {
    std::string expected = GetParam().expected;
    for (size_t at; (at = expected.find('@')) != std::string::npos;)
        expected.replace(at, 1, "<font style='font-size: 12pt;font-family: ' color=#000000 >\n");
    EXPECT_EQ(convert(GetParam().rtf), expected);
}

INSTANTIATE_TEST_SUITE_P(Notes, Runs, ::testing::ValuesIn(kRuns),
                         [](const auto& info) { return std::string(info.param.name); });

// Only the text of the single run, without its font element.
std::string runText(std::string_view rtf) {
    std::string html = convert(rtf);
    std::string text;
    for (size_t at = 0; (at = html.find(" >\n", at)) != std::string::npos;) {
        at += 3;
        size_t end = html.find("</font>", at);
        text += html.substr(at, end - at);
    }
    return text;
}

const TCase kText[] = {
    // clang-format off
    {"one_delimiting_space_only", "{\\rtf1\\b0  x}", "&nbsp;x"},
    {"par_keeps_typed_spaces", "{\\rtf1 a\\par   abc}", "a<br>\n&nbsp;&nbsp;abc"},
    {"unicode_with_fallback", "{\\rtf1 a\\u20320?b}", "a&#20320;b"},
    {"unicode_uc2_skips_escapes", "{\\rtf1\\uc2 \\u20320\\'c4\\'e3x}", "&#20320;x"},
    {"unicode_negative", "{\\rtf1\\u-3913?}", "&#61623;"},
    {"ansi_run_ending_in_unicode_keeps_text", "{\\rtf1 ab\\u8364?cd}", "ab&#8364;cd"},
    {"surrogate_pair", "{\\rtf1\\u-10179?\\u-8704?}", "&#128512;"},
    {"quotes_and_dashes", "{\\rtf1\\lquote\\rquote\\ldblquote\\rdblquote\\emdash\\endash\\bullet}", "&#8216;&#8217;&#8220;&#8221;&#8212;&#8211;&#8226;"},
    {"hex_cut_by_brace", "{\\rtf1 {\\'4}\\'41}", "A"},
    {"gbk_bytes_pass", "{\\rtf1{\\fonttbl{\\f0\\fcharset134 x;}}\\f0 \\'c4\\'e3}", "\xC4\xE3"},
    {"big5_converted_to_gbk", "{\\rtf1{\\fonttbl{\\f0\\fcharset136 x;}}\\f0 \\'a7\\'41}", "\xC4\xE3"},
    {"markup_in_note_escaped", "{\\rtf1 <script>&\"'}", "&lt;script&gt;&amp;&quot;&#39;"},
    {"tab_and_escaped_braces", "{\\rtf1 a\\tab\\{\\}\\\\}", "a&nbsp;&nbsp;&nbsp;&nbsp;{}\\"},
    {"bullet_list_text", "{\\rtf1{\\fonttbl{\\f1\\fcharset2 Symbol;}}{\\pntext\\f1\\'b7\\tab}x}", "&#8226;&nbsp;&nbsp;&nbsp;&nbsp;x"},
    {"unknown_group_keeps_text", "{\\rtf1{\\lang1033 kept}}", "kept"},
    {"bin_skips_its_bytes", "{\\rtf1{\\pict\\bin4 }}}}}x}", "x"},
    // clang-format on
};

class Text : public ::testing::TestWithParam<TCase> {};

TEST_P(Text, IsNotLost) {
    EXPECT_EQ(runText(GetParam().rtf), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Notes, Text, ::testing::ValuesIn(kText),
                         [](const auto& info) { return std::string(info.param.name); });

// A 2 x 1 24-bit Windows bitmap file.
std::string bitmapFile() {
    std::string bmp = "BM";
    auto put = [&](uint32_t v, int n) {
        for (int i = 0; i < n; ++i) bmp.push_back(static_cast<char>(v >> (8 * i)));
    };
    put(62, 4), put(0, 4), put(54, 4), put(40, 4), put(2, 4), put(1, 4), put(1, 2), put(24, 2);
    put(0, 4), put(8, 4), put(0, 4), put(0, 4), put(0, 4), put(0, 4);
    put(0x0000FF, 3), put(0x00FF00, 3), put(0, 2);
    return bmp;
}

std::string hex(std::string_view bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) out += {digits[c >> 4], digits[c & 15]};
    return out;
}

// An embedded object as notes hold pictures: a 31-byte header, then the file.
std::string objectGroup(std::string_view file) {
    return "{\\object\\objemb{\\*\\objclass Paint.Picture}{\\*\\objdata " +
           hex(std::string(31, '\x01')) + "\n" + hex(file) + "}{\\result{\\pict x}}}";
}

TEST(Pictures, BecomeNumberedJpegsAndNoBitmapIsLeft) {
    const std::string dir = ::testing::TempDir() + "vetra_pictures/";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    int32_t counter = 1;
    const std::string html = convert(
        "{\\rtf1 a" + objectGroup(bitmapFile()) + "b" + objectGroup(bitmapFile()) +
            "{\\pict\\dibitmap0 " + hex(bitmapFile().substr(14)) + "}" + "{\\*\\objdata 0102}" +
            "{\\object{\\*\\objdata " + hex(std::string(31, 1)) + "424d3e00}}c}",
        dir, &counter);
    EXPECT_EQ(counter, 4);
    EXPECT_NE(html.find("<img src='tree_001.jpg'>"), std::string::npos);
    EXPECT_NE(html.find("<img src='tree_003.jpg'>"), std::string::npos);
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        files.push_back(entry.path().filename().string());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"tree_001.jpg", "tree_002.jpg", "tree_003.jpg"}));
    EXPECT_EQ(runText("{\\rtf1 a" + objectGroup(bitmapFile()) + "b}"), "ab");
}

TEST(Hostile, NotesConvertWithinBounds) {
    const struct {
        const char* name;
        std::string rtf;
        const char* mustContain;
    } cases[] = {
        // clang-format off
        {"unbalanced", "{\\rtf1 a}}}}{{{{b", "a"},
        {"nested_100000", "{\\rtf1 " + std::string(100000, '{') + "deep" + std::string(100000, '}'), "deep"},
        {"ten_megabytes", "{\\rtf1 " + std::string(10 << 20, 'x') + "}", "xxxx"},
        {"huge_bin", "{\\rtf1 a{\\pict\\bin2147483647 zz", "a"},
        {"truncated_objdata", "{\\rtf1 a{\\object{\\*\\objdata 0102030", "a"},
        {"cut_after_backslash", "{\\rtf1 a\\", "a"},
        {"cut_in_hex", "{\\rtf1 a\\'4", "a"},
        // clang-format on
    };
    for (const auto& c : cases) {
        const std::string html = convert(c.rtf);
        EXPECT_NE(html.find(c.mustContain), std::string::npos) << c.name;
        EXPECT_LT(html.size(), c.rtf.size() * 8 + 1000) << c.name;
    }
}

}  // namespace
}  // namespace vetra
