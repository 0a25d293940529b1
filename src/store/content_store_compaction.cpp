#include <map>

#include "store/content_store.h"

namespace vetra {

bool TContent_Store::compact(const std::vector<TTree_Node*>& holders) {
    // Copies by offset; a copy is as long as the longest reference to it.
    std::map<int32_t, std::pair<int32_t, std::vector<TTree_Node*>>> copies;
    for (TTree_Node* node : holders) {
        if (node->Work_Size <= 0) continue;
        auto& copy = copies[node->Work_Offset];
        copy.first = std::max(copy.first, node->Work_Size);
        copy.second.push_back(node);
    }
    int64_t target = 0;
    std::string bytes;
    for (auto& [offset, copy] : copies) {
        auto& [size, nodes] = copy;
        // Overlapping or out-of-range copies are not the store's own: leave
        // everything where it is.
        if (offset < target || int64_t{offset} + size > End_) return false;
        if (offset != target) {
            if (!read(offset, size, bytes)) return false;
            if (!File_->seek(target) || !File_->write(bytes.data(), size)) return false;
            for (TTree_Node* node : nodes) node->Work_Offset = static_cast<int32_t>(target);
        }
        target += size;
    }
    if (!File_->flush() || !File_->truncate(target)) return false;
    End_ = target;
    return true;
}

bool storeNeedsCompaction(const TContent_Store& store, const std::vector<TTree_Node*>& holders,
                          int64_t minimumSize) {
    std::map<int32_t, int32_t> copies;
    for (const TTree_Node* node : holders)
        if (node->Work_Size > 0)
            copies[node->Work_Offset] = std::max(copies[node->Work_Offset], node->Work_Size);
    int64_t live = 0;
    for (const auto& [offset, size] : copies) live += size;
    return store.size() > minimumSize && store.size() > 2 * live;
}

}  // namespace vetra
