// Document store figures: a 100 000-node document with 10 000 notes (a third
// of them over 512 bytes): open, save after one changed note, save after
// 1 000 new nodes, and compaction after half the notes changed.

#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>

#include "model/user_prompts.h"
#include "store/tree_doc.h"

namespace vetra {
namespace {

class TSilent_Messages : public TUser_Messages {
  public:
    void information(std::string_view, std::string_view) override {}
    bool confirmation(std::string_view, std::string_view) override { return false; }
    void warning(std::string_view text, std::string_view argument) override {
        std::fprintf(stderr, "warning: %s\n", formatProgramMessage(text, argument).c_str());
    }
    TSave_Answer askSave(std::string_view, std::string_view) override {
        return TSave_Answer::Cancel;
    }
};

double millisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

std::string makeNote(int seed, bool large) {
    std::string note = "{\\rtf1\\ansi note " + std::to_string(seed) + " ";
    size_t size = large ? 600 + size_t(seed % 1400) : 100 + size_t(seed % 400);
    while (note.size() < size) note += "word" + std::to_string(seed * 31 % 977) + " ";
    note.resize(size);
    return note;
}

void setNote(TContent_Store& store, TTree_Node& node, const std::string& note) {
    node.Work_Offset = *store.append(note);
    node.Work_Size = int32_t(note.size());
    node.Content_Dirty = 1;
}

std::vector<TTree_Node*> preOrder(TTree_Node& root) {
    std::vector<TTree_Node*> out;
    std::vector<TTree_Node*> pending{&root};
    while (!pending.empty()) {
        TTree_Node* node = pending.back();
        pending.pop_back();
        out.push_back(node);
        for (int32_t i = node->childCount(); i-- > 0;) pending.push_back(node->child(i));
    }
    return out;
}

}  // namespace
}  // namespace vetra

int main() {
    using namespace vetra;
    using Clock = std::chrono::steady_clock;
    std::string pattern = (std::filesystem::temp_directory_path() / "vetra-bench-XXXXXX").string();
    std::string dir = ::mkdtemp(pattern.data());
    std::string path = dir + "/bench.vt";
    TSilent_Messages messages;
    TContent_Store* store = contentStore();

    {
        TTree_Doc doc(messages);
        // 100 000 nodes: ten children per node, breadth first.
        std::vector<TTree_Node*> nodes{doc.root()};
        for (size_t at = 0; nodes.size() < 100000; ++at)
            for (int i = 0; i < 10 && nodes.size() < 100000; ++i) {
                TTree_Node* child = nodes[at]->appendChild(std::make_unique<TTree_Node>());
                child->setCaption("node " + std::to_string(nodes.size()));
                nodes.push_back(child);
            }
        for (int i = 0; i < 10000; ++i)
            setNote(*store, *nodes[size_t(i) * 10], makeNote(i, i % 3 == 0));
        auto start = Clock::now();
        if (!doc.saveAs(path, {doc.root()})) return 1;
        std::printf("first save (100000 nodes, 10000 notes):  %8.1f ms, %lld bytes\n",
                    millisecondsSince(start), (long long)std::filesystem::file_size(path));
    }

    TTree_Doc doc(messages);
    std::vector<TTree_Node*> roots;
    TRead_Error error{};
    auto start = Clock::now();
    if (!doc.open(path, roots, error)) return 1;
    std::printf("open:                                    %8.1f ms\n", millisecondsSince(start));

    std::vector<TTree_Node*> nodes = preOrder(*doc.root());
    std::vector<TTree_Node*> noted;
    for (TTree_Node* node : nodes)
        if (node->Content_Size > 0) noted.push_back(node);

    setNote(*store, *noted[noted.size() / 2], makeNote(7, true));
    start = Clock::now();
    if (!doc.save({doc.root()})) return 1;
    std::printf("save after one changed note:             %8.1f ms\n", millisecondsSince(start));

    for (int i = 0; i < 1000; ++i) {
        TTree_Node* child = nodes[size_t(i) * 97]->appendChild(std::make_unique<TTree_Node>());
        child->setCaption("added " + std::to_string(i));
    }
    start = Clock::now();
    if (!doc.save({doc.root()})) return 1;
    std::printf("save after 1000 added nodes:             %8.1f ms, %lld bytes\n",
                millisecondsSince(start), (long long)std::filesystem::file_size(path));

    for (size_t i = 0; i < noted.size(); i += 2)
        setNote(*store, *noted[i], makeNote(int(i) + 1, i % 3 == 0) + "!");
    start = Clock::now();
    if (!doc.save({doc.root()})) return 1;
    std::printf("save with half the notes changed:        %8.1f ms, %lld bytes (live %lld)\n",
                millisecondsSince(start), (long long)std::filesystem::file_size(path),
                (long long)doc.liveSize());
    start = Clock::now();
    if (!doc.compact()) return 1;
    std::printf("compaction:                              %8.1f ms, %lld bytes\n",
                millisecondsSince(start), (long long)std::filesystem::file_size(path));
    std::filesystem::remove_all(dir);
    return 0;
}
