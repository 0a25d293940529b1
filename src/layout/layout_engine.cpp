#include "layout/layout_engine.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "layout/node_measure.h"
#include "layout/style_codes.h"
#include "layout/tree_main_split.h"

namespace vetra {

void setDepthAndFontSize(TTree_Node& node, int32_t depth) {
    struct TPending {
        TTree_Node* node;
        int32_t depth;
    };
    std::vector<TPending> pending{{&node, depth}};
    while (!pending.empty()) {
        TPending at = pending.back();
        pending.pop_back();
        at.node->Depth = at.depth;
        at.node->Font_Size = fontSizeForDepth(at.depth);
        for (TTree_Node* child : at.node->Children) pending.push_back({child, at.depth + 1});
    }
}

TNode_Point absolutePosition(const TTree_Node& node) {
    int64_t x = 0, y = 0;
    for (const TTree_Node* at = &node; at != nullptr; at = at->Parent) {
        x += int64_t{at->Layout.Box_Offset.x} + at->Layout.Block_Pos.x;
        y += int64_t{at->Layout.Box_Offset.y} + at->Layout.Block_Pos.y;
    }
    return {clampExtent(x), clampExtent(y)};
}

TNode_Point geometricAnchor(const TTree_Node& child) {
    const TLayout_Cache& c = child.Layout;
    const int32_t w = c.Box_Width, h = c.Box_Height;
    // Positions relative to the parent's box: the parent's own place cancels.
    const int64_t boxX = int64_t{c.Block_Pos.x} + c.Box_Offset.x;
    const int64_t boxY = int64_t{c.Block_Pos.y} + c.Box_Offset.y;
    const bool underline = child.Edge_Style == kEdge_Underline;
    if (c.Parent_Anchor.x < boxX) {
        if (underline) return {c.Text_Rect.x, h - 2 - lineWidthUsed(child.Edge_Width)};
        return {0, h / 2};
    }
    if (boxX + w < c.Parent_Anchor.x) {
        if (underline)
            return {c.Text_Rect.x + c.Text_Rect.width, h - 2 - lineWidthUsed(child.Edge_Width)};
        return {w, h / 2};
    }
    if (c.Parent_Anchor.y < boxY) return {w / 2, 0};
    return {w / 2, h};
}

TNode_Point ownAnchor(const TTree_Node& node) {
    if (node.Parent == nullptr) return {};
    const int32_t w = node.Layout.Box_Width, h = node.Layout.Box_Height;
    const int32_t style = node.View_Style_Used;
    const int32_t parentStyle = node.Parent->View_Style_Used;
    if (style == kView_Stru_Up && parentStyle == kView_Stru_Up) return {w / 2, h};
    if (style == kView_Stru_Down && parentStyle == kView_Stru_Down) return {w / 2, 0};
    return geometricAnchor(node);
}

namespace {

// One visible node while its subtree is laid out. The items stand in
// pre-order in one array: the children of item i are i + 1, then each next
// child one span further. Sizes and places are worked out on this small array
// and written to the nodes once at the end, so a layout reads and writes each
// node twice, in document order, however the engines nest.
struct TLayout_Item {
    TTree_Node* node = nullptr;
    int32_t span = 1;        // items in the subtree, this one included
    int32_t childCount = 0;  // placed children: 0 when collapsed
    int32_t boxWidth = 0;
    int32_t boxHeight = 0;
    int32_t blockWidth = 0;
    int32_t blockHeight = 0;
    int32_t mainLeft = 0;   // Tree_Main: the left group's width and bulge
    int32_t leftCount = 0;  // Tree_Main: children in the left group
    TNode_Point boxOffset;
    TNode_Point blockPos;
    TNode_Point parentAnchor;
    int8_t style = kView_Tree_Main;  // View_Style_Used, 1..7
    bool ownStyle = false;           // View_Style set: the parent's engine leaves it
    // An unchanged subtree of an incremental layout: one item whose box,
    // block and box offset come from the node's cache, its inside untouched.
    bool summary = false;
    int8_t cachedStyle = 0;  // View_Style_Used before this layout, for a summary
};

// Scratch kept between layouts, so that a repaint does not fault in fresh
// pages for its working arrays.
struct TLayout_Scratch {
    // Past this many items (some 5 MB) a layout's array is given back: a
    // huge tree's full layout is rare and costs far more than the faults,
    // while keeping its array would hold some 70 bytes per node for good.
    static constexpr size_t kKept_Items = size_t{1} << 16;
    std::vector<TLayout_Item> items;
    std::vector<int32_t> widths, heights;
    void release() {
        if (items.capacity() > kKept_Items) std::vector<TLayout_Item>().swap(items);
        if (widths.capacity() > kKept_Items) std::vector<int32_t>().swap(widths);
        if (heights.capacity() > kKept_Items) std::vector<int32_t>().swap(heights);
    }
};

TLayout_Scratch& scratch() {
    static thread_local TLayout_Scratch kept;
    return kept;
}

struct TPending {
    TTree_Node* node;
    int32_t depth;
    int32_t childCode;  // the style an Auto node gets from its parent's engine
    bool fresh;         // inside a changed subtree: laid out whole
};

// Reads the visible nodes in pre-order into `items` and measures them. Sets
// depths and caption sizes (view roots), resolves link styles and gives each
// item the style it is sized with: an Auto child of Tree_Main is sized as
// Tree_Right (Tree_Left gives the same sizes; the left group is settled while
// placing). Hidden branches of a view root get their depths and sizes too.
// With a scope, only changed subtrees and the path down to them are read
// node by node; every other visible subtree becomes one summary item. With
// `measured` the nodes keep the box measures they have.
void gatherAndMeasure(TCanvas& canvas, TTree_Node& root, bool isViewRoot,
                      TText_Measure_Cache* cache, const TLayout_Scope* scope,
                      std::vector<TLayout_Item>& items, bool measured = false) {
    items.clear();
    std::vector<TPending> pending{{&root, 1, 0, scope == nullptr}};
    while (!pending.empty()) {
        const TPending at = pending.back();
        pending.pop_back();
        TTree_Node& node = *at.node;
        TLayout_Item item;
        item.node = &node;
        bool fresh = at.fresh;
        if (!fresh && scope != nullptr) {  // without a scope every item is fresh
            fresh = scope->isChanged(&node);
            item.summary = !fresh && !scope->isOnPath(&node);
        }
        item.ownStyle = node.View_Style != kView_Auto;
        if (at.childCode != 0 && !item.ownStyle)
            item.style = static_cast<int8_t>(at.childCode);
        else if (isViewRoot && &node == &root && !item.ownStyle)
            item.style = kView_Tree_Main;
        else
            item.style = static_cast<int8_t>(engineCode(node.View_Style_Used));
        if (isViewRoot) {
            storeIfChanged(node.Depth, at.depth);
            storeIfChanged(node.Font_Size, fontSizeForDepth(at.depth));
        }
        if (node.Link_Style == kLink_Auto)
            storeIfChanged(node.Link_Style_Used, defaultLinkStyle(item.style));
        if (item.summary) {
            const TLayout_Cache& cached = node.Layout;
            item.cachedStyle = static_cast<int8_t>(node.View_Style_Used);
            item.boxWidth = cached.Box_Width;
            item.boxHeight = cached.Box_Height;
            item.blockWidth = cached.Block_Width;
            item.blockHeight = cached.Block_Height;
            item.boxOffset = cached.Box_Offset;
            items.push_back(item);
            continue;
        }
        const int32_t count = node.childCount();
        if (node.Expanded && count > 0) {
            item.childCount = count;
            const int32_t childCode =
                item.style == kView_Tree_Main ? int32_t{kView_Tree_Right} : item.style;
            for (int32_t i = count; i-- > 0;)
                pending.push_back({node.child(i), at.depth + 1, childCode, fresh});
        } else if (isViewRoot) {
            for (TTree_Node* child : node.Children) setDepthAndFontSize(*child, at.depth + 1);
        }
        if (!measured) measureNode(canvas, node, cache);
        item.boxWidth = node.Layout.Box_Width;
        item.boxHeight = node.Layout.Box_Height;
        items.push_back(item);
    }
}

// Sizing, from the leaves up: each item's block from its children's blocks.
void sizeBlocks(TLayout_Scratch& work) {
    std::vector<TLayout_Item>& items = work.items;
    for (size_t at = items.size(); at-- > 0;) {
        TLayout_Item& item = items[at];
        const int64_t w = item.boxWidth, h = item.boxHeight;
        if (item.childCount == 0) {
            item.span = 1;
            if (item.summary) continue;
            item.blockWidth = item.boxWidth;
            item.blockHeight = item.boxHeight;
            continue;
        }
        size_t child = at + 1;
        if (item.style == kView_Tree_Main) {
            work.widths.clear();
            work.heights.clear();
            for (int32_t i = 0; i < item.childCount; ++i) {
                work.widths.push_back(items[child].blockWidth);
                work.heights.push_back(items[child].blockHeight);
                child += items[child].span;
            }
            const TMain_Split split =
                splitTreeMain(work.widths.data(), work.heights.data(), item.childCount, h);
            item.leftCount = split.leftCount;
            item.mainLeft = clampExtent(split.leftWidth + split.leftBulge);
            item.blockWidth = clampExtent(split.leftWidth + w + split.rightWidth + split.leftBulge +
                                          split.rightBulge);
            item.blockHeight = clampExtent(split.height);
            item.span = static_cast<int32_t>(child - at);
            continue;
        }
        const bool stacksRows = item.style == kView_Stru_Up || item.style == kView_Stru_Down;
        int64_t sum = 0, most = 0;
        for (int32_t i = 0; i < item.childCount; ++i) {
            const TLayout_Item& c = items[child];
            sum += stacksRows ? c.blockWidth : c.blockHeight;
            most = std::max<int64_t>(most, stacksRows ? c.blockHeight : c.blockWidth);
            child += c.span;
        }
        item.span = static_cast<int32_t>(child - at);
        int64_t width = w, height = h;
        switch (item.style) {
            case kView_Tree_Left:
            case kView_Tree_Right:
                width = most >= 1 ? w + most + 30 : w;
                height = std::max(h, sum);
                break;
            case kView_List_Left:
            case kView_List_Right:
                width = w / 2 + std::max(w / 2, most);
                height = sum > 0 ? h + sum + 5 : h;
                break;
            default:  // the two row engines
                width = std::max(w, sum);
                height = most >= 1 ? h + most + 20 : h;
                break;
        }
        item.blockWidth = clampExtent(width);
        item.blockHeight = clampExtent(height);
    }
}

TNode_Point boxOffset(const TLayout_Item& item) {
    const int32_t w = item.boxWidth, h = item.boxHeight;
    const int32_t bw = item.blockWidth, bh = item.blockHeight;
    switch (item.style) {
        case kView_Tree_Left:
            return {bw - w, (bh - h) / 2};
        case kView_Tree_Right:
            return {0, (bh - h) / 2};
        case kView_List_Left:
            return {bw - w, 0};
        case kView_List_Right:
            return {0, 0};
        case kView_Stru_Up:
            return {(bw - w) / 2, bh - h};
        case kView_Stru_Down:
            return {(bw - w) / 2, 0};
        default:
            return {item.mainLeft, (bh - h) / 2};
    }
}

// Places the children of a Tree_Main item: the left group stacked on the
// left, the rest on the right, both from the same top, bulging outward.
void placeMainChildren(std::vector<TLayout_Item>& items, size_t at) {
    const TLayout_Item& item = items[at];
    const int64_t w = item.boxWidth, h = item.boxHeight;
    const int32_t count = item.childCount, leftCount = item.leftCount;
    const int64_t top = h + item.boxOffset.y - item.blockHeight;
    int64_t leftY = top, rightY = top;
    size_t child = at + 1;
    for (int32_t i = 0; i < count; ++i) {
        TLayout_Item& c = items[child];
        child += c.span;
        const bool left = i < leftCount;
        if (!c.ownStyle) c.style = left ? kView_Tree_Left : kView_Tree_Right;
        if (left) {
            const int64_t bulge = mainBulge(leftCount, i);
            c.parentAnchor = {-5, static_cast<int32_t>(h / 2)};
            c.blockPos = {clampExtent(-30 - bulge - c.blockWidth), clampExtent(leftY)};
            leftY += c.blockHeight;
        } else {
            const int64_t bulge = mainBulge(count - leftCount, i - leftCount);
            c.parentAnchor = {static_cast<int32_t>(w + 5), static_cast<int32_t>(h / 2)};
            c.blockPos = {clampExtent(w + 30 + bulge), clampExtent(rightY)};
            rightY += c.blockHeight;
        }
    }
}

// Placing, from the top down: each item's box in its block, then its
// children's blocks, anchors on its side and final styles.
void placeBlocks(std::vector<TLayout_Item>& items) {
    for (size_t at = 0; at < items.size(); ++at) {
        TLayout_Item& item = items[at];
        if (!item.summary) item.boxOffset = boxOffset(item);
        if (item.childCount == 0) continue;
        if (item.style == kView_Tree_Main) {
            placeMainChildren(items, at);
            continue;
        }
        const int32_t style = item.style;
        const int64_t w = item.boxWidth, h = item.boxHeight;
        int64_t cursor = 0;
        if (style == kView_Tree_Left || style == kView_Tree_Right)
            cursor = h + item.boxOffset.y - item.blockHeight;
        else if (style == kView_List_Left || style == kView_List_Right)
            cursor = h + 5;
        else
            cursor = w + item.boxOffset.x - item.blockWidth;
        size_t child = at + 1;
        for (int32_t i = 0; i < item.childCount; ++i) {
            TLayout_Item& c = items[child];
            child += c.span;
            if (!c.ownStyle) c.style = item.style;
            const int32_t y = clampExtent(cursor);
            switch (style) {
                case kView_Tree_Left:
                    c.parentAnchor = {-5, static_cast<int32_t>(h / 2)};
                    c.blockPos = {clampExtent(-30 - int64_t{c.blockWidth}), y};
                    cursor += c.blockHeight;
                    break;
                case kView_Tree_Right:
                    c.parentAnchor = {static_cast<int32_t>(w + 5), static_cast<int32_t>(h / 2)};
                    c.blockPos = {clampExtent(w + 30), y};
                    cursor += c.blockHeight;
                    break;
                case kView_List_Left:
                    c.parentAnchor = {static_cast<int32_t>(w / 2 + 10),
                                      static_cast<int32_t>(h + 5)};
                    c.blockPos = {clampExtent(w / 2 - c.blockWidth), y};
                    cursor += c.blockHeight;
                    break;
                case kView_List_Right:
                    c.parentAnchor = {static_cast<int32_t>(w / 2 - 10),
                                      static_cast<int32_t>(h + 5)};
                    c.blockPos = {static_cast<int32_t>(w / 2), y};
                    cursor += c.blockHeight;
                    break;
                case kView_Stru_Up:
                    c.parentAnchor = {static_cast<int32_t>(w / 2), -5};
                    c.blockPos = {y, clampExtent(-20 - int64_t{c.blockHeight})};
                    cursor += c.blockWidth;
                    break;
                default:
                    c.parentAnchor = {static_cast<int32_t>(w / 2), static_cast<int32_t>(h + 5)};
                    c.blockPos = {y, clampExtent(h + 20)};
                    cursor += c.blockWidth;
                    break;
            }
        }
    }
}

// Writes the results to the nodes. The layout's root keeps its Block_Pos and
// Parent_Anchor, which belong to whoever placed it.
void writeResults(const std::vector<TLayout_Item>& items) {
    constexpr size_t kAhead = 16;
    for (size_t at = 0; at < items.size(); ++at) {
        if (at + kAhead < items.size()) {
            const TTree_Node& ahead = *items[at + kAhead].node;
            __builtin_prefetch(&ahead.View_Style_Used);
            __builtin_prefetch(&ahead.Layout.Box_Offset);
            __builtin_prefetch(&ahead.Layout.Parent_Anchor);
        }
        const TLayout_Item& item = items[at];
        TTree_Node& node = *item.node;
        TLayout_Cache& cache = node.Layout;
        storeIfChanged(node.View_Style_Used, int32_t{item.style});
        storeIfChanged(cache.Box_Offset, item.boxOffset);
        storeIfChanged(cache.Block_Width, item.blockWidth);
        storeIfChanged(cache.Block_Height, item.blockHeight);
        if (at == 0) continue;
        storeIfChanged(cache.Block_Pos, item.blockPos);
        storeIfChanged(cache.Parent_Anchor, item.parentAnchor);
    }
}

}  // namespace

void layoutSubtree(TCanvas& canvas, TTree_Node& root, TText_Measure_Cache* cache) {
    TLayout_Scratch& work = scratch();
    gatherAndMeasure(canvas, root, root.Parent == nullptr, cache, nullptr, work.items);
    sizeBlocks(work);
    placeBlocks(work.items);
    writeResults(work.items);
    work.release();
}

void layoutSubtreeInScope(TCanvas& canvas, TTree_Node& root, const TLayout_Scope& scope,
                          TText_Measure_Cache* cache) {
    TLayout_Scratch& work = scratch();
    gatherAndMeasure(canvas, root, root.Parent == nullptr, cache, &scope, work.items);
    sizeBlocks(work);
    placeBlocks(work.items);
    writeResults(work.items);
    // An unchanged subtree whose engine changed (an Auto child of Tree_Main
    // that moved to the other side) is laid out again inside with the
    // engine it now has. The items go first: the scratch is reused.
    std::vector<TTree_Node*> restyled;
    for (const TLayout_Item& item : work.items)
        if (item.summary && item.style != item.cachedStyle) restyled.push_back(item.node);
    work.release();
    // Boxes do not depend on the engine, and nothing inside these subtrees
    // changed: their nodes keep their measures and are only placed again.
    for (TTree_Node* node : restyled) {
        gatherAndMeasure(canvas, *node, false, cache, nullptr, work.items, true);
        sizeBlocks(work);
        placeBlocks(work.items);
        writeResults(work.items);
        work.release();
    }
}

}  // namespace vetra
