#include "platform/file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace vetra {
namespace {

class TPosix_File : public TFile {
  public:
    explicit TPosix_File(int fd) : Fd_(fd) {}
    ~TPosix_File() override { ::close(Fd_); }
    TPosix_File(const TPosix_File&) = delete;
    TPosix_File& operator=(const TPosix_File&) = delete;

    bool seek(int64_t offset) override {
        if (offset < 0) return false;
        Position_ = offset;
        return true;
    }
    int64_t position() const override { return Position_; }

    int64_t read(void* buffer, int64_t count) override {
        int64_t done = 0;
        auto* out = static_cast<char*>(buffer);
        while (done < count) {
            ssize_t got = ::pread(Fd_, out + done, static_cast<size_t>(count - done),
                                  static_cast<off_t>(Position_ + done));
            if (got < 0) {
                if (errno == EINTR) continue;
                return -1;
            }
            if (got == 0) break;
            done += got;
        }
        Position_ += done;
        return done;
    }

    bool write(const void* buffer, int64_t count) override {
        int64_t done = 0;
        const auto* in = static_cast<const char*>(buffer);
        while (done < count) {
            ssize_t put = ::pwrite(Fd_, in + done, static_cast<size_t>(count - done),
                                   static_cast<off_t>(Position_ + done));
            if (put < 0) {
                if (errno == EINTR) continue;
                return false;
            }
            if (put == 0) return false;
            done += put;
        }
        Position_ += done;
        return true;
    }

    int64_t size() const override {
        struct stat info {};
        if (::fstat(Fd_, &info) != 0) return -1;
        return static_cast<int64_t>(info.st_size);
    }

    bool flush() override { return ::fdatasync(Fd_) == 0 || errno == EINVAL || errno == EROFS; }

    bool truncate(int64_t length) override {
        return length >= 0 && ::ftruncate(Fd_, static_cast<off_t>(length)) == 0;
    }

  private:
    int Fd_;
    int64_t Position_ = 0;
};

}  // namespace

std::unique_ptr<TFile> openFile(const std::string& path, TOpen_Mode mode) {
    int flags = O_CLOEXEC;
    switch (mode) {
        case TOpen_Mode::ReadOnly:
            flags |= O_RDONLY;
            break;
        case TOpen_Mode::ReadWrite:
            flags |= O_RDWR;
            break;
        case TOpen_Mode::Create:
            flags |= O_RDWR | O_CREAT | O_TRUNC;
            break;
    }
    int fd = ::open(path.c_str(), flags, 0666);
    if (fd < 0) return nullptr;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    return std::make_unique<TPosix_File>(fd);
}

bool TMemory_File::seek(int64_t offset) {
    if (offset < 0) return false;
    Position_ = offset;
    return true;
}

int64_t TMemory_File::read(void* buffer, int64_t count) {
    int64_t available = std::max<int64_t>(0, size() - Position_);
    int64_t got = std::min(count, available);
    if (got > 0) std::memcpy(buffer, Bytes_.data() + Position_, static_cast<size_t>(got));
    Position_ += got;
    return got;
}

bool TMemory_File::write(const void* buffer, int64_t count) {
    if (count <= 0) return count == 0;
    auto end = static_cast<size_t>(Position_ + count);
    if (Bytes_.size() < end) Bytes_.resize(end, '\0');
    std::memcpy(Bytes_.data() + Position_, buffer, static_cast<size_t>(count));
    Position_ += count;
    return true;
}

bool TMemory_File::truncate(int64_t length) {
    if (length < 0) return false;
    Bytes_.resize(static_cast<size_t>(length), '\0');
    return true;
}

}  // namespace vetra
