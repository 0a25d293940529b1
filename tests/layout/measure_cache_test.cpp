#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>

#include "layout/fixed_metrics_canvas.h"
#include "layout/hit_test.h"
#include "layout/layout_engine.h"
#include "layout/node_measure.h"
#include "layout/text_measure_cache.h"
#include "layout/tree_builder.h"

namespace vetra {
namespace {

using testing::addChild;
using testing::makeNode;

// Metrics that depend on everything a caption's size depends on: face,
// points, flags and every byte, so that a size served for the wrong key shows.
class TFont_Metrics_Canvas : public TFixed_Metrics_Canvas {
  public:
    void setFont(std::string_view face, int32_t points, int32_t flags) override {
        Face_ = static_cast<int32_t>(face.size());
        Points_ = points;
        Flags_ = flags;
    }
    int32_t textWidth(std::string_view text) override {
        int32_t sum = 0;
        for (unsigned char byte : text) sum += 1 + byte % 7;
        return sum * Points_ + Flags_ * 1000 + Face_ * 100000;
    }
    int32_t textHeight(std::string_view) override { return Points_ + Flags_; }

  private:
    int32_t Face_ = 0, Points_ = 0, Flags_ = 0;
};

// Pairs of nodes whose keys differ in one thing: measured through one cache,
// the second gets its own size, not the first one's.
TEST(MeasureCache, KeysDifferingInOneThingGetTheirOwnSizes) {
    const struct {
        const char* name;
        std::function<void(TTree_Node&)> change;
    } cases[] = {
        {"points", [](TTree_Node& n) { n.Font_Size = 13; }},
        {"bold", [](TTree_Node& n) { n.Font_Style = 1; }},
        {"italic", [](TTree_Node& n) { n.Font_Style = 2; }},
        {"underline", [](TTree_Node& n) { n.Font_Style = 4; }},
        {"face", [](TTree_Node& n) { n.setFontName("Noto Sans"); }},
        {"last byte", [](TTree_Node& n) { n.setCaption("caption texu"); }},
        {"first byte", [](TTree_Node& n) { n.setCaption("daption text"); }},
        {"one byte longer", [](TTree_Node& n) { n.setCaption("caption text "); }},
        {"empty", [](TTree_Node& n) { n.setCaption(""); }},
        {"eight bytes, one chunk of the hash", [](TTree_Node& n) { n.setCaption("abcdefgh"); }},
        {"two-byte text", [](TTree_Node& n) { n.setCaption("\xB9\xFD\xB3\xCC"); }},
    };
    for (const auto& c : cases) {
        TFont_Metrics_Canvas canvas;
        TText_Measure_Cache cache;
        auto parent = makeNode("parent");
        TTree_Node* first = addChild(*parent, "caption text");
        TTree_Node* second = addChild(*parent, "caption text");
        first->Font_Size = second->Font_Size = 10;
        c.change(*second);
        const TText_Size firstSize = cache.captionSize(canvas, *first);
        EXPECT_EQ(cache.captionSize(canvas, *second), measureCaption(canvas, *second)) << c.name;
        EXPECT_EQ(cache.captionSize(canvas, *first), firstSize) << c.name;
        EXPECT_EQ(cache.misses(), 2u) << c.name;
    }
}

TEST(MeasureCache, VeryLongCaptionsAreMeasuredEveryTime) {
    TFont_Metrics_Canvas canvas;
    TText_Measure_Cache cache;
    auto parent = makeNode("p");
    TTree_Node* node =
        addChild(*parent, std::string(TText_Measure_Cache::kMax_Cached_Caption + 1, 'x'));
    const TText_Size size = cache.captionSize(canvas, *node);
    EXPECT_EQ(cache.captionSize(canvas, *node), size);
    EXPECT_EQ(cache.misses(), 2u);
    EXPECT_EQ(cache.size(), 0u);
}

std::vector<TLayout_Cache> layoutsOf(TTree_Node& root) {
    std::vector<TLayout_Cache> out;
    forEachVisible(root, [&](TTree_Node& node) { out.push_back(node.Layout); });
    return out;
}

// One cache carried through a series of edits (captions changed, nodes
// inserted, deleted and moved, branches collapsed and expanded) gives, after
// every edit, exactly the layout of measuring everything afresh; and a
// re-layout with nothing changed measures nothing. The trees are large enough
// to grow the table several times and full of repeated captions.
TEST(MeasureCache, CachedLayoutsEqualFreshOnesThroughEdits) {
    TFont_Metrics_Canvas canvas;
    for (uint32_t seed = 1; seed <= 3; ++seed) {
        auto root = testing::randomTree(seed, {.nodes = 2000, .maxDepth = 12, .staleCache = false});
        std::mt19937 random(seed);
        auto pick = [&](size_t below) { return static_cast<size_t>(random() % below); };
        std::vector<TTree_Node*> all = testing::preorderNodes(*root);
        for (size_t i = 0; i < all.size(); ++i) {
            all[i]->Expanded = 1;
            if (i % 3 == 0) all[i]->setCaption("same");
        }
        TText_Measure_Cache cache;
        for (int edit = 0; edit < 40; ++edit) {
            TTree_Node* node = all[pick(all.size())];
            const int kind = edit % 5;  // caption, insert, erase a leaf, move up, collapse
            if (kind == 0) node->setCaption("edit " + std::to_string(edit));
            if (kind == 1) all.push_back(addChild(*node, "inserted"));
            if (kind == 2 && node->Parent != nullptr && !node->hasChildren()) {
                std::erase(all, node);
                node->Parent->removeChild(node);  // the returned owner frees it
            }
            if (kind == 3 && node->Parent != nullptr) node->Parent->moveChildUp(node);
            if (kind == 4) node->Expanded = node->Expanded ? 0 : 1;
            layoutSubtree(canvas, *root, &cache);
            const std::vector<TLayout_Cache> cached = layoutsOf(*root);
            layoutSubtree(canvas, *root);
            ASSERT_EQ(cached, layoutsOf(*root)) << "seed " << seed << " edit " << edit;
            const size_t misses = cache.misses();
            layoutSubtree(canvas, *root, &cache);
            ASSERT_EQ(cache.misses(), misses) << "seed " << seed << " edit " << edit;
        }
        EXPECT_GT(cache.size(), 1000u);
    }
}

}  // namespace
}  // namespace vetra
