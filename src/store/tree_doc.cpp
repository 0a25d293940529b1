#include "store/tree_doc.h"

#include <sys/stat.h>

#include <cstdio>

#include "store/document_writer.h"
#include "store/journaled_save.h"

namespace vetra {
namespace {

constexpr std::string_view kCannot_Save = "無法保存文件 %s";
constexpr std::string_view kCannot_Create = "無法創建文件";
constexpr std::string_view kDamaged_Notes = "文件 %s 中有已損壞的筆記，已略去";
constexpr std::string_view kNote_Unreadable = "筆記已損壞或無法讀取，已略去";
constexpr std::string_view kToo_Many_Children = "節點 %s 的子節點超過 409600 個，文件無法保存";
constexpr std::string_view kNeeds_Recovery =
    "文件 %s 上次保存沒有完成，需要恢復；現在以只讀方式打開保存前的內容";

// Two names of one existing file (a relative and a full path, a link):
// creating the "new" file would empty the document itself.
bool isSameFile(const std::string& a, const std::string& b) {
    struct stat first {
    }, second{};
    if (::stat(a.c_str(), &first) != 0 || ::stat(b.c_str(), &second) != 0) return false;
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

}  // namespace

TTree_Doc::TTree_Doc(TUser_Messages& messages, TRecent_Files* recentFiles)
    : Messages_(messages), Recent_Files_(recentFiles) {}

TTree_Doc::~TTree_Doc() = default;

bool TTree_Doc::open(const std::string& name, std::vector<TTree_Node*>& viewRoots,
                     TRead_Error& error) {
    error = TRead_Error::None;
    if (Recent_Files_ != nullptr) Recent_Files_->addRecentFile(name);
    if (hasFile() && name == File_Name) return true;

    int32_t readOnly = 0;
    std::unique_ptr<TFile> file = Open_File(name, TOpen_Mode::ReadWrite);
    if (!file) {
        file = Open_File(name, TOpen_Mode::ReadOnly);
        if (!file) {
            error = TRead_Error::CannotRead;
            return false;
        }
        Messages_.information("該文件將以只讀方式打開");
        readOnly = 1;
    }
    // A save that did not finish is undone before anything is read.
    std::unique_ptr<TFile> recovered;
    if (recoverFromJournal(name, *file, readOnly == 0, Open_File, &recovered) ==
        TJournal_Found::Needs_Recovery) {
        Messages_.warning(kNeeds_Recovery, name);
        if (recovered) file = std::move(recovered);
        readOnly = 1;
    }
    if (readOnly == 0) removeLeftoverCompactions(name);
    // The tree is read apart and taken only when it is complete.
    auto root = std::make_unique<TTree_Node>();
    std::vector<TTree_Node*> roots;
    if (!file->seek(0) || !readNodeTree(*file, *root, roots, error)) {
        if (error == TRead_Error::None) error = TRead_Error::CannotRead;
        if (error == TRead_Error::NewerVersion) Messages_.warning("該文件需要更高版本的軟件打開");
        return false;
    }
    if (dropImplausibleNotes(*root, file->size()) > 0) Messages_.warning(kDamaged_Notes, name);

    Undo.clear();
    Root = std::move(root);
    Root->Depth = 1;
    File_ = std::move(file);
    File_Name = name;
    Read_Only = readOnly;
    Modified = 0;
    viewRoots = std::move(roots);
    return true;
}

int TTree_Doc::dropImplausibleNotes(TTree_Node& root, int64_t fileSize) {
    int dropped = 0;
    std::vector<TTree_Node*> pending{&root};
    while (!pending.empty()) {
        TTree_Node* node = pending.back();
        pending.pop_back();
        if (!isPlausibleNoteLocation(*node, fileSize)) {
            dropNote(*node);
            ++dropped;
        }
        pending.insert(pending.end(), node->Children.begin(), node->Children.end());
    }
    return dropped;
}

bool TTree_Doc::save(const std::vector<const TTree_Node*>& viewRoots) {
    if (!hasFile()) {
        Messages_.warning(kCannot_Save, File_Name);
        return false;
    }
    if (isReadOnly()) {
        Messages_.warning("只讀方式打開，請選擇另存文件保存");
        return false;
    }
    return writeAndFinish(viewRoots);
}

bool TTree_Doc::writeAndFinish(const std::vector<const TTree_Node*>& viewRoots) {
    if (const TTree_Node* crowded = nodeWithTooManyChildren(*Root)) {
        Messages_.warning(kToo_Many_Children, crowded->Caption.view());
        return false;
    }
    if (!writeDocumentJournaled(*File_, File_Name, Open_File, *Root, viewRoots, store())) {
        Messages_.warning(kCannot_Save, File_Name);
        return false;
    }
    Modified = 0;
    Undo.clear();
    Read_Only = 0;
    compactIfWasteful();
    return true;
}

bool TTree_Doc::saveAs(const std::string& name, const std::vector<const TTree_Node*>& viewRoots) {
    if (Recent_Files_ != nullptr) Recent_Files_->addRecentFile(name);
    if (hasFile() && (name == File_Name || isSameFile(name, File_Name))) {
        if (isReadOnly()) {
            Messages_.warning("只讀方式打開，請選擇另存文件保存");
            return false;
        }
        return save(viewRoots);
    }
    if (const TTree_Node* crowded = nodeWithTooManyChildren(*Root)) {
        Messages_.warning(kToo_Many_Children, crowded->Caption.view());
        return false;
    }
    // The new file is made complete beside its name and then renamed into
    // place, so a file of that name survives any failure or crash whole; the
    // old file stays the document's file until then.
    std::string tempName;
    std::unique_ptr<TFile> target = createSiblingOf(name, tempName);
    if (!target) {
        Messages_.warning(kCannot_Create);
        return false;
    }
    bool written = (!hasFile() || copyFileTo(*target)) &&
                   writeDocumentToNewFile(*target, *Root, viewRoots, store());
    if (!written || !putInPlace(tempName, name)) {
        target.reset();
        std::remove(tempName.c_str());
        Messages_.warning(kCannot_Save, name);
        return false;
    }
    File_ = std::move(target);
    File_Name = name;
    Read_Only = 0;
    Modified = 0;
    Undo.clear();
    compactIfWasteful();
    return true;
}

bool TTree_Doc::copyFileTo(TFile& target) {
    int64_t size = File_->size();
    if (size < 0 || !File_->seek(0) || !target.seek(0)) return false;
    std::string block(64 * 1024, '\0');
    for (int64_t done = 0; done < size;) {
        int64_t piece = std::min<int64_t>(size - done, int64_t(block.size()));
        if (File_->read(block.data(), piece) != piece || !target.write(block.data(), piece))
            return false;
        done += piece;
    }
    return target.flush();
}

bool TTree_Doc::saveCommand(TFile_Name_Prompt& names,
                            const std::vector<const TTree_Node*>& viewRoots) {
    if (!File_Name.empty()) return saveAs(File_Name, viewRoots);
    std::optional<std::string> name = names.askSaveFileName(Root->Caption.view());
    if (!name || name->empty()) return false;
    return saveAs(*name, viewRoots);
}

bool TTree_Doc::closeQuery(std::string_view windowCaption,
                           const std::function<void()>& saveCommand) {
    if (!Modified) return true;
    switch (Messages_.askSave("%s 數據沒有保存，保存數據？", windowCaption)) {
        case TSave_Answer::Cancel:
            return false;
        case TSave_Answer::No:
            return true;
        case TSave_Answer::Yes:
            break;
    }
    saveCommand();
    return Modified == 0;
}

int64_t TTree_Doc::liveSize() const {
    int64_t live = indexBound(*Root);
    std::vector<const TTree_Node*> pending{Root.get()};
    while (!pending.empty()) {
        const TTree_Node* node = pending.back();
        pending.pop_back();
        live += node->Content_Size;
        pending.insert(pending.end(), node->Children.begin(), node->Children.end());
    }
    return live;
}

TNote_Load TTree_Doc::loadNoteOf(TTree_Node& node) {
    TContent_Store* notes = store();
    if (notes == nullptr) return TNote_Load::Failed;
    return loadNote(node, File_.get(), *notes);
}

void TTree_Doc::markForRewrite(TTree_Node& subtree, TFile* source) const {
    TContent_Store* notes = store();
    bool lost = false;
    std::vector<TTree_Node*> pending{&subtree};
    while (!pending.empty()) {
        TTree_Node* node = pending.back();
        pending.pop_back();
        if (source != nullptr && node->Work_Size <= 0 && node->Content_Size > 0) {
            TNote_Load loaded =
                notes != nullptr ? loadNote(*node, source, *notes) : TNote_Load::Failed;
            if (loaded == TNote_Load::Damaged || loaded == TNote_Load::Failed) lost = true;
        }
        node->Content_Offset = node->Content_Size = node->Content_Raw_Size = 0;
        node->Content_Dirty = 1;
        for (int32_t i = node->childCount(); i-- > 0;) pending.push_back(node->child(i));
    }
    if (lost) Messages_.warning(kNote_Unreadable);
}

void TTree_Doc::prepareDetachedCopy(TTree_Node& copy) {
    markForRewrite(copy, File_.get());
}

std::unique_ptr<TTree_Doc> TTree_Doc::newDocumentFromSubtree(const TTree_Node& node) const {
    std::unique_ptr<TTree_Node> copy = node.cloneSubtree();
    markForRewrite(*copy, File_.get());
    auto doc = std::make_unique<TTree_Doc>(Messages_, Recent_Files_);
    doc->Open_File = Open_File;
    doc->Store = Store;
    doc->Root = std::move(copy);
    doc->Root->Expanded = 1;
    doc->Root->recomputeDepth();
    doc->Modified = 1;
    return doc;
}

bool TTree_Doc::exportSubtreeTo(const TTree_Node& node, const std::string& path) {
    std::unique_ptr<TTree_Node> copy = node.cloneSubtree();
    markForRewrite(*copy, File_.get());
    std::unique_ptr<TFile> file = Open_File(path, TOpen_Mode::Create);
    if (!file) {
        Messages_.warning(kCannot_Create);
        return false;
    }
    if (!writeDocument(*file, *copy, {}, store())) {
        file.reset();
        std::remove(path.c_str());
        Messages_.warning(kCannot_Save, path);
        return false;
    }
    return true;
}

std::optional<std::string> TTree_Doc::exportSubtree(const TTree_Node& node,
                                                    TFile_Name_Prompt& names) {
    std::optional<std::string> name = names.askSaveFileName(node.Caption.view());
    if (!name || name->empty() || !exportSubtreeTo(node, *name)) return std::nullopt;
    return name;
}

}  // namespace vetra
