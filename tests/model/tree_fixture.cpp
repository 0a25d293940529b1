#include "tests/model/tree_fixture.h"

namespace vetra::test {

std::string describe(const TTree_Node& root) {
    std::string out;
    struct TItem {
        const TTree_Node* node;
        const TTree_Node* expectedParent;
        int closes;
    };
    std::vector<TItem> pending{{&root, root.Parent, 0}};
    while (!pending.empty()) {
        TItem item = pending.back();
        pending.pop_back();
        if (item.node == nullptr) {
            out += ')';
            continue;
        }
        if (!out.empty() && out.back() != '(') out += ',';
        if (item.node->Parent != item.expectedParent) out += '!';
        out += item.node->Caption.view();
        if (!item.node->hasChildren()) continue;
        out += '(';
        pending.push_back({nullptr, nullptr, 0});
        for (int32_t i = item.node->childCount(); i-- > 0;)
            pending.push_back({item.node->child(i), item.node, 0});
    }
    return out;
}

std::vector<const TTree_Node*> snapshot(const TTree_Node& root) {
    std::vector<const TTree_Node*> out;
    std::vector<const TTree_Node*> pending{&root};
    while (!pending.empty()) {
        const TTree_Node* node = pending.back();
        pending.pop_back();
        out.push_back(node);
        out.push_back(node->Parent);
        for (int32_t i = node->childCount(); i-- > 0;) pending.push_back(node->child(i));
    }
    return out;
}

}  // namespace vetra::test
