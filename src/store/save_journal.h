#pragma once

// The rollback journal of a save. Before a save overwrites any byte of a
// document, the bytes it will overwrite are copied into a hidden file beside
// it, ".<name>-journal":
//
//   "VTJRNL" 1 0              magic and version (8 bytes)
//   old size:i64le            the document's size before the save
//   record count:u32le
//   header crc:u32le          CRC-32 of the 20 bytes before it
//   records, each:
//     offset:i64le length:u32le crc:u32le (CRC-32 of offset, length and bytes)
//     the document's bytes at offset before the save
//
// Such a segment may be followed by further segments of the same form, for
// bytes the save learns it will overwrite later (the changed parts of the
// index, once the notes are placed). Each segment is synced before the bytes
// it saves are touched, and the journal is deleted once the saved document is
// synced. So a journal whose first segment is complete and valid means the
// document may be half written: putting the records of every valid segment
// back, newest first, and cutting the document to its old size gives the
// document as it was. A damaged first segment means the document was not
// touched yet; a damaged later segment, that its bytes were not.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/file.h"
#include "store/file_paths.h"

namespace vetra {

using TJournal_Opener = std::function<std::unique_ptr<TFile>(const std::string&, TOpen_Mode)>;

struct TByte_Range {
    int64_t Offset = 0;
    int64_t Length = 0;
};

struct TJournal_Record {
    int64_t Offset = 0;
    std::string Bytes;
};

struct TJournal {
    int64_t Old_Size = 0;
    std::vector<TJournal_Record> Records;
};

// ".<name>-journal" beside the file `documentPath` names.
std::string journalPathOf(const std::string& documentPath);
// The bytes of one journal segment: the header and one record per range,
// each range clipped to `oldSize` and read from `document`. False when a
// read fails.
bool encodeJournal(TFile& document, int64_t oldSize, const std::vector<TByte_Range>& ranges,
                   std::vector<std::string>& pieces);
// Reads a journal; false when it is partial, damaged or not a journal.
bool decodeJournal(TFile& journal, TJournal& out);
// Puts the saved bytes back, cuts the document to its old size and syncs it.
bool applyJournal(const TJournal& journal, TFile& document);

// What opening a document found beside it.
enum class TJournal_Found {
    None,            // no journal, or one that was partial (deleted when the document is writable)
    Rolled_Back,     // the document was put back as it was before an unfinished save
    Needs_Recovery,  // a valid journal, but the document could not be written
};

// Run before a document is read. With a writable `document` a valid journal
// is applied and deleted; with a read-only one (or when applying fails)
// `recovered`, when not null, receives the document as it was before the
// unfinished save, in memory.
TJournal_Found recoverFromJournal(const std::string& documentPath, TFile& document, bool writable,
                                  const TJournal_Opener& open, std::unique_ptr<TFile>* recovered);

// Removes ".<name>.XXXXXX" files beside the document that a killed
// compaction left behind.
int removeLeftoverCompactions(const std::string& documentPath);

// One save's journal: `begin` writes and syncs it, `add` saves more bytes
// before they are overwritten, `finish` deletes it after a complete save,
// `rollBack` puts the document back after a failed one. The file is made
// only once there are bytes to save: a save that only appends needs none.
class TSave_Journal {
  public:
    TSave_Journal(std::string documentPath, TJournal_Opener open);
    ~TSave_Journal();

    // Any journal an earlier failed save left is applied first.
    bool begin(TFile& document, const std::vector<TByte_Range>& ranges);
    bool add(TFile& document, const std::vector<TByte_Range>& ranges);
    bool finish();
    // True when the document is as it was and the journal is gone.
    bool rollBack(TFile& document);

    int64_t oldSize() const { return Old_Size; }

    // True when a write of [offset, offset + count) changes only bytes the
    // journal holds or bytes behind the old end.
    bool covers(int64_t offset, int64_t count) const;

  private:
    std::string Document_Path;
    std::string Journal_Path;
    TJournal_Opener Open_;
    std::unique_ptr<TFile> Journal_;
    int64_t Journal_End = 0;
    int64_t Old_Size = 0;
    std::vector<TByte_Range> Saved_;
};

}  // namespace vetra
