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

std::string workDir() {
    std::string dir = vetra::test::testScratch("/");
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

TRun exportOffice(const std::string& dir, const char* option, const std::string& out,
                  const std::string& environment = {}) {
    return runCommand("cd " + dir + " && HOME=" + dir + " VETRA_TEXT_MODE=1 " + environment +
                      " " VETRA_BINARY " " + option + " " VETRA_TEST_DATA "/mode1_notes.vt " + out);
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

// The texts of one slide, joined with "|".
std::string slideText(const std::string& xml) {
    static const std::regex text("<a:t>([^<]*)</a:t>");
    std::string joined;
    for (std::sregex_iterator t(xml.begin(), xml.end(), text), end; t != end; ++t)
        joined += (joined.empty() ? "" : "|") + (*t)[1].str();
    return joined;
}

TEST(OfficeExport, LibreOfficeWritesTheDocumentAndThePresentation) {
    const std::string dir = workDir();
    ASSERT_EQ(exportOffice(dir, "--export-doc", "plan.docx").status, 0);
    EXPECT_EQ(docxParagraphs(unzipped(dir + "plan.docx", "word/document.xml")),
              (std::vector<std::string>{"Title|项目计划", "Heading1|需求", "Heading2|用户访谈",
                                        "TextBody|short note", "Heading2|竞品分析",
                                        "Heading3|隐藏的节点", "Heading1|设计",
                                        "TextBody|Plan repeat this line to make it long. r",
                                        "Heading2|界面", "Heading2|数据格式", "Heading1|发布"}));
    // The outline numbering, as LibreOffice reads it back.
    runCommand("cd " + dir + " && soffice -env:UserInstallation=file://" + dir +
               "profile --headless --convert-to 'txt:Text (encoded):UTF8' plan.docx");
    const std::string text = vetra::test::slurp(dir + "plan.txt");
    for (const char* heading :
         {"1. 需求", "1.1. 用户访谈", "1.2.1. 隐藏的节点", "2.2. 数据格式", "3. 发布"})
        EXPECT_NE(text.find(heading), std::string::npos) << heading;

    ASSERT_EQ(exportOffice(dir, "--export-ppt", "plan.pptx").status, 0);
    const std::vector<std::string> expected = {"项目计划",
                                               "项目计划|需求|设计|发布",
                                               "需求|用户访谈|竞品分析",
                                               "用户访谈|short note",
                                               "竞品分析|隐藏的节点",
                                               "隐藏的节点",
                                               "设计|界面|数据格式",
                                               "界面",
                                               "数据格式",
                                               "发布"};
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
        const std::string dir = workDir();
        const std::string soffice = row.fake ? fakeOffice(dir, row.fake) : dir + "none";
        const TRun run = exportOffice(dir, row.option, row.out,
                                      "VETRA_OFFICE_TIMEOUT=2 VETRA_SOFFICE=" + soffice);
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find(row.message), std::string::npos) << run.err;
        EXPECT_FALSE(std::filesystem::exists(dir + row.out));
    }
}

}  // namespace
