#include "store/recovery_snapshot.h"

#include <dirent.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "store/document_writer.h"
#include "store/file_paths.h"

namespace vetra {
namespace {

std::string nameFileOf(const std::string& snapshotPath) {
    return snapshotPath.substr(0, snapshotPath.size() - 3) + ".name";
}

void makePrivateDirectories(const std::string& directory) {
    for (size_t slash = directory.find('/', 1);; slash = directory.find('/', slash + 1)) {
        ::mkdir(directory.substr(0, slash).c_str(), 0700);
        if (slash == std::string::npos) break;
    }
}

// Writes `write`'s output into a new sibling of `path`, syncs it and renames
// it over `path`.
template <typename TWrite>
bool replaceAtomically(const TTree_Doc::TFile_Opener& open, const std::string& path, TWrite write) {
    std::string sibling = createSiblingTemp(path);
    if (sibling.empty()) return false;
    std::unique_ptr<TFile> file = open(sibling, TOpen_Mode::ReadWrite);
    bool written = file && write(*file) && file->flush();
    file.reset();
    if (!written || ::rename(sibling.c_str(), path.c_str()) != 0) {
        std::remove(sibling.c_str());
        return false;
    }
    return syncDirectoryOf(path);
}

// True when process `pid` is another running copy of this program.
bool isRunningEditor(long pid) {
    if (pid <= 0 || pid == ::getpid() || ::kill(static_cast<pid_t>(pid), 0) != 0) return false;
    std::string other = resolvedPathOf("/proc/" + std::to_string(pid) + "/exe");
    return other == resolvedPathOf("/proc/self/exe");
}

}  // namespace

std::string recoveryDirectory() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state != nullptr && state[0] == '/') return std::string(state) + "/vetra/recovery";
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + "/.local/state/vetra/recovery";
}

std::string recoverySnapshotPath(const std::string& directory, int serial) {
    return directory + "/" + std::to_string(::getpid()) + "-" + std::to_string(serial) + ".vt";
}

bool writeRecoverySnapshot(TTree_Doc& doc, const std::string& path) {
    makePrivateDirectories(directoryOf(path));
    std::string original = doc.fileName().empty() ? "" : absolutePathOf(doc.fileName());
    bool named = replaceAtomically(doc.Open_File, nameFileOf(path), [&](TFile& file) {
        return file.write(original.data(), int64_t(original.size()));
    });
    if (!named) return false;
    std::unique_ptr<TTree_Doc> copy = doc.newDocumentFromSubtree(*doc.root());
    TContent_Store* store = doc.Store != nullptr ? doc.Store : contentStore();
    return replaceAtomically(doc.Open_File, path, [&](TFile& file) {
        return writeDocument(file, *copy->root(), {}, store);
    });
}

std::vector<TRecovery_Snapshot> leftoverSnapshots(const std::string& directory) {
    std::vector<TRecovery_Snapshot> found;
    DIR* listing = ::opendir(directory.c_str());
    if (listing == nullptr) return found;
    while (const dirent* entry = ::readdir(listing)) {
        std::string name(entry->d_name);
        char* end = nullptr;
        long pid = std::strtol(name.c_str(), &end, 10);
        if (name.size() < 4 || !name.ends_with(".vt") || end == name.c_str() || *end != '-' ||
            isRunningEditor(pid))
            continue;
        std::string path = directory + "/" + name;
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
        TRecovery_Snapshot snapshot{path, {}, static_cast<int64_t>(info.st_mtime)};
        if (auto file = openFile(nameFileOf(path), TOpen_Mode::ReadOnly)) {
            int64_t size = std::clamp<int64_t>(file->size(), 0, 4096);
            snapshot.Original.resize(static_cast<size_t>(size));
            if (file->read(snapshot.Original.data(), size) != size) snapshot.Original.clear();
        }
        found.push_back(std::move(snapshot));
    }
    ::closedir(listing);
    std::sort(found.begin(), found.end(),
              [](const auto& a, const auto& b) { return a.Time < b.Time; });
    return found;
}

void removeRecoverySnapshot(const std::string& path) {
    std::remove(path.c_str());
    std::remove(nameFileOf(path).c_str());
}

}  // namespace vetra
