// Picture exports read back: every format has the drawing's size, names with
// dots in directories stay whole, and what a format cannot hold is refused.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "app/run_vetra.h"
#include "model/tree_node.h"
#include "platform/file.h"
#include "platform/text_codec.h"
#include "platform/text_mode.h"
#include "store/node_record.h"

namespace vetra::test {
namespace {

uint32_t littleEndian(const std::string& bytes, size_t at) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
    return value;
}

uint32_t bigEndian(const std::string& bytes, size_t at, int length) {
    uint32_t value = 0;
    for (int i = 0; i < length; ++i) value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
    return value;
}

// Width and height as the file's header states them.
std::pair<uint32_t, uint32_t> pictureSize(const std::string& bytes, const std::string& type) {
    if (type == "png") return {bigEndian(bytes, 16, 4), bigEndian(bytes, 20, 4)};
    if (type == "bmp") return {littleEndian(bytes, 18), littleEndian(bytes, 22)};
    if (type == "jpg") {
        for (size_t at = 2; at + 9 < bytes.size();) {
            const auto marker = static_cast<uint8_t>(bytes[at + 1]);
            if (marker == 0xC0 || marker == 0xC2)
                return {bigEndian(bytes, at + 7, 2), bigEndian(bytes, at + 5, 2)};
            at += 2 + bigEndian(bytes, at + 2, 2);
        }
    }
    if (type == "emf") {  // the frame, in hundredths of a millimetre
        return {((littleEndian(bytes, 32) - littleEndian(bytes, 24)) * 96 + 1270) / 2540,
                ((littleEndian(bytes, 36) - littleEndian(bytes, 28)) * 96 + 1270) / 2540};
    }
    if (type == "svg") {  // the root element's width and height
        uint32_t width = 0, height = 0;
        const size_t root = bytes.find("<svg ");
        if (root != std::string::npos)
            std::sscanf(bytes.c_str() + root, "<svg %*[^w]width=\"%u\" height=\"%u\"", &width,
                        &height);
        return {width, height};
    }
    return {0, 0};
}

TEST(ExportPicture, EveryFormatHoldsTheSameDrawing) {
    const std::string dir = workDir(true, ".d/");
    const std::string doc = std::string(VETRA_TEST_DATA) + "/export_notes.vt";
    const struct {
        const char* name;
        const char* type;
        const char* signature;
    } files[] = {{"a.png", "png", "\x89PNG"},
                 {"a.bmp", "bmp", "BM"},
                 {"a.JPG", "jpg", "\xFF\xD8"},
                 {"a.jpeg", "jpg", "\xFF\xD8"},
                 {"\xE6\xA0\x91.emf", "emf", "\x01\0\0\0"},
                 {"a.svg", "svg", "<?xml"},
                 {"a.pdf", "pdf", "%PDF"}};
    std::pair<uint32_t, uint32_t> pngSize;
    for (const auto& file : files) {
        const TRun run = runCommand("VETRA_TEXT_MODE=1 " + std::string(VETRA_BINARY) +
                                    " --export-picture " + doc + " " + dir + file.name);
        ASSERT_EQ(run.status, 0) << file.name << run.err;
        const std::string bytes = slurp(dir + file.name);
        const std::string signature(file.signature, std::string_view(file.signature).size() +
                                                        (file.type == std::string("emf") ? 3 : 0));
        EXPECT_EQ(bytes.substr(0, signature.size()), signature) << file.name;
        const auto size = pictureSize(bytes, file.type);
        if (std::string(file.type) == "png") pngSize = size;
        if (std::string(file.type) == "svg") {
            // Captions are UTF-8 text escaped for XML: markup in a caption stays text.
            EXPECT_NE(bytes.find(">\xE5\xAF\xBC\xE5\x87\xBA\xE6\xB5\x8B\xE8\xAF\x95</text>"),
                      std::string::npos);  // 导出测试
            EXPECT_NE(bytes.find("&lt;script&gt;alert"), std::string::npos);
            EXPECT_EQ(bytes.find("<script"), std::string::npos);
            EXPECT_EQ(bytes.substr(bytes.size() - 7), "</svg>\n");
        }
        if (size.first != 0) {
            EXPECT_EQ(size, pngSize) << file.name;
        }
    }
    EXPECT_GT(pngSize.first, 100u);
    // The metafile, under a Chinese name, opens in LibreOffice when it is installed.
    if (runCommand("command -v soffice").status == 0) {
        const TRun office = runCommand("cd " + dir +
                                       " && timeout 180 soffice --headless --convert-to png "
                                       "--outdir office \xE6\xA0\x91.emf");
        EXPECT_GT(slurp(dir + "office/\xE6\xA0\x91.png").size(), 1000u) << office.err;
    }
}

TEST(ExportPicture, RefusesOnlyWhatTheFormatCannotHold) {
    const std::string dir = workDir(true, ".d/");
    // 3 500 children in a hanging list: a picture taller than JPEG's 65 500 rows.
    setActiveTextMode(kTextModeSimplified);
    TTree_Node root;
    root.setCaption("tall");
    root.setViewStyle(5);
    for (int i = 0; i < 3500; ++i)
        root.appendChild(std::make_unique<TTree_Node>())->setCaption(std::to_string(i));
    const std::string doc = dir + "tall.vt";
    auto file = openFile(doc, TOpen_Mode::Create);
    ASSERT_TRUE(file && writeNodeTree(*file, root, {&root}));
    file.reset();
    const std::string vetra = "VETRA_TEXT_MODE=1 " + std::string(VETRA_BINARY);
    const TRun jpeg = runCommand(vetra + " --export-picture " + doc + " " + dir + "tall.jpg");
    EXPECT_EQ(jpeg.status, 1);
    EXPECT_NE(jpeg.err.find("tall.jpg"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir + "tall.jpg"));
    EXPECT_EQ(runCommand(vetra + " --export-picture " + doc + " " + dir + "tall.png").status, 0);
    // A dot in a directory name is no extension.
    EXPECT_EQ(runCommand(vetra + " --export-site " + doc + " " + dir + "site").status, 0);
    EXPECT_TRUE(std::filesystem::exists(dir + "site_main_idx.html"));
    EXPECT_EQ(runCommand(vetra + " --export-html " + doc + " /nonexistent/x.html").status, 1);
}

TEST(ExportMenu, CommandsWriteWhatTheyAreGiven) {
    const std::string dir = workDir(true, ".d/");
    const struct {
        const char* item;
        const char* answer;
        const char* written;
    } commands[] = {{"N_Export_Html", "doc.html", "doc_002.jpg"},
                    {"N_Export_Idx_Html", "site.htm", "site_doc_001.jpg"},
                    {"N_Export_Pict", "pic.svg", "pic.svg"},
                    {"HtmlMap1", "tree_map.html", "tree_map.png"}};
    std::string script;
    for (const auto& c : commands) script += "answer " + dir + c.answer + "\nmenu " + c.item + "\n";
    script += "answer /nonexistent/x.bmp\nmenu N_Export_Pict\n";
    const TRun run = runScriptIn(dir, script, dataPath("export_notes.vt"));
    EXPECT_EQ(run.status, 0) << run.err;
    for (const auto& c : commands) EXPECT_TRUE(std::filesystem::exists(dir + c.written)) << c.item;
    EXPECT_NE(run.out.find("/nonexistent/x.bmp"), std::string::npos);
}

}  // namespace
}  // namespace vetra::test
