#include "store/note_codec.h"

#include <zlib.h>

namespace vetra {
namespace {

constexpr size_t kStoreRawLimit = 512;
// deflate never expands data by more than about 1032 to 1.
constexpr int64_t kMaxInflateRatio = 1032;

}  // namespace

TStored_Note encodeNote(std::string_view note) {
    TStored_Note stored;
    if (note.size() > kStoreRawLimit) {
        uLongf packedSize = compressBound(static_cast<uLong>(note.size()));
        std::string packed(packedSize, '\0');
        int rc = compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
                           reinterpret_cast<const Bytef*>(note.data()),
                           static_cast<uLong>(note.size()), Z_DEFAULT_COMPRESSION);
        if (rc == Z_OK && packedSize < note.size()) {
            packed.resize(packedSize);
            stored.bytes = std::move(packed);
            stored.rawSize = static_cast<int32_t>(note.size());
            return stored;
        }
    }
    stored.bytes.assign(note);
    return stored;
}

bool decodeNote(std::string_view stored, int32_t rawSize, std::string& note) {
    if (rawSize < 0) return false;
    if (rawSize == 0) {
        note.assign(stored);
        return true;
    }
    if (int64_t{rawSize} > int64_t(stored.size()) * kMaxInflateRatio + 64) return false;
    std::string inflated(static_cast<size_t>(rawSize), '\0');
    uLongf inflatedSize = static_cast<uLongf>(rawSize);
    int rc = uncompress(reinterpret_cast<Bytef*>(inflated.data()), &inflatedSize,
                        reinterpret_cast<const Bytef*>(stored.data()),
                        static_cast<uLong>(stored.size()));
    if (rc != Z_OK) return false;
    inflated.resize(inflatedSize);
    note = std::move(inflated);
    return true;
}

}  // namespace vetra
