#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "layout/fixed_metrics_canvas.h"
#include "layout/layout_engine.h"
#include "layout/node_measure.h"
#include "layout/view_paint.h"
#include "model/tree_node.h"

namespace vetra::testing {

// A node with a caption and the default styles.
inline std::unique_ptr<TTree_Node> makeNode(std::string caption) {
    auto node = std::make_unique<TTree_Node>();
    node->setCaption(caption);
    return node;
}

inline TTree_Node* addChild(TTree_Node& parent, std::string caption) {
    return parent.appendChild(makeNode(std::move(caption)));
}

// A tree from an outline such as "r(a(b,c),d)", one node a name.
inline std::unique_ptr<TTree_Node> buildTree(std::string_view outline) {
    std::unique_ptr<TTree_Node> root;
    std::vector<TTree_Node*> open;
    TTree_Node* last = nullptr;
    size_t at = 0;
    while (at < outline.size()) {
        const char c = outline[at];
        if (c == '(' || c == ')' || c == ',' || c == ' ') {
            if (c == '(') open.push_back(last);
            if (c == ')') open.pop_back();
            ++at;
            continue;
        }
        size_t end = outline.find_first_of("(), ", at);
        if (end == std::string_view::npos) end = outline.size();
        auto node = makeNode(std::string(outline.substr(at, end - at)));
        if (open.empty()) {
            root = std::move(node);
            last = root.get();
            root->Depth = 1;
        } else {
            last = open.back()->appendChild(std::move(node));
        }
        at = end;
    }
    return root;
}

// The node with this caption in the subtree, or none.
inline TTree_Node* find(TTree_Node& root, std::string_view caption) {
    std::vector<TTree_Node*> pending{&root};
    while (!pending.empty()) {
        TTree_Node* node = pending.back();
        pending.pop_back();
        if (node->Caption.view() == caption) return node;
        pending.insert(pending.end(), node->Children.begin(), node->Children.end());
    }
    return nullptr;
}

// The subtree laid out with fixed metrics (8 px a byte, 16 px a line).
inline void layoutFixed(TTree_Node& root) {
    TFixed_Metrics_Canvas metrics;
    layoutSubtree(metrics, root);
}

// The view laid out with fixed metrics in a client area of the given size.
inline TView_Picture showFixed(TTree_Node& root, int32_t width = 0, int32_t height = 0) {
    TFixed_Metrics_Canvas metrics;
    TView_Picture picture;
    relayoutView(metrics, root, width, height, picture);
    return picture;
}

struct TRandom_Tree_Shape {
    int32_t nodes = 60;
    int32_t maxDepth = 6;
    bool staleCache = true;  // fill layout caches with noise first
};

// The nodes of a subtree in pre-order; with `expandedOnly`, only those shown.
inline std::vector<TTree_Node*> preorderNodes(TTree_Node& root, bool expandedOnly = false) {
    std::vector<TTree_Node*> out;
    std::vector<TTree_Node*> pending{&root};
    while (!pending.empty()) {
        TTree_Node* node = pending.back();
        pending.pop_back();
        out.push_back(node);
        if (!expandedOnly || node->Expanded)
            for (int32_t i = node->childCount(); i-- > 0;) pending.push_back(node->child(i));
    }
    return out;
}

// Every layout cache value and used style of one node, as text, so that two
// layouts compare field by field with a readable difference; `own` is the
// node's own anchor as its layout places it.
inline std::string describeLayout(const TTree_Node& n, std::optional<TNode_Point> own = {}) {
    const TLayout_Cache& c = n.Layout;
    const TNode_Rect marker = markerRect(n), link = linkRect(n);
    const TNode_Point anchor = own.value_or(ownAnchor(n));
    std::string out;
    // clang-format off
    for (int32_t value : {marker.x, marker.y, marker.width, marker.height,
                          c.Text_Rect.x, c.Text_Rect.y, c.Text_Rect.width, c.Text_Rect.height,
                          link.x, link.y, link.width, link.height,
                          c.Box_Offset.x, c.Box_Offset.y, c.Box_Width, c.Box_Height,
                          c.Block_Pos.x, c.Block_Pos.y, c.Block_Width, c.Block_Height,
                          c.Parent_Anchor.x, c.Parent_Anchor.y, anchor.x, anchor.y,
                          n.View_Style_Used, n.Link_Style_Used, n.Depth, n.Font_Size})
        // clang-format on
        out += std::to_string(value) + " ";
    return out;
}

// describeLayout of every node of a subtree, hidden ones too, in pre-order.
inline std::vector<std::string> layoutSnapshot(TTree_Node& root) {
    std::vector<std::string> out;
    for (TTree_Node* node : preorderNodes(root)) out.push_back(describeLayout(*node));
    return out;
}

// A tree of random styles, captions (with two-byte characters), links,
// collapsed nodes and stale layout caches; the same seed gives the same tree.
inline std::unique_ptr<TTree_Node> randomTree(uint32_t seed, TRandom_Tree_Shape shape = {}) {
    std::mt19937 random(seed);
    auto pick = [&](int32_t below) {
        return static_cast<int32_t>(random() % static_cast<uint32_t>(below));
    };
    auto fill = [&](TTree_Node& node) {
        std::string caption;
        const int32_t length = pick(26);
        while (static_cast<int32_t>(caption.size()) < length) {
            const bool wide = pick(4) == 0;  // two bytes
            caption += static_cast<char>(wide ? 0xB0 + pick(20) : 'a' + pick(26));
            if (wide) caption += static_cast<char>(0xA1 + pick(90));
        }
        node.setCaption(caption);
        node.View_Style = pick(3) == 0 ? pick(9) : 0;  // 8 is an unknown code
        node.View_Style_Used = node.View_Style;
        node.Link_Style = pick(3) == 0 ? pick(5) : 0;
        node.Link_Style_Used = node.Link_Style;
        node.Edge_Style = pick(6);
        node.Edge_Width = pick(6);
        if (pick(5) == 0) node.setLink("http://example.org/x");
        node.Expanded = pick(6) == 0 ? 0 : 1;
        node.Link_Up_Width = pick(3);
        node.Link_Down_Width = pick(3);
        if (shape.staleCache) {
            TLayout_Cache& c = node.Layout;
            c.Box_Offset = {pick(50), pick(50)};
            c.Block_Pos = {pick(50) - 25, pick(50) - 25};
            c.Parent_Anchor = {pick(9), pick(9)};
            c.Block_Width = pick(99);
        }
    };
    auto root = std::make_unique<TTree_Node>();
    fill(*root);
    struct TSlot {
        TTree_Node* node;
        int32_t depth;
    };
    std::vector<TSlot> open{{root.get(), 1}};
    for (int32_t made = 1; made < shape.nodes;) {
        TSlot slot = open[pick(static_cast<int32_t>(open.size()))];
        if (slot.depth >= shape.maxDepth) continue;
        TTree_Node* child = slot.node->appendChild(std::make_unique<TTree_Node>());
        fill(*child);
        open.push_back({child, slot.depth + 1});
        ++made;
    }
    return root;
}

}  // namespace vetra::testing
