#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "store/tree_doc.h"
#include "tests/app/run_vetra.h"
#include "tests/model/recording_prompts.h"
#include "tests/model/tree_fixture.h"
#include "tests/store/failing_file.h"

namespace vetra::test {

// A private directory, a content store in memory and a message recorder for
// documents under test.
struct TDoc_Fixture {
    TDoc_Fixture() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "vetra-doc-XXXXXX").string();
        Dir = ::mkdtemp(pattern.data());
        Plan = std::make_shared<TFailure_Plan>();
    }
    ~TDoc_Fixture() { std::filesystem::remove_all(Dir); }

    std::string path(const std::string& name) const { return Dir + "/" + name; }

    std::unique_ptr<TTree_Doc> newDoc(std::string_view outline = {}) {
        auto doc = std::make_unique<TTree_Doc>(Messages);
        doc->Store = &Store;
        doc->Open_File = failingOpener(Plan);
        if (!outline.empty()) doc->Root = buildTree(outline);
        return doc;
    }

    // A document that may open files named `name` for reading only.
    std::unique_ptr<TTree_Doc> readOnlyDoc(const std::string& name) {
        auto doc = newDoc();
        doc->Open_File = [opener = doc->Open_File, name](const std::string& path, TOpen_Mode mode) {
            return mode == TOpen_Mode::ReadWrite && path.ends_with(name) ? nullptr
                                                                         : opener(path, mode);
        };
        return doc;
    }

    std::unique_ptr<TTree_Doc> openDoc(const std::string& name,
                                       std::vector<TTree_Node*>* viewRoots = nullptr) {
        auto doc = newDoc();
        std::vector<TTree_Node*> roots;
        TRead_Error error{};
        if (!doc->open(path(name), roots, error)) return nullptr;
        if (viewRoots != nullptr) *viewRoots = roots;
        return doc;
    }

    // Gives the node a new note, as the note editor does.
    void setNote(TTree_Node& node, const std::string& note) {
        node.Work_Offset = *Store.append(note);
        node.Work_Size = static_cast<int32_t>(note.size());
        node.Content_Dirty = 1;
    }

    std::string noteOf(TTree_Doc& doc, TTree_Node& node) {
        if (doc.loadNoteOf(node) != TNote_Load::Loaded) return {};
        std::string note;
        Store.read(node.Work_Offset, node.Work_Size, note);
        return note;
    }

    // Every node's caption, child count and note, pre-order.
    std::string contentOf(TTree_Doc& doc) {
        std::string out;
        for (TTree_Node* node : testing::preorderNodes(*doc.root()))
            out += std::string(node->Caption.view()) + "[" + std::to_string(node->childCount()) +
                   "]=" + noteOf(doc, *node) + "\n";
        return out;
    }
    std::string contentOfFile(const std::string& name) {
        auto doc = openDoc(name);
        return doc ? contentOf(*doc) : "unreadable";
    }

    std::string bytesOf(const std::string& name) const { return slurp(path(name)); }
    int64_t sizeOf(const std::string& name) const {
        return static_cast<int64_t>(std::filesystem::file_size(path(name)));
    }

    std::string Dir;
    std::shared_ptr<TFailure_Plan> Plan;
    TContent_Store Store{std::make_unique<TMemory_File>()};
    TRecording_Messages Messages;
};

// A note of `size` bytes that zlib shrinks, different for each seed.
inline std::string sampleNote(int seed, size_t size) {
    std::string note = "{\\rtf1 note " + std::to_string(seed) + " ";
    while (note.size() < size) note += "text " + std::to_string(seed % 7) + " ";
    note.resize(size);
    return note;
}

// Entries of a folder: a save leaves nothing beside the document.
inline std::ptrdiff_t entriesOf(const std::string& dir) {
    return std::distance(std::filesystem::directory_iterator(dir),
                         std::filesystem::directory_iterator());
}

// A note of `size` bytes that zlib cannot shrink.
inline std::string noisyNote(int seed, size_t size) {
    std::string note(size, '\0');
    uint32_t state = 2463534242u + uint32_t(seed);
    for (char& c : note) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        c = static_cast<char>(state);
    }
    return note;
}

}  // namespace vetra::test
