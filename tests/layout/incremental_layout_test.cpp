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

enum class TEdit {
    Caption,
    Insert,
    Erase,
    MoveUp,
    MoveDown,
    MoveSubtree,
    ViewStyle,
    LinkStyle,
    EdgeStyle,
    EdgeWidth,
    FontStyle,
    Collapse,
    SwitchView,
    Count
};

// Applies edit `edit` with choices drawn from `pick` to `doc`; the same
// draws give the same edit on an identical copy. Lists the changed nodes.
void applyEdit(TDocument& doc, TEdit edit, const std::vector<uint32_t>& draws) {
    std::vector<TTree_Node*> nodes = testing::preorderNodes(*doc.viewRoot);
    TTree_Node* node = nodes[draws[0] % nodes.size()];
    TTree_Node* other = nodes[draws[1] % nodes.size()];
    const uint32_t value = draws[2];
    const bool isViewRoot = node == doc.viewRoot;
    switch (edit) {
        case TEdit::Caption:
            node->setCaption(std::string(value % 20, 'a') + "\xB9\xFD" + std::to_string(value));
            doc.changes.add(node);
            break;
        case TEdit::Insert: {
            auto child = std::make_unique<TTree_Node>();
            child->setCaption(std::string(1 + value % 9, 'n'));
            if (value % 3 == 0) child->setViewStyle(int32_t(value % 8));
            node->insertChild(std::move(child), int32_t(value % (node->childCount() + 1)));
            doc.changes.add(node);
            break;
        }
        case TEdit::Erase:
            if (isViewRoot) break;
            doc.changes.add(node->Parent);
            node->Parent->removeChild(node);  // freed here
            break;
        case TEdit::MoveUp:
        case TEdit::MoveDown:
            if (isViewRoot) break;
            if (edit == TEdit::MoveUp)
                node->Parent->moveChildUp(node);
            else
                node->Parent->moveChildDown(node);
            doc.changes.add(node->Parent);
            break;
        case TEdit::MoveSubtree: {
            // Cut and paste: `node` goes under `other`, which is not inside it.
            if (isViewRoot || isInSubtree(node, other)) break;
            doc.changes.add(node->Parent);
            doc.changes.add(other);
            other->appendChild(node->Parent->removeChild(node));
            break;
        }
        case TEdit::ViewStyle:
            if (value % 4 == 0)
                node->propagateViewStyle(int32_t(value % 8));
            else
                node->setViewStyle(int32_t(value % 8));
            doc.changes.add(node);
            break;
        case TEdit::LinkStyle:
            node->setLinkStyle(int32_t(value % 5));
            doc.changes.add(node);
            break;
        case TEdit::EdgeStyle:
            node->Edge_Style = int32_t(value % 6);
            doc.changes.add(node);
            break;
        case TEdit::EdgeWidth:
            node->Edge_Width = int32_t(value % 6);
            doc.changes.add(node);
            break;
        case TEdit::FontStyle:
            node->toggleFontStyle(1 << (value % 3));
            doc.changes.add(node);
            break;
        case TEdit::Collapse:
            node->Expanded = node->Expanded ? 0 : 1;
            doc.changes.add(node);
            break;
        case TEdit::SwitchView:
            // A sub-view of `node`, or back to the main view; a view that is
            // shown is laid out whole, as the window does.
            if (doc.viewRoot != doc.root.get()) doc.viewRoot->Parent = doc.savedParent;
            doc.viewRoot = value % 3 == 0 ? doc.root.get() : node;
            doc.savedParent = doc.viewRoot->Parent;
            doc.changes.clear();
            break;
        case TEdit::Count:
            break;
    }
}

TEST(IncrementalLayout, EqualsTheFullLayoutAfterEveryRandomEdit) {
    TFixed_Metrics_Canvas canvas;
    int32_t edits = 0;
    for (uint32_t seed = 1; seed <= 60; ++seed) {
        testing::TRandom_Tree_Shape shape;
        shape.nodes = 10 + int32_t(seed % 50);
        shape.maxDepth = 2 + int32_t(seed % 5);
        TDocument full, incremental;
        full.root = testing::randomTree(seed, shape);
        incremental.root = testing::randomTree(seed, shape);
        full.viewRoot = full.root.get();
        incremental.viewRoot = incremental.root.get();
        relayoutView(canvas, *full.viewRoot, 300, 200, full.picture);
        relayoutView(canvas, *incremental.viewRoot, 300, 200, incremental.picture);
        std::mt19937 random(seed);
        for (int step = 0; step < 40; ++step, ++edits) {
            const auto edit = static_cast<TEdit>(random() % uint32_t(TEdit::Count));
            const std::vector<uint32_t> draws{uint32_t(random()), uint32_t(random()),
                                              uint32_t(random())};
            applyEdit(full, edit, draws);
            applyEdit(incremental, edit, draws);
            full.changes.clear();
            relayoutView(canvas, *full.viewRoot, 300, 200, full.picture);
            if (edit == TEdit::SwitchView)
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
        if (full.viewRoot != full.root.get()) full.viewRoot->Parent = full.savedParent;
        if (incremental.viewRoot != incremental.root.get())
            incremental.viewRoot->Parent = incremental.savedParent;
    }
    EXPECT_EQ(edits, 60 * 40);
}

}  // namespace
}  // namespace vetra
