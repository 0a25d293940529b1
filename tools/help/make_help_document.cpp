// Builds the help document from its outline source at build time:
//   vetra_make_help OUTLINE.txt OUT.vt
//
// The outline is UTF-8 text. Each line is a node; two spaces of indent per
// level below the root, which is the one line without indent. Lines whose
// text starts with ">" are paragraphs of the note of the node above them ("> "
// and the rest; a lone ">" is an empty paragraph). Blank lines and lines
// starting with "#" are skipped. Captions are stored in text mode 1; notes are
// written by the note writer, as the editor saves them.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include "platform/file.h"
#include "platform/text_codec.h"
#include "platform/text_mode.h"
#include "rtf/rtf_writer.h"
#include "store/content_store.h"
#include "store/document_writer.h"

using namespace vetra;

namespace {

struct TOutline_Node {
    TTree_Node* node;
    int level;
    std::vector<std::string> paragraphs;  // UTF-8
};

// The note as the editor writes it: one paragraph a line, examples (lines
// starting with "例如") in dark blue.
std::string noteRtf(const std::vector<std::string>& paragraphs) {
    TRtf_Document note;
    for (const std::string& text : paragraphs) {
        TRtf_Paragraph paragraph;
        paragraph.Space_After = 60;
        TRtf_Run run;
        run.Format.Size_Half_Points = 21;
        if (text.rfind("\xE4\xBE\x8B\xE5\xA6\x82", 0) == 0) run.Format.Color = 0x00803000;
        run.Text = text;
        if (!text.empty()) paragraph.Runs.push_back(std::move(run));
        note.Paragraphs.push_back(std::move(paragraph));
    }
    return writeRtf(note);
}

std::string toCodePage(const std::string& utf8) {
    TConverted_Text converted = utf8ToCodePage(utf8, kTextModeSimplified);
    if (converted.replaced > 0) std::fprintf(stderr, "not in GBK: %s\n", utf8.c_str());
    return converted.text;
}

bool readOutline(const char* path, TTree_Node& root, std::vector<TOutline_Node>& nodes) {
    std::ifstream in(path);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        size_t indent = line.find_first_not_of(' ');
        if (indent == std::string::npos || line[indent] == '#') continue;
        std::string text = line.substr(indent);
        if (text[0] == '>') {
            if (nodes.empty()) break;
            nodes.back().paragraphs.push_back(text.size() > 2 ? text.substr(2) : std::string());
            continue;
        }
        if (indent % 2 != 0) {
            std::fprintf(stderr, "%s:%d: odd indent\n", path, number);
            return false;
        }
        const int level = static_cast<int>(indent / 2);
        if (nodes.empty() != (level == 0) || (!nodes.empty() && level > nodes.back().level + 1)) {
            std::fprintf(stderr, "%s:%d: indent does not follow the outline\n", path, number);
            return false;
        }
        TTree_Node* node = &root;
        if (level > 0) {
            size_t parent = nodes.size();
            while (nodes[--parent].level != level - 1) {
            }
            node = nodes[parent].node->appendChild(std::make_unique<TTree_Node>());
        }
        node->setCaption(toCodePage(text));
        nodes.push_back({node, level, {}});
    }
    return !nodes.empty();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: vetra_make_help OUTLINE.txt OUT.vt\n");
        return 2;
    }
    setActiveTextMode(kTextModeSimplified);
    auto root = std::make_unique<TTree_Node>();
    std::vector<TOutline_Node> nodes;
    if (!readOutline(argv[1], *root, nodes)) {
        std::fprintf(stderr, "cannot read the outline %s\n", argv[1]);
        return 1;
    }
    const std::filesystem::path scratch =
        std::filesystem::temp_directory_path() / ("vetra_help_" + std::to_string(getpid()));
    std::filesystem::create_directories(scratch);
    auto store = TContent_Store::createIn(scratch.string(), true);
    if (!store) return 1;
    for (TOutline_Node& entry : nodes) {
        TTree_Node& node = *entry.node;
        // The first two levels open; deeper branches start collapsed.
        node.Expanded = entry.level < 2 || !node.hasChildren() ? 1 : 0;
        if (entry.paragraphs.empty()) continue;
        const std::string rtf = noteRtf(entry.paragraphs);
        std::optional<int32_t> offset = store->append(rtf);
        if (!offset) return 1;
        node.Work_Offset = *offset;
        node.Work_Size = static_cast<int32_t>(rtf.size());
        node.Content_Dirty = 1;
        std::string plain;
        for (const std::string& paragraph : entry.paragraphs) plain += paragraph + "\r\n";
        const std::string bytes = toCodePage(plain);
        node.setExcerpt(bytes.substr(0, characterPrefixLength(bytes, 299)));
    }
    const std::string temporary = std::string(argv[2]) + ".part";
    auto file = openFile(temporary, TOpen_Mode::Create);
    if (!file || !writeDocument(*file, *root, {root.get()}, store.get())) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    file.reset();
    std::error_code error;
    std::filesystem::rename(temporary, argv[2], error);
    return error ? 1 : 0;
}
