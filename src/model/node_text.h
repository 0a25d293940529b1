#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

namespace vetra {

// An owned byte string that can be absent, in the active code page. Sixteen
// bytes in the node; a present empty text allocates nothing. Large trees hold
// three of these per node, which is why this is not a std::optional<std::string>.
class TNode_Text {
public:
    TNode_Text() = default;
    explicit TNode_Text(std::string_view bytes) { assign(bytes); }
    TNode_Text(const TNode_Text& other) { *this = other; }
    TNode_Text& operator=(const TNode_Text& other) {
        if (this == &other) return *this;
        if (other.Present_) assign(other.view());
        else reset();
        return *this;
    }
    TNode_Text(TNode_Text&&) noexcept = default;
    TNode_Text& operator=(TNode_Text&&) noexcept = default;

    bool isPresent() const { return Present_; }
    bool isEmpty() const { return Size_ == 0; }
    uint32_t size() const { return Size_; }
    std::string_view view() const { return {Bytes_.get(), Size_}; }

    // Stores a copy; the text becomes present (possibly empty).
    void assign(std::string_view bytes) {
        std::unique_ptr<char[]> copy;
        if (!bytes.empty()) {
            copy.reset(new char[bytes.size()]);
            std::memcpy(copy.get(), bytes.data(), bytes.size());
        }
        Bytes_ = std::move(copy);
        Size_ = static_cast<uint32_t>(bytes.size());
        Present_ = true;
    }

    // The text becomes absent.
    void reset() {
        Bytes_.reset();
        Size_ = 0;
        Present_ = false;
    }

    friend bool operator==(const TNode_Text& a, const TNode_Text& b) {
        return a.Present_ == b.Present_ && a.view() == b.view();
    }

private:
    std::unique_ptr<char[]> Bytes_;
    uint32_t Size_ = 0;
    bool Present_ = false;
};

}  // namespace vetra
