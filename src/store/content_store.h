#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/tree_node.h"
#include "platform/file.h"

namespace vetra {

// The process's scratch file of working copies of notes. Data is only ever
// appended; a node refers to its copy by (Work_Offset, Work_Size). The file
// lives in a private temporary directory and is deleted with the store.
class TContent_Store {
  public:
    // A store over any file (tests use memory files); `path`, when given, is
    // deleted with the store, and `directory` too when it is not empty.
    explicit TContent_Store(std::unique_ptr<TFile> file, std::string path = {},
                            std::string directory = {});
    ~TContent_Store();
    TContent_Store(const TContent_Store&) = delete;
    TContent_Store& operator=(const TContent_Store&) = delete;

    // Creates "vt_tmp.~dt" in `directory` (any old file of that name is
    // replaced), else "vt_tmp_<process id>.~dt". Null when neither opens.
    // With `removeDirectory` the directory is removed with the store.
    static std::unique_ptr<TContent_Store> createIn(const std::string& directory,
                                                    bool removeDirectory = false);

    // Appends the bytes and returns where they start. Fails on a write error
    // and when the offset would not fit a node's 32-bit fields.
    std::optional<int32_t> append(std::string_view bytes);
    bool read(int32_t offset, int32_t size, std::string& bytes);

    const std::string& path() const { return Path_; }
    int64_t size() const { return End_; }

    // Working copies are only appended, so a note edited again and again
    // leaves old copies behind. This moves the copies `holders` refer to down
    // over the space of the others and cuts the file. Nodes that share a copy
    // keep sharing it. A failed read or write stops the move where it is;
    // every node still refers to whole, correct bytes. Requires: `holders`
    // are every node, anywhere, whose Work_Size is above 0.
    bool compact(const std::vector<TTree_Node*>& holders);

  private:
    std::unique_ptr<TFile> File_;
    std::string Path_;
    std::string Directory_;
    int64_t End_ = 0;
};

// The process-wide store, created at its first use in a directory of its own
// under $TMPDIR (else /tmp) and deleted at exit. Null when it cannot be
// created; each later call tries again.
TContent_Store* contentStore();

// What loading a node's note into the content store came to.
enum class TNote_Load {
    Loaded,   // the node has a working copy (it may have had one already)
    No_Note,  // nothing stored: Work_Offset and Work_Size are 0
    Damaged,  // the stored bytes do not make a note: the note is now absent
    Failed,   // reading the document file or writing the store failed
};

// Compaction pays when the store holds more than `minimumSize` bytes and
// more than twice what the holders refer to.
bool storeNeedsCompaction(const TContent_Store& store, const std::vector<TTree_Node*>& holders,
                          int64_t minimumSize);

// Gives the node a working copy of its stored note unless it has one.
// `documentFile` may be null for a document without a file.
TNote_Load loadNote(TTree_Node& node, TFile* documentFile, TContent_Store& store);

// Checks a stored note's location against the file size and its raw size
// against what a zlib stream of that length can produce.
bool isPlausibleNoteLocation(const TTree_Node& node, int64_t fileSize);

// Makes the node's note absent (no stored note, no working copy).
void dropNote(TTree_Node& node);

}  // namespace vetra
