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
// shared empty block, so it allocates nothing. Large trees hold three of
// these per node, which is why this is not a std::optional<std::string>.
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
        uint32_t length = 0;
        if (Block_ != nullptr) std::memcpy(&length, Block_, sizeof length);
        return length;
    }
    std::string_view view() const {
        if (Block_ == nullptr) return {};
        return {Block_ + sizeof(uint32_t), size()};
    }

    // Stores a copy; the text becomes present (possibly empty). The bytes may
    // be the text's own.
    void assign(std::string_view bytes) {
        char* block = emptyBlock();
        if (!bytes.empty()) {
            const uint32_t length = static_cast<uint32_t>(bytes.size());
            block = static_cast<char*>(allocateSmallBlock(sizeof length + length));
            std::memcpy(block, &length, sizeof length);
            std::memcpy(block + sizeof length, bytes.data(), length);
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
    static char* emptyBlock() {
        static char empty[sizeof(uint32_t)] = {};
        return empty;
    }
    void release() {
        if (Block_ != nullptr && Block_ != emptyBlock())
            releaseSmallBlock(Block_, sizeof(uint32_t) + size());
    }

    char* Block_ = nullptr;
};

}  // namespace vetra
