#include "ui/document_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QWheelEvent>
#include <QtTest/QTest>
#include <filesystem>

#include "layout/hit_test.h"
#include "layout/tree_builder.h"
#include "tests/ui/window_fixture.h"
#include "ui/caption_editor.h"
#include "ui/image_view.h"
#include "ui/status_line.h"
#include "ui/style_command_run.h"
#include "ui/ui_text.h"

namespace vetra {
namespace {

// A window whose root gets children with the given names.
struct TWindow_Fixture : test::TWindow_Fixture {
    explicit TWindow_Fixture(std::initializer_list<const char*> names = {})
        : test::TWindow_Fixture("vetra_window_test") {
        if (names.size() == 0) return;
        for (const char* name : names) {
            select(window->currentRoot());
            window->N_CreateClick();
            window->currentRoot()->Children.last()->setCaption(name);
        }
        window->commitCaptionEditor();
        window->refresh();
    }
};

TEST(DocumentWindow, TabReleaseRightAfterActivationAddsNothing) {
    TWindow_Fixture f;
    ASSERT_NE(f.window, nullptr);
    f.select(f.window->currentRoot());
    QEvent activation(QEvent::ActivationChange);
    QApplication::sendEvent(f.window, &activation);
    f.window->FormKeyUp(Qt::Key_Tab, Qt::NoModifier);
    EXPECT_EQ(f.window->currentRoot()->childCount(), 0) << "within 500 ms of activation";
    QTest::qWait(550);
    f.window->FormKeyUp(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(f.window->currentRoot()->childCount(), 0) << "Ctrl held";
    f.window->FormKeyUp(Qt::Key_Tab, Qt::NoModifier);
    ASSERT_EQ(f.window->currentRoot()->childCount(), 1);
    EXPECT_EQ(f.window->selectedNode(), f.window->currentRoot()->child(0))
        << "the new node becomes the only selected node";
}

TEST(DocumentWindow, AKeyThatMovesTheMarkUpdatesTheStatusPath) {
    TWindow_Fixture f({"a", "b"});
    TTree_Node* a = f.window->currentRoot()->child(0);
    f.select(a);
    auto* path = f.frame->findChild<TStatus_Text*>("Status_Path");
    ASSERT_NE(path, nullptr);
    // Only the press: the panel and the status bar follow the mark before
    // the key is released.
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(f.window->imageView()->viewport(), &press);
    TTree_Node* moved = f.window->selectedNode();
    ASSERT_NE(moved, nullptr);
    ASSERT_NE(moved, a);
    EXPECT_TRUE(path->text().endsWith(QString::fromStdString(std::string(moved->Caption.view()))))
        << path->text().toStdString();
}

// The count follows the shape of the tree: undo, and an edit inside a
// sub-view, whose root is cut from its parent while shown, while the counts
// of large subtrees are kept.
TEST(DocumentWindow, TheStatusBarCountFollowsTheShapeOfTheTree) {
    TWindow_Fixture f({"a", "b"});
    auto* nodes = f.frame->findChild<TStatus_Text*>("Status_Nodes");
    ASSERT_NE(nodes, nullptr);
    auto shown = [&] {
        QTest::qWait(80);  // the status bar follows with the overview map
        return nodes->text().section(' ', 0, 0).toInt();
    };
    EXPECT_EQ(shown(), 3);
    for (int i = 0; i < 3 && f.window->currentRoot()->childCount() == 2; ++i)
        f.window->N_UndoClick();
    ASSERT_EQ(f.window->currentRoot()->childCount(), 1);
    EXPECT_EQ(shown(), 2) << "undo took a node away";
    TTree_Node* a = f.window->currentRoot()->child(0);
    for (int i = 0; i < 1100; ++i) a->appendChild(std::make_unique<TTree_Node>());
    f.window->refresh();
    EXPECT_EQ(shown(), 1102);
    f.select(a);
    f.window->N_New_Node_ViewClick();
    ASSERT_EQ(f.window->currentRoot(), a);
    f.select(a);
    f.window->N_CreateClick();
    f.window->commitCaptionEditor();
    EXPECT_EQ(shown(), 1103) << "an edit inside the sub-view";
}

// A new size only refits the picture: the nodes keep the layout a full
// layout gives them, and the picture reaches the new client area.
TEST(DocumentWindow, AResizeRefitsThePictureAndKeepsTheLayout) {
    TWindow_Fixture f({"a", "b", "c"});
    f.frame->resize(1400, 1000);
    QTest::qWait(20);
    const TView_Picture fitted = f.window->viewPicture();
    const auto afterResize = testing::layoutSnapshot(*f.window->currentRoot());
    EXPECT_GE(fitted.Width, f.window->imageView()->viewport()->width());
    f.window->refresh();  // nothing listed: laid out whole
    EXPECT_EQ(testing::layoutSnapshot(*f.window->currentRoot()), afterResize);
    EXPECT_EQ(f.window->viewPicture().Width, fitted.Width);
    EXPECT_EQ(f.window->viewPicture().Height, fitted.Height);
}

// After every edit the view repaints only where the drawing changed; what
// the screen shows must still be the drawing as it is now.
TEST(DocumentWindow, EditsRepaintWhatChangedAndTheScreenShowsTheDrawing) {
    TWindow_Fixture f({"a", "b", "c"});
    QWidget* viewport = f.window->imageView()->viewport();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(f.frame.get()));
    test::TPaint_Counter counter;
    viewport->installEventFilter(&counter);
    const int keys[] = {Qt::Key_Down, Qt::Key_Up, Qt::Key_Right, Qt::Key_Left};
    uint32_t seed = 7;
    auto next = [&](uint32_t n) {
        seed = seed * 1103515245 + 12345;
        return (seed >> 16) % n;
    };
    for (int step = 0; step < 250; ++step) {
        const uint32_t op = next(12);
        if (f.window->selectedNode() == nullptr)
            f.window->FormKeyDown(Qt::Key_Home, Qt::NoModifier);
        if (op == 0) {
            f.window->N_CreateClick();
            TForm_Caption::instance().setPendingText(QString("n%1").arg(step));
            f.window->commitCaptionEditor();
        } else if (op == 1 && f.window->selectedNode() != f.window->currentRoot()) {
            // Now and then with a child selected too: it goes with its parent.
            TTree_Node* node = f.window->selectedNode();
            if (next(2) == 0 && node->Expanded && node->hasChildren())
                node->child(0)->setSelected(true);
            f.window->N_EraseClick();
        } else if (op == 2) {
            f.window->N_Expand_SwitchClick();
        } else if (op == 3) {
            f.window->N_UndoClick();
        } else if (op == 4) {
            f.window->N_RedoClick();
        } else if (op == 5) {
            runStyleCommand(*f.window, TStyle_Command(next(6)), int32_t(next(5)), {});
        } else if (op == 6) {
            f.window->N_EditClick();
            // Two digits: mostly the same width, so only the text tells the change.
            TForm_Caption::instance().setPendingText(QString::number(10 + next(90)));
            f.window->commitCaptionEditor();
        } else if (op == 7) {
            const uint32_t zoom = next(3);
            zoom == 0   ? f.window->N_Zoom_InClick()
            : zoom == 1 ? f.window->N_Zoom_OutClick()
                        : f.window->N_Zoom_ResetClick();
        } else if (op == 8) {
            next(2) == 0 ? f.window->N_Move_UpClick() : f.window->N_Move_DownClick();
        } else if (op == 9) {
            f.window->N_CopyClick();
            f.window->FormKeyDown(keys[next(4)], Qt::NoModifier);
            f.window->N_PasterClick();
        } else {
            f.window->FormKeyDown(keys[next(4)], Qt::NoModifier);
        }
        // The window repaints at its next frame, a few milliseconds on: once
        // it has stopped painting, the screen must show what a repaint of
        // the whole view shows.
        for (int quiet = 0, rounds = 0; quiet < 2 && rounds < 30; ++rounds) {
            const int before = counter.paints;
            QTest::qWait(6);
            quiet = counter.paints == before ? quiet + 1 : 0;
        }
        const QImage shown = test::onScreen(viewport);
        viewport->repaint();
        ASSERT_TRUE(shown == test::onScreen(viewport)) << "step " << step << ", operation " << op;
        // Laid out from the changed nodes, the view equals its full layout
        // (a refresh with nothing listed lays out everything).
        const std::vector<std::string> incremental =
            testing::layoutSnapshot(*f.window->currentRoot());
        f.window->refresh();
        ASSERT_EQ(incremental, testing::layoutSnapshot(*f.window->currentRoot()))
            << "step " << step << ", operation " << op;
    }
    EXPECT_GT(counter.partial, 10) << "edits repaint only what changed";
}

// Closing a middle tab moves the last into its place; deleting the root of
// a sub-view closes its view.
TEST(DocumentWindow, SubViewsCloseByTheirTabOrWithTheirRoot) {
    TWindow_Fixture f({"a", "b"});
    TTree_Node* root = f.window->currentRoot();
    for (int i = 0; i < 2; ++i) {
        f.window->switchToView(0);
        f.select(root->child(i));
        f.window->N_New_Node_ViewClick();
    }
    EXPECT_EQ(f.window->tabCaptions(), QStringList({uiText("雙擊輸入標題"), "a", "b"}));
    f.window->switchToView(1);
    f.window->SpeedButton_Close_ViewClick();
    EXPECT_EQ(f.window->tabCaptions(), QStringList({uiText("雙擊輸入標題"), "b"}));
    EXPECT_EQ(f.window->currentViewIndex(), 0) << "the main view becomes current";
    f.window->SpeedButton_Close_ViewClick();
    EXPECT_EQ(f.window->views().count(), 2) << "the main view is never closed";

    f.select(root->child(1));
    f.window->N_EraseClick();
    EXPECT_EQ(f.window->views().count(), 1);
    ASSERT_EQ(root->childCount(), 1);
    EXPECT_EQ(root->child(0)->Caption.view(), "a");
    f.window->N_UndoClick();
    EXPECT_EQ(root->childCount(), 2) << "undo brings the node back (its view stays closed)";
}

TEST(DocumentWindow, LeavingNodesAreDroppedFromSavedViewStates) {
    // A freed node's address may be reused by a new node; a view must not
    // then show the newcomer collapsed or selected.
    TWindow_Fixture f({"a", "b"});
    TTree_Node* root = f.window->currentRoot();
    TTree_Node* a = root->child(0);
    a->appendChild(std::make_unique<TTree_Node>());
    a->Expanded = 0;
    f.select(a);
    f.select(root->child(1));
    f.window->N_New_Node_ViewClick();  // the main view's state is saved now
    TNode_View* main = f.window->views().view(0);
    ASSERT_NE(main->Saved_Collapsed.indexOf(a), -1);
    f.window->closeViewsOf(*a, true);
    EXPECT_EQ(main->Saved_Collapsed.indexOf(a), -1);
    EXPECT_EQ(main->Saved_Selection.indexOf(a), -1);
}

TEST(DocumentWindow, APendingCaptionForAnErasedNodeIsDropped) {
    TWindow_Fixture f({"a", "b"});
    TTree_Node* a = f.window->currentRoot()->child(0);
    f.window->openCaptionEditor(*a);
    TForm_Caption& editor = TForm_Caption::instance();
    editor.setPendingText("pending");
    editor.hideEditor();  // hidden, the change stays pending
    f.select(a);
    f.window->N_EraseClick();
    // Saving empties the undo history and frees the erased node; a later
    // commit must not write into it (the sanitizer build would catch it).
    f.script.queueAnswer(QString::fromStdString(::testing::TempDir() + "vetra_pending.vt"));
    f.window->N_SaveClick();
    f.window->commitCaptionEditor();
    ASSERT_EQ(f.window->currentRoot()->childCount(), 1);
    EXPECT_EQ(f.window->currentRoot()->child(0)->Caption.view(), "b");
}

// The editor widens, then wraps and grows taller, up to the visible width;
// text beyond the caption limit is refused with a message, never cut silently.
TEST(DocumentWindow, CaptionEditorGrowsWithTheTextAndRefusesTooMuch) {
    TWindow_Fixture f({"a"});
    f.window->openCaptionEditor(*f.window->currentRoot()->child(0));
    TForm_Caption& editor = TForm_Caption::instance();
    const QRect start = editor.geometry();
    editor.edit()->insertPlainText(QString(300, 'x'));
    const int visible = f.window->imageView()->viewport()->width();
    EXPECT_GT(editor.width(), start.width());
    EXPECT_LE(editor.geometry().right(), visible);
    EXPECT_GT(editor.height(), 2 * start.height()) << "wrapped onto several lines";

    editor.edit()->selectAll();
    editor.edit()->insertPlainText(QString(TForm_Caption::kMax_Characters + 100, 'y'));
    EXPECT_EQ(editor.text().size(), TForm_Caption::kMax_Characters);
    EXPECT_TRUE(f.script.messages().contains(
        QString::fromUtf8("status: 标题最多 32767 个字符，多出的部分没有加入")))
        << f.script.messages().join('\n').toStdString();
}

// On a tall drawing one notch scrolls at most a third of the visible height
// (a thirtieth of the range would jump several screens).
TEST(DocumentWindow, AWheelNotchScrollsAtMostAThirdOfTheView) {
    TWindow_Fixture f;
    TTree_Node* root = f.window->currentRoot();
    for (int i = 0; i < 3000; ++i) root->appendChild(std::make_unique<TTree_Node>());
    f.window->refresh();
    QWidget* view = f.window->imageView()->viewport();
    const int before = f.window->imageView()->scrollY();
    QPointF at = view->rect().center();
    QWheelEvent notch(at, view->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view, &notch);
    const int moved = f.window->imageView()->scrollY() - before;
    EXPECT_GT(moved, 0);
    EXPECT_LE(moved, view->height() / 3);
}

TEST(DocumentWindow, LinksToDocumentsOpenHereOthersGoToTheDesktop) {
    TWindow_Fixture f({"doc", "caps"});
    std::string dir = ::testing::TempDir() + "vetra_window_links/";
    std::filesystem::create_directories(dir);
    TTree_Node* root = f.window->currentRoot();
    // The window saves itself under a name, so the link has a real target.
    f.script.queueAnswer(QString::fromStdString(dir + "target.vt"));
    f.window->N_SaveClick();
    root->child(0)->setLink(dir + "target.vt");
    root->child(1)->setLink(dir + "missing.VT");

    f.select(root->child(1));
    f.window->N_Link_UrlClick();
    EXPECT_EQ(f.script.messages().size(), 1) << "capital VT is not ours; the desktop fails";
    f.select(root->child(0));
    f.window->N_Link_UrlClick();
    EXPECT_EQ(f.frame->documentWindows().size(), 1) << "the open document is brought forward";
}

}  // namespace
}  // namespace vetra
