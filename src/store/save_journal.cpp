#include "store/save_journal.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

namespace vetra {
namespace {

constexpr char kMagic[8] = {'V', 'T', 'J', 'R', 'N', 'L', 1, 0};
constexpr int64_t kHeaderSize = 24;
constexpr int64_t kRecordHeaderSize = 16;

void putLe(std::string& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>(value >> (8 * i)));
}

uint64_t getLe(const char* in, int bytes) {
    uint64_t value = 0;
    for (int i = bytes; i-- > 0;) value = (value << 8) | static_cast<unsigned char>(in[i]);
    return value;
}

uint32_t crcOf(const char* bytes, size_t size, uint32_t crc = 0) {
    while (size > 0) {
        auto piece = static_cast<uInt>(std::min<size_t>(size, 1u << 30));
        crc = static_cast<uint32_t>(::crc32(crc, reinterpret_cast<const Bytef*>(bytes), piece));
        bytes += piece;
        size -= piece;
    }
    return crc;
}

bool readExactly(TFile& file, std::string& bytes, int64_t count) {
    bytes.resize(static_cast<size_t>(count));
    return file.read(bytes.data(), count) == count;
}

}  // namespace

std::string journalPathOf(const std::string& documentPath) {
    std::string real = resolvedPathOf(documentPath);
    std::string journal = directoryOf(real);
    return journal.append("/.").append(baseNameOf(real)).append("-journal");
}

bool encodeJournal(TFile& document, int64_t oldSize, const std::vector<TByte_Range>& ranges,
                   std::vector<std::string>& pieces) {
    pieces.clear();
    std::string header(kMagic, sizeof kMagic);
    putLe(header, static_cast<uint64_t>(oldSize), 8);
    std::vector<TByte_Range> kept;
    for (const TByte_Range& range : ranges) {
        int64_t end = std::min(range.Offset + range.Length, oldSize);
        if (range.Offset >= 0 && end > range.Offset)
            kept.push_back({range.Offset, end - range.Offset});
    }
    putLe(header, kept.size(), 4);
    putLe(header, crcOf(header.data(), header.size()), 4);
    pieces.push_back(std::move(header));
    for (const TByte_Range& range : kept) {
        std::string record;
        record.reserve(size_t(kRecordHeaderSize + range.Length));
        putLe(record, static_cast<uint64_t>(range.Offset), 8);
        putLe(record, static_cast<uint64_t>(range.Length), 4);
        record.resize(size_t(kRecordHeaderSize + range.Length));
        char* bytes = record.data() + kRecordHeaderSize;
        if (!document.seek(range.Offset) || document.read(bytes, range.Length) != range.Length)
            return false;
        uint32_t crc = crcOf(record.data(), 12);
        crc = crcOf(bytes, size_t(range.Length), crc);
        for (int i = 0; i < 4; ++i) record[size_t(12 + i)] = static_cast<char>(crc >> (8 * i));
        pieces.push_back(std::move(record));
    }
    return true;
}

namespace {

// Reads the segment at `at`: false when it is partial or damaged.
bool decodeSegment(TFile& journal, int64_t size, int64_t& at, TJournal& out) {
    std::string header;
    if (size - at < kHeaderSize || !journal.seek(at) || !readExactly(journal, header, kHeaderSize))
        return false;
    if (std::memcmp(header.data(), kMagic, sizeof kMagic) != 0) return false;
    if (getLe(header.data() + 20, 4) != crcOf(header.data(), 20)) return false;
    auto oldSize = static_cast<int64_t>(getLe(header.data() + 8, 8));
    uint64_t count = getLe(header.data() + 16, 4);
    if (oldSize < 0 || (at > 0 && oldSize != out.Old_Size)) return false;
    int64_t next = at + kHeaderSize;
    std::vector<TJournal_Record> records;
    for (uint64_t i = 0; i < count; ++i) {
        std::string head;
        if (size - next < kRecordHeaderSize || !readExactly(journal, head, kRecordHeaderSize))
            return false;
        auto offset = static_cast<int64_t>(getLe(head.data(), 8));
        auto length = static_cast<int64_t>(getLe(head.data() + 8, 4));
        next += kRecordHeaderSize;
        if (offset < 0 || length <= 0 || length > size - next || offset + length > oldSize)
            return false;
        TJournal_Record record{offset, {}};
        if (!readExactly(journal, record.Bytes, length)) return false;
        uint32_t crc = crcOf(head.data(), 12);
        if (getLe(head.data() + 12, 4) != crcOf(record.Bytes.data(), record.Bytes.size(), crc))
            return false;
        next += length;
        records.push_back(std::move(record));
    }
    out.Old_Size = oldSize;
    for (TJournal_Record& record : records) out.Records.push_back(std::move(record));
    at = next;
    return true;
}

}  // namespace

bool decodeJournal(TFile& journal, TJournal& out) {
    int64_t size = journal.size();
    out.Records.clear();
    int64_t at = 0;
    if (size < 0 || !decodeSegment(journal, size, at, out)) return false;
    // A later segment that is partial was being written when the save
    // stopped: the bytes it was to save had not been touched yet.
    while (at < size && decodeSegment(journal, size, at, out)) {
    }
    return true;
}

bool applyJournal(const TJournal& journal, TFile& document) {
    // Newest first, so the oldest bytes of any place are the ones left.
    for (auto record = journal.Records.rbegin(); record != journal.Records.rend(); ++record)
        if (!document.seek(record->Offset) ||
            !document.write(record->Bytes.data(), int64_t(record->Bytes.size())))
            return false;
    return document.truncate(journal.Old_Size) && document.flush();
}

