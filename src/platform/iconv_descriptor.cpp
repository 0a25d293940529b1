#include "platform/iconv_descriptor.h"

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

}  // namespace vetra
