#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace vetra {

// A random-access byte file. Documents stay open while they are edited and
// are updated in place, so the store needs seek, read, write and size on one
// handle. Every operation reports failure; callers decide what the user sees.
class TFile {
  public:
    virtual ~TFile() = default;

    // Moves the position to `offset` (0 <= offset).
    virtual bool seek(int64_t offset) = 0;
    virtual int64_t position() const = 0;
    // Reads up to `count` bytes; returns the number read (0 at the end), or -1 on error.
    virtual int64_t read(void* buffer, int64_t count) = 0;
    // Writes all `count` bytes or fails.
    virtual bool write(const void* buffer, int64_t count) = 0;
    // Current size in bytes, or -1 on error.
    virtual int64_t size() const = 0;
    virtual bool flush() = 0;
    virtual bool truncate(int64_t length) = 0;
};

enum class TOpen_Mode { ReadOnly, ReadWrite, Create };

// Opens a file of the file system; Create makes it empty (creating it when missing).
// Returns null when the file cannot be opened in that mode.
std::unique_ptr<TFile> openFile(const std::string& path, TOpen_Mode mode);

// A file held in memory, for tests and for building a document before it has a name.
class TMemory_File : public TFile {
  public:
    TMemory_File() = default;
    explicit TMemory_File(std::string bytes) : Bytes_(std::move(bytes)) {}

    bool seek(int64_t offset) override;
    int64_t position() const override { return Position_; }
    int64_t read(void* buffer, int64_t count) override;
    bool write(const void* buffer, int64_t count) override;
    int64_t size() const override { return static_cast<int64_t>(Bytes_.size()); }
    bool flush() override { return true; }
    bool truncate(int64_t length) override;

    const std::string& bytes() const { return Bytes_; }

  private:
    std::string Bytes_;
    int64_t Position_ = 0;
};

}  // namespace vetra
