#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/document_tree.h"
#include "model/user_prompts.h"
#include "platform/file.h"
#include "store/content_store.h"
#include "store/node_record.h"
#include "store/recent_files.h"

namespace vetra {

// One open tree document: the tree with its undo history (TDocument_Tree),
// the file that holds it, and its flags. The file stays open from opening (or
// the first save) until the document is destroyed; saves update it in place.
//
// What the user must know goes through `messages`: "該文件將以只讀方式打開",
// "只讀方式打開，請選擇另存文件保存", "無法創建文件", "無法保存文件 %s" (any
// failed write of a save), "文件中有已損壞的筆記，已略去 %s" (notes whose
// location or size the file cannot justify; they become absent notes).
class TTree_Doc : public TDocument_Tree {
  public:
    using TFile_Opener = std::function<std::unique_ptr<TFile>(const std::string&, TOpen_Mode)>;

    // A new document: default root, no file, read-only, not modified.
    explicit TTree_Doc(TUser_Messages& messages, TRecent_Files* recentFiles = nullptr);
    ~TTree_Doc() override;

    // Opens a document file. On success `viewRoots` receives the roots of the
    // views stored in the file, in file order, and the undo history is empty.
    // On failure the document is as it was; `error` says why (CannotRead when
    // the file did not open) and the caller shows "無法打開文件 %s". Opening
    // the name the document already has does nothing and succeeds.
    bool open(const std::string& name, std::vector<TTree_Node*>& viewRoots, TRead_Error& error);

    // Saves in place. `viewRoots` are the roots of the window's open views in
    // view order; the current view's root must be linked to its parent. On
    // failure the user is warned, the document stays modified and keeps its
    // undo history. A save that leaves too much waste compacts the file.
    bool save(const std::vector<const TTree_Node*>& viewRoots);
    // Saves under `name`; the same name is a plain save (refused when read-only).
    // When the new file cannot be made complete the document keeps its old
    // file and name.
    bool saveAs(const std::string& name, const std::vector<const TTree_Node*>& viewRoots);
    // The save command: asks for a name (proposing the root's caption) when
    // the document has none.
    bool saveCommand(TFile_Name_Prompt& names, const std::vector<const TTree_Node*>& viewRoots);
    // Before closing: asks "%s 數據沒有保存，保存數據？" with the window caption
    // when modified; Yes runs `saveCommand`. True when the window may close.
    bool closeQuery(std::string_view windowCaption, const std::function<void()>& saveCommand);

    // Rewrites the file without waste into a new file beside it, renamed over
    // it once complete; any failure leaves the old file as it was. A save runs
    // it by itself when the waste passes the thresholds (needsCompaction).
    // The compacted index records no view roots.
    bool compact();

    // Sum of the stored note sizes plus the index bound.
    int64_t liveSize() const;

    // The three subtree exports. The source document does not change; its
    // notes are copied into the content store.
    // A new document holding a copy of the subtree, modified and without a file.
    std::unique_ptr<TTree_Doc> newDocumentFromSubtree(const TTree_Node& node) const;
    // Writes a copy of the subtree as a complete document file at `path`.
    bool exportSubtreeTo(const TTree_Node& node, const std::string& path);
    // Asks for the name (proposing the node's caption), then exports. The
    // written name (for sending), or none when cancelled or failed.
    std::optional<std::string> exportSubtree(const TTree_Node& node, TFile_Name_Prompt& names);

    // Loads the notes of a detached copy from this document's file into the
    // content store and marks them to be written again.
    void prepareDetachedCopy(TTree_Node& copy) override;
    // Gives the node a working copy of its note (before the note is edited).
    TNote_Load loadNoteOf(TTree_Node& node);

    const std::string& fileName() const { return File_Name; }
    // Names a document that has no file yet (a recovered document takes its
    // original's name, so saving it writes there).
    void nameAfter(const std::string& name) {
        if (!hasFile()) File_Name = name;
    }
    bool hasFile() const { return File_ != nullptr; }
    bool isReadOnly() const { return Read_Only != 0; }
    TFile* file() const { return File_.get(); }

    // How files are opened; tests put failing files in here.
    TFile_Opener Open_File = openFile;
    // The store of working copies; the process-wide one unless set.
    TContent_Store* Store = nullptr;

  private:
    TContent_Store* store() const { return Store != nullptr ? Store : contentStore(); }
    bool writeAndFinish(const std::vector<const TTree_Node*>& viewRoots);
    bool copyFileTo(TFile& target);
    // A new empty file ".<name>.XXXXXX" beside the file `path` names (a
    // symbolic link's target), open for writing; `tempName` receives its name.
    std::unique_ptr<TFile> createSiblingOf(const std::string& path, std::string& tempName);
    void compactIfWasteful();
    int dropImplausibleNotes(TTree_Node& root, int64_t fileSize);
    void markForRewrite(TTree_Node& subtree, TFile* source) const;

    TUser_Messages& Messages_;
    TRecent_Files* Recent_Files_;
    std::string File_Name;
    std::unique_ptr<TFile> File_;
    int32_t Read_Only = 1;
};

// Renames the finished file `tempName` over the file `path` names, giving it
// that file's owner (where allowed) and mode, or a new file's mode, and syncs
// the directory.
bool putInPlace(const std::string& tempName, const std::string& path);

// Compaction runs when the file is more than 1.2 times the live size (the
// ratio in single precision, so exactly 1.2 counts) and the waste is more
// than 50000 bytes.
bool needsCompaction(int64_t fileSize, int64_t liveSize);

}  // namespace vetra
