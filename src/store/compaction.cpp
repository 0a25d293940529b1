// Compaction: the live notes and the index are copied into a new file beside
// the document, which then replaces it by a rename. The old file is never
// touched, so any failure leaves it as it was.

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "store/document_writer.h"
#include "store/tree_doc.h"

namespace vetra {
namespace {

constexpr int64_t kMaxWaste = 50000;

std::string directoryOf(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string baseNameOf(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A new, unique, empty file "<dir>/.<name>.XXXXXX" beside the document.
std::string makeSiblingTempName(const std::string& path) {
    std::string name = directoryOf(path) + "/." + baseNameOf(path) + ".XXXXXX";
    int fd = ::mkstemp(name.data());
    if (fd < 0) return {};
    ::close(fd);
    return name;
}

}  // namespace

bool needsCompaction(int64_t fileSize, int64_t liveSize) {
    float ratio = static_cast<float>(fileSize) / static_cast<float>(liveSize);
    return static_cast<double>(ratio) > 1.2 && fileSize - liveSize > kMaxWaste;
}

void TTree_Doc::compactIfWasteful() {
    int64_t fileSize = File_->size();
    if (fileSize < 0 || !needsCompaction(fileSize, liveSize())) return;
    if (!compact()) Messages_.warning("無法整理文件 %s", File_Name);
}

bool TTree_Doc::compact() {
    std::string tempName = makeSiblingTempName(File_Name);
    if (tempName.empty()) return false;
    std::unique_ptr<TFile> target = Open_File(tempName, TOpen_Mode::ReadWrite);

    struct TMoved {
        TTree_Node* node;
        int32_t oldOffset;
    };
    std::vector<TMoved> moved;
    auto fail = [&] {
        for (const TMoved& item : moved) item.node->Content_Offset = item.oldOffset;
        target.reset();
        std::remove(tempName.c_str());
        return false;
    };
    if (!target) return fail();

    int64_t bound = indexBound(*Root);
    int64_t oldSize = File_->size();
    if (oldSize < 0 || !writeZeros(*target, 0, bound)) return fail();
    int64_t end = bound;
    std::string note;
    std::vector<TTree_Node*> pending{Root.get()};
    while (!pending.empty()) {
        TTree_Node* node = pending.back();
        pending.pop_back();
        for (int32_t i = node->childCount(); i-- > 0;) pending.push_back(node->child(i));
        if (node->Content_Size <= 0) continue;
        if (node->Content_Offset < 0 ||
            int64_t{node->Content_Offset} + node->Content_Size > oldSize)
            return fail();
        note.resize(static_cast<size_t>(node->Content_Size));
        if (!File_->seek(node->Content_Offset) ||
            File_->read(note.data(), node->Content_Size) != node->Content_Size ||
            !target->seek(end) || !target->write(note.data(), node->Content_Size))
            return fail();
        moved.push_back({node, node->Content_Offset});
        node->Content_Offset = static_cast<int32_t>(end);
        end += node->Content_Size;
    }
    // The compacted index records no view roots.
    if (!target->seek(0) || !writeNodeTree(*target, *Root, {}) || !target->flush()) return fail();

    struct stat old {};
    if (::stat(File_Name.c_str(), &old) == 0) ::chmod(tempName.c_str(), old.st_mode & 07777);
    if (::rename(tempName.c_str(), File_Name.c_str()) != 0) return fail();
    // The new file is the document file now; the old one goes with its handle.
    File_ = std::move(target);
    return true;
}

}  // namespace vetra
