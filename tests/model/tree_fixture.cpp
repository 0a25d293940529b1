#include "tests/model/tree_fixture.h"

namespace vetra::test {

std::unique_ptr<TTree_Node> buildTree(std::string_view outline) {
    std::unique_ptr<TTree_Node> root;
    std::vector<TTree_Node*> open;
    TTree_Node* last = nullptr;
    size_t at = 0;
    while (at < outline.size()) {
        char c = outline[at];
        if (c == '(') {
            open.push_back(last);
            ++at;
        } else if (c == ')') {
            open.pop_back();
            ++at;
        } else if (c == ',' || c == ' ') {
            ++at;
        } else {
            size_t end = outline.find_first_of("(), ", at);
            if (end == std::string_view::npos) end = outline.size();
            auto node = std::make_unique<TTree_Node>();
            node->setCaption(outline.substr(at, end - at));
            if (open.empty()) {
                root = std::move(node);
                last = root.get();
                root->Depth = 1;
            } else {
                last = open.back()->appendChild(std::move(node));
            }
            at = end;
        }
    }
    return root;
}

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

TTree_Node* find(TTree_Node& root, std::string_view caption) {
    std::vector<TTree_Node*> pending{&root};
    while (!pending.empty()) {
        TTree_Node* node = pending.back();
        pending.pop_back();
        if (node->Caption.view() == caption) return node;
        pending.insert(pending.end(), node->Children.begin(), node->Children.end());
    }
    return nullptr;
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