TJournal_Found recoverFromJournal(const std::string& documentPath, TFile& document, bool writable,
                                  const TJournal_Opener& open, std::unique_ptr<TFile>* recovered) {
    std::string journalPath = journalPathOf(documentPath);
    struct stat info {};
    if (::lstat(journalPath.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return TJournal_Found::None;
    TJournal journal;
    std::unique_ptr<TFile> file = open(journalPath, TOpen_Mode::ReadOnly);
    bool valid = file && decodeJournal(*file, journal);
    file.reset();
    if (!valid) {
        // The save that wrote it never touched the document.
        if (writable) std::remove(journalPath.c_str());
        return TJournal_Found::None;
    }
    if (writable && applyJournal(journal, document)) {
        std::remove(journalPath.c_str());
        syncDirectoryOf(journalPath);
        return TJournal_Found::Rolled_Back;
    }
    // The document cannot be put back on disk: the caller may read it as it
    // was from memory.
    if (recovered != nullptr) {
        auto copy = std::make_unique<TMemory_File>();
        std::string bytes;
        int64_t size = document.size();
        if (size >= 0 && document.seek(0) && readExactly(document, bytes, size) &&
            copy->write(bytes.data(), size) && applyJournal(journal, *copy))
            *recovered = std::move(copy);
    }
    return TJournal_Found::Needs_Recovery;
}

int removeLeftoverCompactions(const std::string& documentPath) {
    std::string real = resolvedPathOf(documentPath);
    std::string directory = directoryOf(real);
    std::string prefix = std::string(".").append(baseNameOf(real)).append(".");
    DIR* listing = ::opendir(directory.c_str());
    if (listing == nullptr) return 0;
    int removed = 0;
    while (const dirent* entry = ::readdir(listing)) {
        std::string_view name(entry->d_name);
        if (name.size() != prefix.size() + 6 || !name.starts_with(prefix)) continue;
        std::string_view suffix = name.substr(prefix.size());
        if (!std::all_of(suffix.begin(), suffix.end(),
                         [](char c) { return std::isalnum(static_cast<unsigned char>(c)); }))
            continue;
        std::string path = directory + "/" + std::string(name);
        struct stat info {};
        if (::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
            info.st_uid == ::getuid() && ::unlink(path.c_str()) == 0)
            ++removed;
    }
    ::closedir(listing);
    return removed;
}

TSave_Journal::TSave_Journal(std::string documentPath, TJournal_Opener open)
    : Document_Path(std::move(documentPath)),
      Journal_Path(journalPathOf(Document_Path)),
      Open_(std::move(open)) {}

TSave_Journal::~TSave_Journal() = default;

bool TSave_Journal::begin(TFile& document, const std::vector<TByte_Range>& ranges) {
    if (recoverFromJournal(Document_Path, document, true, Open_, nullptr) ==
        TJournal_Found::Needs_Recovery)
        return false;
    Old_Size = document.size();
    Journal_.reset();
    Journal_End = 0;
    Saved_.clear();
    return Old_Size >= 0 && add(document, ranges);
}

bool TSave_Journal::add(TFile& document, const std::vector<TByte_Range>& ranges) {
    // Bytes past the old end need no journal: cutting them off is all a
    // rollback does to them, and an old index never refers to them.
    if (ranges.empty()) return true;
    std::vector<std::string> pieces;
    if (!encodeJournal(document, Old_Size, ranges, pieces)) return false;
    bool created = !Journal_;
    if (created) Journal_ = Open_(Journal_Path, TOpen_Mode::Create);
    bool written = Journal_ != nullptr;
    for (const std::string& piece : pieces) {
        written = written && Journal_->seek(Journal_End) &&
                  Journal_->write(piece.data(), int64_t(piece.size()));
        if (written) Journal_End += int64_t(piece.size());
    }
    if (!written || !Journal_->flush() || (created && !syncDirectoryOf(Journal_Path))) {
        // Nothing was overwritten under this segment; a first one goes.
        if (created) {
            Journal_.reset();
            std::remove(Journal_Path.c_str());
        }
        return false;
    }
    Saved_.insert(Saved_.end(), ranges.begin(), ranges.end());
    std::sort(Saved_.begin(), Saved_.end(),
              [](const TByte_Range& a, const TByte_Range& b) { return a.Offset < b.Offset; });
    return true;
}

bool TSave_Journal::finish() {
    if (!Journal_) return true;
    Journal_.reset();
    if (::unlink(Journal_Path.c_str()) != 0) {
        // A journal that stays would undo the save at the next open.
        std::unique_ptr<TFile> journal = Open_(Journal_Path, TOpen_Mode::Create);
        if (!journal || !journal->flush()) return false;
    }
    syncDirectoryOf(Journal_Path);
    return true;
}

bool TSave_Journal::rollBack(TFile& document) {
    if (!Journal_) return document.truncate(Old_Size);
    Journal_.reset();
    return recoverFromJournal(Document_Path, document, true, Open_, nullptr) ==
           TJournal_Found::Rolled_Back;
}

bool TSave_Journal::covers(int64_t offset, int64_t count) const {
    int64_t end = std::min(offset + count, Old_Size);
    for (const TByte_Range& range : Saved_) {
        if (offset >= end) break;
        if (range.Offset > offset) return false;
        offset = std::max(offset, range.Offset + range.Length);
    }
    return offset >= end;
}

}  // namespace vetra
