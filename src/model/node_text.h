#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>
#include <utility>

#include "model/block_pool.h"

namespace vetra {

// An owned byte string that can be absent, in the active code page. Eight
// bytes in the node: one pointer to a block holding the length and then the
// bytes; an absent text has none, and a present empty text points at one
// shared empty block, so it allocates nothing. The length takes two bytes
// below 65 535 (captions are short), else the marker 0xFFFF and four more. Large trees hold three
// of these per node, which is why this is not a std::optional<std::string>.
class TNode_Text {
  public:
    TNode_Text() = default;
    explicit TNode_Text(std::string_view bytes) { assign(bytes); }
    TNode_Text(const TNode_Text& other) { *this = other; }
    TNode_Text& operator=(const TNode_Text& other) {
        if (this == &other) return *this;
        if (other.isPresent())
            assign(other.view());
        else
            reset();
        return *this;
    }
    TNode_Text(TNode_Text&& other) noexcept : Block_(std::exchange(other.Block_, nullptr)) {}
    TNode_Text& operator=(TNode_Text&& other) noexcept {
        if (this != &other) {
            release();
            Block_ = std::exchange(other.Block_, nullptr);
        }
        return *this;
    }
    ~TNode_Text() { release(); }

    bool isPresent() const { return Block_ != nullptr; }
    bool isEmpty() const { return size() == 0; }
    uint32_t size() const {
        if (Block_ == nullptr) return 0;
        uint16_t shortLength;
        std::memcpy(&shortLength, Block_, sizeof shortLength);
        if (shortLength != kLong_Length) return shortLength;
        uint32_t length;
        std::memcpy(&length, Block_ + sizeof shortLength, sizeof length);
        return length;
    }
    std::string_view view() const {
        if (Block_ == nullptr) return {};
        const uint32_t length = size();
        return {Block_ + headerSize(length), length};
    }

    // Stores a copy; the text becomes present (possibly empty). The bytes may
    // be the text's own.
    void assign(std::string_view bytes) {
        char* block = emptyBlock();
        if (!bytes.empty()) {
            const uint32_t length = static_cast<uint32_t>(bytes.size());
            block = static_cast<char*>(allocateSmallBlock(headerSize(length) + length));
            if (length < kLong_Length) {
                const auto shortLength = static_cast<uint16_t>(length);
                std::memcpy(block, &shortLength, sizeof shortLength);
            } else {
                std::memcpy(block, &kLong_Length, sizeof kLong_Length);
                std::memcpy(block + sizeof kLong_Length, &length, sizeof length);
            }
            std::memcpy(block + headerSize(length), bytes.data(), length);
        }
        release();
        Block_ = block;
    }
    // The text becomes absent.
    void reset() {
        release();
        Block_ = nullptr;
    }

    friend bool operator==(const TNode_Text& a, const TNode_Text& b) {
        return a.isPresent() == b.isPresent() && a.view() == b.view();
    }

  private:
    static constexpr uint16_t kLong_Length = 0xFFFF;
    static size_t headerSize(uint32_t length) {
        return length < kLong_Length ? sizeof(uint16_t) : sizeof(uint16_t) + sizeof(uint32_t);
    }
    static char* emptyBlock() {
        static char empty[sizeof(uint16_t)] = {};
        return empty;
    }
    void release() {
        if (Block_ != nullptr && Block_ != emptyBlock()) {
            const uint32_t length = size();
            releaseSmallBlock(Block_, headerSize(length) + length);
        }
    }

    char* Block_ = nullptr;
};

}  // namespace vetra
