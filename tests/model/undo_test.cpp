#include <functional>

#include <gtest/gtest.h>

#include "model/selection.h"
#include "tests/model/tree_fixture.h"

namespace vetra::test {
namespace {

// Every command, run on a tree and then undone, leaves the very same node
// objects in the very same places, in the main view and in a sub-view; redo
// brings back the very same result, selection included, and undoes again.
TEST(Undo, TakesBackAndRedoesEveryCommandExactly) {
    const struct {
        const char* name;
        const char* subView;  // null for the main view
        std::vector<std::string_view> selected;
        std::function<bool(TEdit_Fixture&)> run;
        const char* changed;  // the tree after the command, before undo
    } cases[] = {
        // clang-format off
        {"create child", nullptr, {"a"}, [](auto& f) { return createChild(f.Ctx); }, nullptr},
        {"create parent of root", nullptr, {"r"}, [](auto& f) { return createParent(f.Ctx); }, nullptr},
        {"create parent of inner node", nullptr, {"x"}, [](auto& f) { return createParent(f.Ctx); }, nullptr},
        {"create parent of sub-view root", "a", {"a"}, [](auto& f) { return createParent(f.Ctx); }, nullptr},
        {"erase parent", nullptr, {"y"}, [](auto& f) { return eraseParent(f.Ctx); }, "r(a(x,y),b(c),d(y))"},
        {"erase parent of the root", "b", {"c"}, [](auto& f) { return eraseParent(f.Ctx); }, nullptr},
        {"erase parent (sub-view root)", "d", {"e"}, [](auto& f) { return eraseParent(f.Ctx); }, "r(a(x,y),b(c),e(y))"},
        {"erase three siblings", nullptr, {"a", "b", "d"}, [](auto& f) { return eraseSelection(f.Ctx); }, "r"},
        {"erase nested", nullptr, {"a", "x"}, [](auto& f) { return eraseSelection(f.Ctx); }, "r(b(c),d(e(y)))"},
        {"paste", nullptr, {"x"}, [](auto& f) { f.Clipboard.append(buildTree("p(q)")); f.Clipboard.append(buildTree("s")); return pasteClipboard(f.Ctx); }, "r(a(x(p(q),s),y),b(c),d(e(y)))"},
        {"drop two", nullptr, {"x", "c"}, [](auto& f) { return dropOnto(f.Ctx, f.node("e")); }, "r(a(y),b,d(e(y,x,c)))"},
        // clang-format on
    };
    for (const auto& c : cases) {
        TEdit_Fixture f("r(a(x,y),b(c),d(e(y)))");
        if (c.subView != nullptr) f.enterSubView(c.subView);
        f.select(c.selected);
        TTree_Node* viewRoot = f.View.Root;
        auto before = f.nodes();

        ASSERT_TRUE(c.run(f)) << c.name;
        if (c.changed != nullptr) {
            EXPECT_EQ(f.tree(), c.changed) << c.name;
        }
        EXPECT_EQ(f.Doc.Modified, 1) << c.name;
        TTree_Node* viewRootAfter = f.View.Root;
        std::vector<TTree_Node*> selectedAfter = selectedList(*f.View.Root);
        auto after = f.nodes();

        for (int round = 0; round < 2; ++round) {
            ASSERT_TRUE(undoLastCommand(f.Ctx)) << c.name;
            EXPECT_EQ(f.tree(), "r(a(x,y),b(c),d(e(y)))") << c.name;
            EXPECT_EQ(f.View.Root, viewRoot) << c.name;
            EXPECT_EQ(f.View.Root->Parent, nullptr) << c.name;
            EXPECT_EQ(f.nodes(), before) << c.name;
            EXPECT_EQ(f.Doc.Undo.count(), 0) << c.name;
            EXPECT_EQ(f.Doc.Modified, 1) << "undo leaves the flag: " << c.name;
            EXPECT_FALSE(undoLastCommand(f.Ctx)) << "nothing left to undo: " << c.name;
            if (round == 1) break;

            ASSERT_TRUE(redoLastUndo(f.Ctx)) << c.name;
            EXPECT_EQ(f.View.Root, viewRootAfter) << c.name;
            EXPECT_EQ(f.View.Root->Parent, nullptr) << c.name;
            EXPECT_EQ(selectedList(*f.View.Root), selectedAfter) << c.name;
            EXPECT_EQ(f.nodes(), after) << "redo: " << c.name;
            EXPECT_EQ(f.Doc.Undo.redoCount(), 0) << c.name;
        }
        EXPECT_EQ(f.Doc.Undo.redoCount(), 1) << c.name;
        f.View.Root->clearSelection();
        f.View.Root->setSelected(true);
        createChild(f.Ctx);
        EXPECT_EQ(f.Doc.Undo.redoCount(), 0) << "a new command ends redo: " << c.name;
        EXPECT_FALSE(redoLastUndo(f.Ctx)) << "nothing left to redo: " << c.name;
    }
}

// A sub-view whose root leaves the tree with an undo or a redo is left for
// the main view before the nodes go; the current view never stays on them.
TEST(Undo, ViewOnLeavingSubtreeFallsBackToMainView) {
    const struct {
        const char* name;
        const char* subView;
        std::function<void(TEdit_Fixture&)> run;  // before the sub-view is entered
        std::function<void(TEdit_Fixture&)> leave;
        const char* tree;
    } cases[] = {
        // clang-format off
        {"created grandchild, undo twice", "g", [](auto& f) { f.select({"a"}); createChild(f.Ctx); f.Doc.root()->child(0)->child(0)->setCaption("c"); f.select({"c"}); createChild(f.Ctx); f.node("c")->child(0)->setCaption("g"); }, [](auto& f) { undoLastCommand(f.Ctx), undoLastCommand(f.Ctx); }, "r(a)"},
        {"pasted subtree, undo", "q", [](auto& f) { f.Clipboard.append(buildTree("p(q)")); f.select({"a"}); pasteClipboard(f.Ctx); }, [](auto& f) { undoLastCommand(f.Ctx); }, "r(a)"},
        {"erased subtree, redo", "x", [](auto& f) { f.Doc.root()->child(0)->appendChild(buildTree("x")); f.select({"a"}); eraseSelection(f.Ctx); undoLastCommand(f.Ctx); }, [](auto& f) { redoLastUndo(f.Ctx); }, "r"},
        // clang-format on
    };
    for (const auto& c : cases) {
        TEdit_Fixture f("r(a)");
        c.run(f);
        f.enterSubView(c.subView);
        c.leave(f);
        EXPECT_TRUE(f.View.Is_Main_View) << c.name;
        EXPECT_EQ(f.View.Root, f.Doc.root()) << c.name;
        EXPECT_EQ(f.tree(), c.tree) << c.name;
    }
}

// After an undo the node of the group's oldest record is the one selected.
TEST(Undo, SelectsTheOldestRecordsNode) {
    const struct {
        const char* name;
        const char* tree;
        std::vector<std::string_view> selected;
        bool (*run)(TEdit_Context&);
        const char* selectedBeforeUndo;  // null: leave the selection as it is
    } cases[] = {
        {"create child: the parent", "r(a,b)", {"a"}, createChild, "b"},
        {"erased siblings: the first", "r(a,b,c,d)", {"a", "b", "d"}, eraseSelection, nullptr},
    };
    for (const auto& c : cases) {
        TEdit_Fixture f(c.tree);
        f.select(c.selected);
        ASSERT_TRUE(c.run(f.Ctx)) << c.name;
        if (c.selectedBeforeUndo != nullptr) f.select({c.selectedBeforeUndo});
        ASSERT_TRUE(undoLastCommand(f.Ctx)) << c.name;
        EXPECT_EQ(f.tree(), c.tree) << c.name;
        EXPECT_EQ(selectedList(*f.View.Root), std::vector<TTree_Node*>{f.node("a")}) << c.name;
    }
}

// A group is never cut short: changing 60 nodes and undoing restores all 60,
// each with its caption and its old note, marked for the next save.
TEST(Undo, LargeContentChangeIsTakenBackWhole) {
    TEdit_Fixture f("r");
    std::vector<TTree_Node*> nodes;
    for (int i = 0; i < 60; ++i) {
        TTree_Node* node = f.Doc.root()->appendChild(std::make_unique<TTree_Node>());
        node->Color_Caption = node->Work_Offset = i;
        node->Work_Size = 20;
        node->setCaption(std::to_string(i));
        nodes.push_back(node);
    }
    recordContentChange(f.Doc, nodes);
    for (TTree_Node* node : nodes) {
        node->Color_Caption = 0xABCDEF;
        node->setCaption("changed");
        node->Work_Offset = 500;
        node->Work_Size = 30;
    }
    ASSERT_TRUE(undoLastCommand(f.Ctx));
    for (int i = 0; i < 60; ++i) {
        EXPECT_EQ(nodes[i]->Color_Caption, i) << i;
        EXPECT_EQ(nodes[i]->Caption.view(), std::to_string(i)) << i;
        EXPECT_EQ(nodes[i]->Work_Offset, i) << i;
        EXPECT_EQ(nodes[i]->Work_Size, 20) << i;
        EXPECT_EQ(nodes[i]->Content_Dirty, 1) << i;
    }
    EXPECT_TRUE(nodes[0]->selected()) << "the oldest record's node ends selected";
}

}  // namespace
}  // namespace vetra::test
