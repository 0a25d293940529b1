#include "store/content_store.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <limits>

#include "store/note_codec.h"

namespace vetra {
namespace {

// deflate never expands data by more than about 1032 to 1.
constexpr int64_t kMaxInflateRatio = 1032;

std::unique_ptr<TContent_Store> createNamed(const std::string& path, const std::string& directory) {
    std::remove(path.c_str());
    auto file = openFile(path, TOpen_Mode::Create);
    if (!file) return nullptr;
    return std::make_unique<TContent_Store>(std::move(file), path, directory);
}

}  // namespace

TContent_Store::TContent_Store(std::unique_ptr<TFile> file, std::string path, std::string directory)
    : File_(std::move(file)), Path_(std::move(path)), Directory_(std::move(directory)) {
    End_ = std::max<int64_t>(0, File_->size());
}

TContent_Store::~TContent_Store() {
    File_.reset();
    if (!Path_.empty()) std::remove(Path_.c_str());
    if (!Directory_.empty()) ::rmdir(Directory_.c_str());
}

std::unique_ptr<TContent_Store> TContent_Store::createIn(const std::string& directory,
                                                         bool removeDirectory) {
    std::string owned = removeDirectory ? directory : std::string();
    if (auto store = createNamed(directory + "/vt_tmp.~dt", owned)) return store;
    return createNamed(directory + "/vt_tmp_" + std::to_string(::getpid()) + ".~dt", owned);
}

std::optional<int32_t> TContent_Store::append(std::string_view bytes) {
    int64_t offset = End_;
    if (offset + int64_t(bytes.size()) > std::numeric_limits<int32_t>::max()) return std::nullopt;
    if (!File_->seek(offset) || !File_->write(bytes.data(), int64_t(bytes.size())))
        return std::nullopt;
    End_ = offset + int64_t(bytes.size());
    return static_cast<int32_t>(offset);
}

bool TContent_Store::read(int32_t offset, int32_t size, std::string& bytes) {
    if (offset < 0 || size < 0 || int64_t{offset} + size > End_) return false;
    bytes.resize(static_cast<size_t>(size));
    return File_->seek(offset) && File_->read(bytes.data(), size) == size;
}

TContent_Store* contentStore() {
    struct TProcess_Store {
        std::unique_ptr<TContent_Store> store;
    };
    static TProcess_Store process;
    if (process.store) return process.store.get();
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base != nullptr && *base != '\0' ? base : "/tmp");
    pattern += "/vetra-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) return nullptr;
    // The directory goes with the file at exit.
    process.store = TContent_Store::createIn(pattern, true);
    if (!process.store) ::rmdir(pattern.c_str());
    return process.store.get();
}

bool isPlausibleNoteLocation(const TTree_Node& node, int64_t fileSize) {
    if (node.Content_Size == 0) return node.Content_Raw_Size >= 0;
    if (node.Content_Offset < 0 || node.Content_Size < 0 || node.Content_Raw_Size < 0) return false;
    if (int64_t{node.Content_Offset} + node.Content_Size > fileSize) return false;
    return int64_t{node.Content_Raw_Size} <= int64_t{node.Content_Size} * kMaxInflateRatio + 64;
}

void dropNote(TTree_Node& node) {
    node.Content_Offset = node.Content_Size = node.Content_Raw_Size = 0;
    node.Work_Offset = node.Work_Size = 0;
}

TNote_Load loadNote(TTree_Node& node, TFile* documentFile, TContent_Store& store) {
    if (node.Work_Size > 0) return TNote_Load::Loaded;
    node.Work_Offset = node.Work_Size = 0;
    if (node.Content_Size <= 0 || documentFile == nullptr) return TNote_Load::No_Note;
    int64_t fileSize = documentFile->size();
    if (fileSize < 0) return TNote_Load::Failed;
    if (!isPlausibleNoteLocation(node, fileSize)) {
        dropNote(node);
        return TNote_Load::Damaged;
    }
    std::string stored(static_cast<size_t>(node.Content_Size), '\0');
    if (!documentFile->seek(node.Content_Offset) ||
        documentFile->read(stored.data(), node.Content_Size) != node.Content_Size)
        return TNote_Load::Failed;
    std::string note;
    if (node.Content_Raw_Size < 1)
        note = std::move(stored);
    else if (!decodeNote(stored, node.Content_Raw_Size, note)) {
        dropNote(node);
        return TNote_Load::Damaged;
    }
    if (note.empty()) return TNote_Load::No_Note;
    std::optional<int32_t> offset = store.append(note);
    if (!offset) return TNote_Load::Failed;
    node.Work_Offset = *offset;
    node.Work_Size = static_cast<int32_t>(note.size());
    return TNote_Load::Loaded;
}

}  // namespace vetra
