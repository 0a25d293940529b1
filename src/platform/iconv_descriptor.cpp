#include "platform/iconv_descriptor.h"

#include <algorithm>
#include <cerrno>
#include <map>
#include <mutex>
#include <string>
#include <utility>

namespace vetra {
namespace {

class TDescriptor_Cache {
  public:
    TDescriptor_Cache() = default;
    TDescriptor_Cache(const TDescriptor_Cache&) = delete;
    TDescriptor_Cache& operator=(const TDescriptor_Cache&) = delete;
    ~TDescriptor_Cache() {
        for (auto& entry : Open_)
            if (isValidIconv(entry.second)) iconv_close(entry.second);
    }

    iconv_t get(const char* to, const char* from) {
        std::lock_guard<std::mutex> lock(Guard_);
        auto key = std::make_pair(std::string(to), std::string(from));
        auto found = Open_.find(key);
        if (found != Open_.end()) return found->second;
        iconv_t cd = iconv_open(to, from);
        Open_.emplace(std::move(key), cd);
        return cd;
    }

  private:
    std::mutex Guard_;
    std::map<std::pair<std::string, std::string>, iconv_t> Open_;
};

}  // namespace

iconv_t cachedIconv(const char* to, const char* from) {
    static TDescriptor_Cache cache;
    return cache.get(to, from);
}

void convertWithIconv(iconv_t cd, std::string_view input,
                      const std::function<void(std::string_view)>& emit,
                      const std::function<size_t(std::string_view)>& skipInvalid) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(input.data());
    size_t inLeft = input.size();
    char buffer[4096];
    while (inLeft > 0) {
        char* out = buffer;
        size_t outLeft = sizeof buffer;
        size_t rc = iconv(cd, &in, &inLeft, &out, &outLeft);
        emit(std::string_view(buffer, static_cast<size_t>(out - buffer)));
        if (rc != static_cast<size_t>(-1) || errno == E2BIG) continue;
        // EILSEQ or EINVAL: a character that cannot be converted or is cut off.
        size_t skip = std::clamp<size_t>(skipInvalid(std::string_view(in, inLeft)), 1, inLeft);
        in += skip;
        inLeft -= skip;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
}

}  // namespace vetra
