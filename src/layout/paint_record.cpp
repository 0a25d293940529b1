#include "layout/paint_record.h"

#include <cstring>
#include <string_view>
#include <type_traits>

#include "layout/layout_engine.h"
#include "layout/visible_walk.h"

namespace vetra {

namespace {

// Mixes eight bytes at a time: every painted node is digested on each
// paint and each edit, so a byte-at-a-time hash would cost a visible part
// of a repaint.
struct TDigest {
    uint64_t value = 0xCBF29CE484222325ull;
    void word(uint64_t w) {
        value = (value ^ w) * 0x9E3779B97F4A7C15ull;
        value ^= value >> 29;
    }
    void bytes(const void* data, size_t size) {
        const auto* at = static_cast<const unsigned char*>(data);
        for (; size >= 8; at += 8, size -= 8) {
            uint64_t w;
            std::memcpy(&w, at, 8);
            word(w);
        }
        uint64_t tail = 0;
        if (size > 0) std::memcpy(&tail, at, size);
        word(tail);
    }
    void number(int64_t n) { word(static_cast<uint64_t>(n)); }
    void text(std::string_view t) {
        number(static_cast<int64_t>(t.size()));
        bytes(t.data(), t.size());
    }
};

static_assert(std::has_unique_object_representations_v<TLayout_Cache>,
              "the layout cache is digested byte by byte");

}  // namespace

uint64_t nodeDrawingDigest(const TTree_Node& node, TNode_Point at) {
    TDigest d;
    d.number(at.x);
    d.number(at.y);
    d.bytes(&node.Layout, sizeof node.Layout);
    for (int64_t field :
         {int64_t{node.Edge_Width}, int64_t{node.Edge_Style}, int64_t{node.Color_Edge},
          int64_t{node.Color_Fill}, int64_t{node.Color_Caption}, int64_t{node.Font_Size},
          int64_t{node.Font_Style}, int64_t{node.Link_Up_Width}, int64_t{node.Color_Link_Up},
          int64_t{node.View_Style_Used}, int64_t{node.Link_Style_Used}, int64_t{node.Expanded},
          int64_t{node.hasChildren()}, int64_t{node.selected()},
          int64_t{node.Link.isPresent() && !node.Link.isEmpty()}})
        d.number(field);
    d.text(node.fontName());
    d.text(node.Caption.view());
    // The connector takes its width, colour and shape from the parent.
    if (const TTree_Node* parent = node.Parent) {
        for (int64_t field : {int64_t{parent->Link_Down_Width}, int64_t{parent->Color_Link_Down},
                              int64_t{parent->View_Style_Used}, int64_t{parent->Link_Style_Used}})
            d.number(field);
    } else {
        d.number(-1);
    }
    return d.value;
}

TPicture_Rect nodeDrawingArea(const TTree_Node& node, TNode_Point at) {
    int64_t left = at.x, top = at.y;
    int64_t right = left + node.Layout.Box_Width, bottom = top + node.Layout.Box_Height;
    if (node.Parent != nullptr) {
        const TLayout_Cache& c = node.Layout;
        const int64_t parentX = int64_t{at.x} - c.Box_Offset.x - c.Block_Pos.x;
        const int64_t parentY = int64_t{at.y} - c.Box_Offset.y - c.Block_Pos.y;
        const TNode_Point ownEnd = ownAnchor(node);
        for (auto [x, y] : {std::pair{int64_t{at.x} + ownEnd.x, int64_t{at.y} + ownEnd.y},
                            std::pair{parentX + c.Parent_Anchor.x, parentY + c.Parent_Anchor.y}}) {
            left = std::min(left, x);
            top = std::min(top, y);
            right = std::max(right, x);
            bottom = std::max(bottom, y);
        }
    }
    return {clampExtent(left - kOverhang), clampExtent(top - kOverhang),
            clampExtent(right + kOverhang), clampExtent(bottom + kOverhang)};
}

void TPaint_Record::beginPaint(uint64_t scene, bool whole) {
    if (whole) {
        Entries_.clear();
        Valid_ = true;
    }
    Scene_ = scene;
}

void TPaint_Record::notePainted(const TTree_Node& node, TNode_Point at) {
    TEntry& entry = Entries_[&node];
    entry.digest = nodeDrawingDigest(node, at);
    entry.covers = nodeDrawingArea(node, at);
}

void TPaint_Record::clear() {
    Entries_.clear();
    Valid_ = false;
}

bool TPaint_Record::changedSince(TTree_Node& root, const TPicture_Rect& visible, uint64_t scene,
                                 std::vector<TPicture_Rect>& out) {
    out.clear();
    if (!Valid_ || scene != Scene_) return false;
    ++Round_;
    forEachNodeIn(root, visible, [&](TTree_Node& node, TNode_Point at) {
        auto found = Entries_.find(&node);
        if (found == Entries_.end()) {
            out.push_back(nodeDrawingArea(node, at));
            return;
        }
        found->second.seen = Round_;
        if (found->second.digest == nodeDrawingDigest(node, at)) return;
        out.push_back(found->second.covers);
        out.push_back(nodeDrawingArea(node, at));
    });
    // Drawn before, not drawn now: deleted, hidden, or moved out of view.
    for (const auto& [node, entry] : Entries_) {
        const TPicture_Rect& r = entry.covers;
        if (entry.seen != Round_ && visible.meets(r.left, r.top, r.right, r.bottom))
            out.push_back(r);
    }
    return true;
}

}  // namespace vetra
