// Compaction: the live notes and the index are copied into a new file beside
// the document, which then replaces it by a rename. The old file is never
// touched, so any failure leaves it as it was. A document reached through a
// symbolic link is compacted beside the link's target, so the link stays a
// link; the new file gets the old one's owner (where allowed) and mode, and
// is synced before the rename, the directory after it.

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "store/document_writer.h"
#include "store/file_paths.h"
#include "store/tree_doc.h"

namespace vetra {
namespace {

constexpr int64_t kMaxWaste = 50000;

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

std::unique_ptr<TFile> TTree_Doc::createSiblingOf(const std::string& path, std::string& tempName) {
    tempName = createSiblingTemp(path);
    if (tempName.empty()) return nullptr;
    std::unique_ptr<TFile> file = Open_File(tempName, TOpen_Mode::ReadWrite);
    if (!file) std::remove(tempName.c_str());
    return file;
}

bool putInPlace(const std::string& tempName, const std::string& path) {
    std::string target = resolvedPathOf(path);
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0) {
        // Only root may give a file away; anyone may keep a group they are in.
        if (::chown(tempName.c_str(), old.st_uid, old.st_gid) != 0) {
            [[maybe_unused]] int ignored = ::chown(tempName.c_str(), uid_t(-1), old.st_gid);
        }
        ::chmod(tempName.c_str(), old.st_mode & 07777);
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        ::chmod(tempName.c_str(), 0666 & ~mask);
    }
    if (::rename(tempName.c_str(), target.c_str()) != 0) return false;
    syncDirectoryOf(target);
    return true;
}

bool TTree_Doc::compact() {
    std::string tempName;
    std::unique_ptr<TFile> target = createSiblingOf(File_Name, tempName);
    if (!target) return false;

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
    if (!putInPlace(tempName, File_Name)) return fail();
    // The new file is the document file now; the old one goes with its handle.
    File_ = std::move(target);
    return true;
}

}  // namespace vetra
