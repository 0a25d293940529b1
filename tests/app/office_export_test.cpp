// The office exports end to end: `vetra --export-doc` / `--export-ppt` on a
// real document with notes, converted by the real LibreOffice, and read back
// from the written files; and the failures of LibreOffice, with fake ones.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "app/run_vetra.h"

namespace {

using vetra::test::runCommand;
using vetra::test::TRun;
using vetra::test::workDir;

TRun exportOffice(const std::string& dir, const char* option, const std::string& out,
                  const std::string& environment = {},
                  const std::string& document = VETRA_TEST_DATA "/mode1_notes.vt") {
    return runCommand("cd " + dir + " && HOME=" + dir + " VETRA_TEXT_MODE=1 " + environment +
                      " " VETRA_BINARY " " + option + " " + document + " " + out);
}

// The sample document with formatted notes: fonts, colours, alignment and
// special characters on 界面 (r.1.0), a picture on 发布 (r.2).
std::string richDocument(const std::string& dir) {
    const std::string copy = dir + "rich.vt";
    std::filesystem::copy_file(VETRA_TEST_DATA "/mode1_notes.vt", copy);
    for (const char* note : {" r.1.0 " VETRA_TEST_DATA "/notes/gbk_note.rtf",
                             " r.2 " VETRA_TEST_DATA "/notes/object_bitmap.rtf"})
        EXPECT_EQ(runCommand("VETRA_TEXT_MODE=1 " VETRA_BINARY " --set-note " + copy + note).status,
                  0);
    return copy;
}

std::string unzipped(const std::string& archive, const std::string& member) {
    return runCommand("unzip -p " + archive + " " + member).out;
}

// The paragraphs of a .docx body as "STYLE|TEXT", empty paragraphs left out.
std::vector<std::string> docxParagraphs(const std::string& xml) {
    std::vector<std::string> paragraphs;
    static const std::regex paragraph("<w:p[ >][\\s\\S]*?</w:p>");
    static const std::regex style("<w:pStyle w:val=\"([^\"]*)\"");
    static const std::regex text("<w:t[^>]*>([^<]*)</w:t>");
    for (std::sregex_iterator p(xml.begin(), xml.end(), paragraph), end; p != end; ++p) {
        const std::string body = p->str();
        std::string joined;
        for (std::sregex_iterator t(body.begin(), body.end(), text); t != end; ++t)
            joined += (*t)[1];
        std::smatch found;
        if (joined.empty()) continue;
        std::regex_search(body, found, style);
        paragraphs.push_back(found[1].str() + "|" + joined.substr(0, 40));
    }
    return paragraphs;
}

// The <w:p> element that holds `text`.
std::string paragraphHolding(const std::string& xml, const std::string& text) {
    const size_t at = xml.find(text);
    if (at == std::string::npos) return {};
    const size_t start = xml.rfind("<w:p>", at);
    return xml.substr(start, xml.find("</w:p>", at) - start);
}

// The texts of one slide, joined with "|".
std::string slideText(const std::string& xml) {
    static const std::regex text("<a:t>([^<]*)</a:t>");
    std::string joined;
    for (std::sregex_iterator t(xml.begin(), xml.end(), text), end; t != end; ++t) {
        if (!joined.empty()) joined += '|';
        joined += (*t)[1].str();
    }
    return joined;
}

TEST(OfficeExport, LibreOfficeWritesTheDocumentAndThePresentation) {
    const std::string dir = workDir(true);
    const std::string document = richDocument(dir);
    ASSERT_EQ(exportOffice(dir, "--export-doc", "plan.docx", {}, document).status, 0);
    const std::string body = unzipped(dir + "plan.docx", "word/document.xml");
    EXPECT_EQ(
        docxParagraphs(body),
        (std::vector<std::string>{
            "Title|项目计划", "Heading1|需求", "Heading2|用户访谈", "TextBody|short note",
            "Heading2|竞品分析", "Heading3|隐藏的节点", "Heading1|设计",
            "TextBody|Plan repeat this line to make it long. r", "Heading2|界面",
            "TextBody|中文筆記", "TextBody|红色粗体", "TextBody|centered italic",
            "TextBody|underlined tabendsecond line", "TextBody|•项目", "TextBody|‘q’ “dq” a—b–c•",
            "TextBody|繁😀 emoji", "Heading2|数据格式", "Heading1|发布", "TextBody|圖片：之後"}));
    // The notes keep their formatting and pictures.
    const struct {
        const char* text;
        const char* format;
    } formats[] = {{"Plan ", "<w:b/>"},
                   {"红色粗体", "<w:color w:val=\"FF0000\"/>"},
                   {"centered italic", "<w:jc w:val=\"center\"/>"},
                   {"centered italic", "<w:i/>"},
                   {"underlined", "<w:u w:val=\"single\"/>"},
                   {"之後", "<w:drawing>"}};
    for (const auto& row : formats)
        EXPECT_NE(paragraphHolding(body, row.text).find(row.format), std::string::npos) << row.text;
    // The outline numbering, as LibreOffice reads it back.
    runCommand("cd " + dir + " && soffice -env:UserInstallation=file://" + dir +
               "profile --headless --convert-to 'txt:Text (encoded):UTF8' plan.docx");
    const std::string text = vetra::test::slurp(dir + "plan.txt");
    for (const char* heading :
         {"1. 需求", "1.1. 用户访谈", "1.2.1. 隐藏的节点", "2.2. 数据格式", "3. 发布"})
        EXPECT_NE(text.find(heading), std::string::npos) << heading;

    ASSERT_EQ(exportOffice(dir, "--export-ppt", "plan.pptx", {}, document).status, 0);
    const std::vector<std::string> expected = {"项目计划",
                                               "项目计划|需求|设计|发布",
                                               "需求|用户访谈|竞品分析",
                                               "用户访谈|short note",
                                               "竞品分析|隐藏的节点",
                                               "隐藏的节点",
                                               "设计|界面|数据格式",
                                               "界面|中文筆記|红色粗体|centered italic|underlined "
                                               "tab|&#9;|end|second line|项目|‘|q’ “dq” "
                                               "a—b–c•|繁😀 |emoji",
                                               "数据格式",
                                               "发布|圖片：|[picture]|之後"};
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(slideText(unzipped(dir + "plan.pptx",
                                     "ppt/slides/slide" + std::to_string(i + 1) + ".xml")),
                  expected[i])
            << "slide " << i + 1;
    EXPECT_EQ(unzipped(dir + "plan.pptx", "ppt/slides/slide11.xml"), "");
    EXPECT_NE(unzipped(dir + "plan.pptx", "ppt/slides/slide1.xml").find("<p:pic>"),
              std::string::npos);
}

// A stand-in for soffice: a shell script doing `body`.
std::string fakeOffice(const std::string& dir, const std::string& body) {
    const std::string path = dir + "fake-soffice";
    std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
    chmod(path.c_str(), 0755);
    return path;
}

TEST(OfficeExport, FailuresLeaveNoFileUnderTheChosenName) {
    const struct {
        const char* name;
        const char* fake;  // script body; null: no LibreOffice at all
        const char* option;
        const char* out;
        const char* message;
    } rows[] = {
        {"missing", nullptr, "--export-doc", "a.docx", "无法生成，可能是word未安装或者版本问题"},
        {"fails", "exit 1", "--export-ppt", "a.pptx",
         "无法生产，可能是powerpoint未安装或者版本问题"},
        {"reports success, writes nothing", "exit 0", "--export-doc", "a.odt", "无法生成"},
        {"hangs", "exec sleep 30", "--export-doc", "a.doc", "无法生成"},
        {"wrong type", "exit 0", "--export-doc", "a.pptx", "只能输出 .doc"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string dir = workDir(true);
        const std::string soffice = row.fake ? fakeOffice(dir, row.fake) : dir + "none";
        const TRun run = exportOffice(dir, row.option, row.out,
                                      "VETRA_OFFICE_TIMEOUT=2 VETRA_SOFFICE=" + soffice);
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find(row.message), std::string::npos) << run.err;
        EXPECT_FALSE(std::filesystem::exists(dir + row.out));
    }
}

}  // namespace
