// The incremental layout against the full one: two copies of a random tree
// take the same random edits; one is laid out after each edit from the
// changed nodes only, the other whole. Every cached value of every node (the
// hidden ones too) and the picture size must agree after every edit.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "layout/fixed_metrics_canvas.h"
#include "layout/incremental_layout.h"
#include "layout/tree_builder.h"
#include "layout/view_paint.h"

namespace vetra {
namespace {

// One document shown in one view at a time, as a document window holds it.
struct TDocument {
    std::unique_ptr<TTree_Node> root;
    TTree_Node* viewRoot = nullptr;
    TTree_Node* savedParent = nullptr;  // of the view root while it is shown
    TView_Picture picture;
    TLayout_Changes changes;
};

using D = TDocument;
using N = TTree_Node;
// The random edits: document, node, other node, value. Each returns the node
// to relayout from (nullptr: none, or already listed).
N* (*const edits[])(D&, N*, N*, uint32_t) = {
    [](D&, N* n, N*, uint32_t v) -> N* {
        n->setCaption(std::string(v % 20, 'a') + "\xB9\xFD" + std::to_string(v));
        return n;
    },
    // Children come, go and move: the parents' lists of children are listed,
    // or (one insert in two) the parent as changed.
    [](D& d, N* n, N*, uint32_t v) -> N* {
        auto child = std::make_unique<TTree_Node>();
        child->setCaption(std::string(1 + v % 9, 'n'));
        if (v % 3 == 0) child->setViewStyle(int32_t(v % 8));
        if (v % 2 == 0) d.changes.addChildList(n);
        n->insertChild(std::move(child), int32_t(v % (n->childCount() + 1)));
        n->Expanded = 1;  // as the Insert command does
        return v % 2 == 0 ? nullptr : n;
    },
    [](D& d, N* n, N*, uint32_t) -> N* {
        if (n == d.viewRoot) return nullptr;
        d.changes.addChildList(n->Parent);
        n->Parent->removeChild(n);  // freed here
        return nullptr;
    },
    [](D& d, N* n, N*, uint32_t) -> N* {
        if (n == d.viewRoot) return nullptr;
        d.changes.addChildList(n->Parent);
        return n->Parent->moveChildUp(n), nullptr;
    },
    [](D& d, N* n, N*, uint32_t) -> N* {
        if (n == d.viewRoot) return nullptr;
        d.changes.addChildList(n->Parent);
        return n->Parent->moveChildDown(n), nullptr;
    },
    [](D& d, N* n, N* other, uint32_t) -> N* {
        // Cut and paste: `n` goes under `other`, which is not inside it.
        if (n == d.viewRoot || isInSubtree(n, other)) return nullptr;
        d.changes.addChildList(n->Parent);
        d.changes.addChildList(other);
        other->appendChild(n->Parent->removeChild(n));
        return nullptr;
    },
    [](D&, N* n, N*, uint32_t v) -> N* {
        if (v % 4 == 0) return n->propagateViewStyle(int32_t(v % 8)), n;
        return n->setViewStyle(int32_t(v % 8)), n;
    },
    [](D&, N* n, N*, uint32_t v) -> N* { return n->setLinkStyle(int32_t(v % 5)), n; },
    [](D&, N* n, N*, uint32_t v) -> N* { return n->Edge_Style = int32_t(v % 6), n; },
    [](D&, N* n, N*, uint32_t v) -> N* { return n->Edge_Width = int32_t(v % 6), n; },
    [](D&, N* n, N*, uint32_t v) -> N* { return n->toggleFontStyle(1 << (v % 3)), n; },
    [](D&, N* n, N*, uint32_t) -> N* { return n->Expanded = !n->Expanded, n; },
    [](D& d, N* n, N*, uint32_t v) -> N* {
        // A sub-view of `n`, or back to the main view; a view that is shown is
        // laid out whole, as the window does.
        if (d.viewRoot != d.root.get()) d.viewRoot->Parent = d.savedParent;
        d.viewRoot = v % 3 == 0 ? d.root.get() : n;
        d.savedParent = d.viewRoot->Parent;
        d.changes.clear();
        return nullptr;
    },
};
constexpr size_t switchView = std::size(edits) - 1;

// Applies edit `edit` with choices drawn from `draws` to `doc`; the same
// draws give the same edit on an identical copy. Lists the changed nodes.
void applyEdit(TDocument& doc, size_t edit, const std::vector<uint32_t>& draws) {
    std::vector<TTree_Node*> nodes = testing::preorderNodes(*doc.viewRoot);
    TTree_Node* changed =
        edits[edit](doc, nodes[draws[0] % nodes.size()], nodes[draws[1] % nodes.size()], draws[2]);
    if (changed != nullptr) doc.changes.add(changed);
}

TEST(IncrementalLayout, EqualsTheFullLayoutAfterEveryRandomEdit) {
    TFixed_Metrics_Canvas canvas;
    int32_t done = 0;
    for (uint32_t seed = 1; seed <= 60; ++seed) {
        testing::TRandom_Tree_Shape shape;
        shape.nodes = 10 + int32_t(seed % 50);
        shape.maxDepth = 2 + int32_t(seed % 5);
        TDocument full, incremental;
        for (TDocument* doc : {&full, &incremental}) {
            doc->root = testing::randomTree(seed, shape);
            doc->viewRoot = doc->root.get();
            relayoutView(canvas, *doc->viewRoot, 300, 200, doc->picture);
        }
        std::mt19937 random(seed);
        for (int step = 0; step < 40; ++step, ++done) {
            const size_t edit = random() % std::size(edits);
            const std::vector<uint32_t> draws{uint32_t(random()), uint32_t(random()),
                                              uint32_t(random())};
            for (TDocument* doc : {&full, &incremental}) applyEdit(*doc, edit, draws);
            full.changes.clear();
            relayoutView(canvas, *full.viewRoot, 300, 200, full.picture);
            if (edit == switchView)
                relayoutView(canvas, *incremental.viewRoot, 300, 200, incremental.picture);
            else
                relayoutViewChanged(canvas, *incremental.viewRoot, incremental.changes, 300, 200,
                                    incremental.picture);
            const std::string where = "seed " + std::to_string(seed) + " step " +
                                      std::to_string(step) + " edit " + std::to_string(int(edit));
            ASSERT_EQ(full.picture.Width, incremental.picture.Width) << where;
            ASSERT_EQ(full.picture.Height, incremental.picture.Height) << where;
            const auto want = testing::preorderNodes(*full.root);
            const auto got = testing::preorderNodes(*incremental.root);
            ASSERT_EQ(want.size(), got.size()) << where;
            for (size_t i = 0; i < want.size(); ++i)
                ASSERT_EQ(testing::describeLayout(*want[i]), testing::describeLayout(*got[i]))
                    << where << " node " << i;
        }
        for (TDocument* doc : {&full, &incremental})
            if (doc->viewRoot != doc->root.get()) doc->viewRoot->Parent = doc->savedParent;
    }
    EXPECT_EQ(done, 60 * 40);
}

}  // namespace
}  // namespace vetra
