// Undo through the real editing commands, laid out incrementally from the
// nodes the undo group names, must give what a full layout gives.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "layout/fixed_metrics_canvas.h"
#include "layout/incremental_layout.h"
#include "layout/tree_builder.h"
#include "layout/view_paint.h"
#include "model/undo_changes.h"
#include "tests/model/tree_fixture.h"

namespace vetra {
namespace {

using TFix = test::TEdit_Fixture;
using TNode = TTree_Node;
using TRand = std::mt19937;
// The editing commands a step picks from: fixture, selected node, other node.
void (*const commands[])(TFix&, TNode*, TNode*, TRand&) = {
    [](TFix& f, TNode*, TNode*, TRand&) { createChild(f.Ctx); },
    [](TFix& f, TNode*, TNode*, TRand&) { createParent(f.Ctx); },
    [](TFix& f, TNode*, TNode*, TRand&) { eraseParent(f.Ctx); },
    [](TFix& f, TNode*, TNode*, TRand&) { eraseSelection(f.Ctx); },
    [](TFix& f, TNode*, TNode* target, TRand&) {
        copySelection(f.Ctx);
        f.View.Root->clearSelection();
        target->setSelected(true);
        pasteClipboard(f.Ctx);
    },
    [](TFix& f, TNode*, TNode*, TRand&) { moveUp(f.Ctx); },
    [](TFix& f, TNode*, TNode* target, TRand&) {
        if (canDropOnto(f.Ctx, target)) dropOnto(f.Ctx, target);
    },
    [](TFix& f, TNode* node, TNode*, TRand& random) {
        recordContentChange(f.Doc, {node});
        node->setCaption(std::string(random() % 30, 'w'));
        node->setViewStyle(int32_t(random() % 8));
    },
    [](TFix& f, TNode*, TNode*, TRand&) { toggleExpanded(f.Ctx); },
};

TEST(UndoLayout, UndoLaidOutFromItsChangedNodesEqualsAFullLayout) {
    TFixed_Metrics_Canvas canvas;
    TView_Picture picture;
    int32_t undone = 0;
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        test::TEdit_Fixture f("r");
        testing::TRandom_Tree_Shape shape;
        shape.nodes = 15 + int32_t(seed % 40);
        f.Doc.Root = testing::randomTree(seed, shape);
        f.View.Root = f.Doc.root();
        std::mt19937 random(seed);
        relayoutView(canvas, *f.View.Root, 300, 200, picture);
        for (int step = 0; step < 40; ++step) {
            std::vector<TTree_Node*> shown = testing::preorderNodes(*f.View.Root, true);
            TTree_Node* node = shown[random() % shown.size()];
            TTree_Node* target = shown[random() % shown.size()];
            f.View.Root->clearSelection();
            node->setSelected(true);
            for (int i = 0; i < 4; ++i) f.Messages.Confirm_Answers.push_back(true);
            commands[random() % std::size(commands)](f, node, target, random);
            relayoutView(canvas, *f.View.Root, 300, 200, picture);
            if (random() % 3 != 0 || f.Doc.Undo.newest() == nullptr) continue;

            // The undo, and one time in two the redo after it, each laid out
            // from its changed nodes only, against a full layout.
            for (const bool redo : {false, true}) {
                if (redo && random() % 2 != 0) break;
                TUndo_Group* group = redo ? f.Doc.Undo.newestRedo() : f.Doc.Undo.newest();
                ASSERT_NE(group, nullptr);
                bool complete = false;
                std::vector<TTree_Node*> childLists;
                std::vector<TTree_Node*> changed =
                    nodesChangedByUndo(*group, complete, &childLists);
                TLayout_Changes changes;  // lists of children are taken before the change
                for (TTree_Node* at : childLists) changes.addChildList(at);
                ASSERT_TRUE(redo ? redoLastUndo(f.Ctx) : undoLastCommand(f.Ctx));
                if (!complete) {
                    relayoutView(canvas, *f.View.Root, 300, 200, picture);
                    continue;
                }
                for (TTree_Node* at : changed) changes.add(at);
                relayoutViewChanged(canvas, *f.View.Root, changes, 300, 200, picture);
                const std::vector<std::string> incremental = testing::layoutSnapshot(*f.Doc.root());
                const int32_t width = picture.Width, height = picture.Height;
                relayoutView(canvas, *f.View.Root, 300, 200, picture);
                ASSERT_EQ(testing::layoutSnapshot(*f.Doc.root()), incremental)
                    << "seed " << seed << " step " << step << (redo ? " redo" : " undo");
                ASSERT_EQ(picture.Width, width);
                ASSERT_EQ(picture.Height, height);
            }
            ++undone;
        }
    }
    EXPECT_GT(undone, 200);
}

}  // namespace
}  // namespace vetra
