#include <gtest/gtest.h>

#include "model/selection.h"
#include "platform/text_mode.h"
#include "tests/model/tree_fixture.h"

namespace vetra::test {
namespace {

TEST(TreeCommands, CreateChildExpandsCollapsedParentAndOpensCaptionEditor) {
    TEdit_Fixture f("r(a(x),b)");
    f.node("a")->Expanded = 0;
    f.select({"a"});
    ASSERT_TRUE(createChild(f.Ctx));
    TTree_Node* created = f.node("a")->child(1);
    EXPECT_EQ(created->Caption.view(), newNodeCaption());
    EXPECT_EQ(created->Color_Caption, 0x123456);
    EXPECT_EQ(f.node("a")->Expanded, 1);
    EXPECT_EQ(f.Host.Caption_Editor, std::vector<TTree_Node*>{created});
    EXPECT_EQ(currentNode(*f.View.Root), f.node("a")) << "the parent stays selected";
    EXPECT_EQ(f.Doc.Modified, 1);
}

TEST(TreeCommands, CreateParentOfRootInMainViewReplacesDocumentRoot) {
    TEdit_Fixture f("r(a,b)");
    f.select({"r"});
    ASSERT_TRUE(createParent(f.Ctx));
    EXPECT_EQ(f.tree(), std::string(newNodeCaption()) + "(r(a,b))");
    EXPECT_EQ(f.View.Root, f.Doc.root());
    EXPECT_EQ(f.node("r")->Depth, 2);
}

TEST(TreeCommands, CreateParentOfSubViewRootMovesTheCut) {
    TEdit_Fixture f("r(a(x,y),b)");
    f.enterSubView("a");
    f.select({"a"});
    ASSERT_TRUE(createParent(f.Ctx));
    TTree_Node* added = f.node("r")->child(0);
    EXPECT_EQ(f.View.Root, added);
    EXPECT_EQ(added->Parent, nullptr);
    EXPECT_EQ(f.View.Saved_Parent, f.node("r"));
    EXPECT_EQ(f.tree(), std::string(newNodeCaption()).insert(0, "r(") + "(a(x,y)),b)");
}

// Commands need exactly one selected visible node; some say why they refuse.
TEST(TreeCommands, RefusalsLeaveTheTreeAndTellWhy) {
    const struct {
        const char* name;
        const char* outline;
        const char* subView;    // null for the main view
        const char* collapsed;  // null: every node expanded
        std::vector<std::string_view> selected;
        bool (*run)(TEdit_Context&);
        const char* message;  // null: refused silently
    } cases[] = {
        // clang-format off
        {"selected but hidden", "r(a(x),b)", nullptr, "a", {"x"}, createChild, nullptr},
        {"two selected: no child", "r(a(x),b)", nullptr, nullptr, {"a", "b"}, createChild, nullptr},
        {"two selected: no parent", "r(a(x),b)", nullptr, nullptr, {"a", "b"}, createParent, nullptr},
        {"root has no parent", "r(a)", nullptr, nullptr, {"r"}, eraseParent, "無父節點，不允許刪除"},
        {"parent with two children", "r(a,b)", nullptr, nullptr, {"a"}, eraseParent, "父節點有多於1個字節點，不允許刪除"},
        {"erase of the view root", "r(a(x),b)", "a", nullptr, {"a", "x"}, eraseSelection, "根節點不允許刪除"},
        // clang-format on
    };
    for (const auto& c : cases) {
        TEdit_Fixture f(c.outline);
        if (c.subView != nullptr) f.enterSubView(c.subView);
        if (c.collapsed != nullptr) f.node(c.collapsed)->Expanded = 0;
        f.select(c.selected);
        EXPECT_FALSE(c.run(f.Ctx)) << c.name;
        EXPECT_EQ(f.Messages.texts(),
                  c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{})
            << c.name;
        EXPECT_EQ(f.tree(), c.outline) << c.name;
        EXPECT_EQ(f.Doc.Undo.count(), 0) << c.name;
        EXPECT_EQ(f.Doc.Modified, 0) << c.name;
    }
}

TEST(TreeCommands, EraseParentOfOnlyChildOfRootMakesItTheRoot) {
    TEdit_Fixture f("r(a(x))");
    f.select({"a"});
    ASSERT_TRUE(eraseParent(f.Ctx));
    EXPECT_EQ(f.tree(), "a(x)");
    EXPECT_EQ(f.View.Root, f.node("a"));
    ASSERT_EQ(f.Clipboard.count(), 1);
    EXPECT_EQ(describe(f.Clipboard.subtree(0)), "r") << "the removed root, childless";
}

TEST(TreeCommands, EraseSelectsTheNeighbour) {
    const struct {
        const char* name;
        const char* before;
        const char* erased;
        const char* after;
        const char* selected;
    } cases[] = {
        {"last child selects previous sibling", "r(a,b,c)", "c", "r(a,b)", "b"},
        {"first of three selects new first", "r(a,b,c)", "a", "r(b,c)", "b"},
        {"middle selects next", "r(a,b,c)", "b", "r(a,c)", "c"},
        {"only child selects the parent", "r(a(x))", "x", "r(a)", "a"},
    };
    for (const auto& c : cases) {
        TEdit_Fixture f(c.before);
        f.select({c.erased});
        ASSERT_TRUE(eraseSelection(f.Ctx)) << c.name;
        EXPECT_EQ(f.tree(), c.after) << c.name;
        EXPECT_EQ(currentNode(*f.View.Root), f.node(c.selected)) << c.name;
    }
}

TEST(TreeCommands, EraseFillsClipboardAndClosesViewsInside) {
    TEdit_Fixture f("r(a(x),b)");
    f.select({"a", "x"});
    ASSERT_TRUE(eraseSelection(f.Ctx));
    EXPECT_EQ(f.tree(), "r(b)");
    ASSERT_EQ(f.Clipboard.count(), 2) << "nested selection copies both subtrees";
    EXPECT_EQ(describe(f.Clipboard.subtree(0)), "a(x)");
    EXPECT_EQ(describe(f.Clipboard.subtree(1)), "x");
    ASSERT_EQ(f.Host.Closed_Views.size(), 2u);
    EXPECT_EQ(f.Host.Closed_Views[0].first, f.Doc.Undo.newest()->record(0).Node);
}

TEST(TreeCommands, PasteTwiceGivesIndependentCopies) {
    TEdit_Fixture f("r(a(x),b)");
    f.select({"a"});
    copySelection(f.Ctx);
    f.select({"b"});
    ASSERT_TRUE(pasteClipboard(f.Ctx));
    ASSERT_TRUE(pasteClipboard(f.Ctx));
    EXPECT_EQ(f.tree(), "r(a(x),b(a(x),a(x)))");
    TTree_Node* b = f.node("b");
    EXPECT_NE(b->child(0), b->child(1));
    EXPECT_EQ(b->child(0)->child(0)->Depth, b->Depth + 2);
    EXPECT_EQ(b->child(0)->Content_Dirty, 1);
}

TEST(TreeCommands, MovingAmongSiblingsIsNotAnEdit) {
    TEdit_Fixture f("r(a,b,c)");
    f.select({"a"});
    EXPECT_FALSE(moveUp(f.Ctx));
    ASSERT_TRUE(moveDown(f.Ctx));
    EXPECT_EQ(f.tree(), "r(b,a,c)");
    f.select({"c"});
    EXPECT_FALSE(moveDown(f.Ctx));
    EXPECT_EQ(f.Doc.Modified, 0);
    EXPECT_EQ(f.Doc.Undo.count(), 0);
}

TEST(TreeCommands, DropTargets) {
    const struct {
        const char* name;
        const char* target;
        bool allowed;
    } cases[] = {
        {"own parent", "a", false}, {"itself", "x", false},  {"own descendant", "y", false},
        {"a sibling", "z", true},   {"the root", "r", true},
    };
    for (const auto& c : cases) {
        TEdit_Fixture f("r(a(x(y),z))");
        f.select({"x"});
        EXPECT_EQ(canDropOnto(f.Ctx, f.node(c.target)), c.allowed) << c.name;
        EXPECT_EQ(dropOnto(f.Ctx, f.node(c.target)), c.allowed) << c.name;
    }
    TEdit_Fixture f("r(a(x(y),z))");
    f.select({"x"});
    ASSERT_TRUE(dropOnto(f.Ctx, f.node("z")));
    EXPECT_EQ(f.tree(), "r(a(z(x(y))))");
    EXPECT_EQ(f.Host.Commits, 1);
    EXPECT_EQ(f.Doc.Modified, 1);
}

TEST(TreeCommands, ExpandToLevelFromViewRootWithoutCurrentNode) {
    TEdit_Fixture f("r(a(x(y)),b)");
    expandToLevelCommand(f.Ctx, 1);
    EXPECT_EQ(f.node("r")->Expanded, 1);
    EXPECT_EQ(f.node("a")->Expanded, 0);
    EXPECT_EQ(f.node("x")->Expanded, 1) << "not visited";
    expandToLevelCommand(f.Ctx, 0);
    EXPECT_EQ(f.node("r")->Expanded, 0);
}

}  // namespace
}  // namespace vetra::test
