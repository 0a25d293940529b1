// Saves, compactions and recovery snapshots are cut at every write and every
// sync in turn, as a crash would cut them; reopening the file must give the
// old document or the new one, node for node and note for note.

#include <gtest/gtest.h>

#include "store/recovery_snapshot.h"
#include "store/save_journal.h"
#include "tests/store/doc_fixture.h"

namespace vetra::test {
namespace {

struct TChange {
    const char* name;
    void (*apply)(TDoc_Fixture&, TTree_Doc&);
};

const TChange kChanges[] = {
    {"notes in place, appended and moved out of a growing index",
     [](TDoc_Fixture& f, TTree_Doc& doc) {
         f.setNote(*find(*doc.root(), "a"), noisyNote(11, 150));
         f.setNote(*find(*doc.root(), "b"), sampleNote(12, 5000));
         for (int i = 0; i < 12; ++i)
             doc.root()
                 ->appendChild(std::make_unique<TTree_Node>())
                 ->setCaption("new " + std::to_string(i));
         find(*doc.root(), "c")->setCaption("renamed");
     }},
    {"a save that compacts",
     [](TDoc_Fixture& f, TTree_Doc& doc) {
         for (const char* caption : {"a", "b", "c"})
             f.setNote(*find(*doc.root(), caption), noisyNote(caption[0], 70000));
     }},
};

TEST(CrashSafety, SaveCutAtEveryWriteAndSyncGivesOldOrNewDocument) {
    for (const TChange& change : kChanges) {
        TDoc_Fixture f;
        {
            auto doc = f.newDoc("r(a(b),c,d)");
            f.setNote(*find(*doc->root(), "a"), noisyNote(1, 300));
            f.setNote(*find(*doc->root(), "b"), noisyNote(2, 60000));
            f.setNote(*find(*doc->root(), "c"), sampleNote(3, 2000));
            ASSERT_TRUE(doc->saveAs(f.path("base.vt"), {}));
        }
        const std::string original = f.bytesOf("base.vt");
        auto restart = [&] {
            *f.Plan = TFailure_Plan{};
            std::ofstream(f.path("c.vt"), std::ios::binary | std::ios::trunc) << original;
            auto doc = f.openDoc("c.vt");
            change.apply(f, *doc);
            return doc;
        };
        std::string oldContent = f.contentOfFile("base.vt");
        auto doc = restart();
        int steps = f.Plan->Steps;
        ASSERT_TRUE(doc->save({})) << change.name;
        int saveSteps = f.Plan->Steps - steps;
        std::string newContent = f.contentOf(*doc);
        ASSERT_NE(oldContent, newContent);

        int sawOld = 0, sawNew = 0;
        for (int cut = 1; cut <= saveSteps; ++cut) {
            doc = restart();
            f.Plan->Cut_At = f.Plan->Steps + cut;
            doc->save({});
            doc.reset();
            f.Plan->Dead = false;
            f.Plan->Cut_At = 0;
            std::string reopened = f.contentOfFile("c.vt");
            EXPECT_TRUE(reopened == oldContent || reopened == newContent)
                << change.name << ", cut at step " << cut << " of " << saveSteps << ":\n"
                << reopened;
            (reopened == oldContent ? sawOld : sawNew)++;
            EXPECT_FALSE(std::filesystem::exists(journalPathOf(f.path("c.vt"))))
                << "the open put the document back and deleted the journal";
        }
        EXPECT_GT(sawOld, 0) << change.name;
        EXPECT_GT(sawNew, 0) << change.name;
    }
}

TEST(CrashSafety, RecoverySnapshotCutAtEveryStepKeepsTheEarlierOne) {
    TDoc_Fixture f;
    auto doc = f.newDoc("r(a,b)");
    f.setNote(*find(*doc->root(), "a"), noisyNote(1, 3000));
    ASSERT_TRUE(writeRecoverySnapshot(*doc, f.path("rec/1-0.vt")));
    std::string first = f.contentOf(*doc);
    EXPECT_EQ(f.contentOfFile("rec/1-0.vt"), first);
    f.setNote(*find(*doc->root(), "b"), sampleNote(2, 4000));
    find(*doc->root(), "a")->setCaption("renamed");
    std::string second = f.contentOf(*doc);
    int steps = f.Plan->Steps;
    ASSERT_TRUE(writeRecoverySnapshot(*doc, f.path("rec/1-1.vt")));
    steps = f.Plan->Steps - steps;
    for (int cut = 1; cut <= steps; ++cut) {
        f.Plan->Cut_At = f.Plan->Steps + cut;
        EXPECT_FALSE(writeRecoverySnapshot(*doc, f.path("rec/1-0.vt"))) << cut;
        f.Plan->Dead = false;
        f.Plan->Cut_At = 0;
        EXPECT_EQ(f.contentOfFile("rec/1-0.vt"), first) << "cut at step " << cut;
    }
    ASSERT_TRUE(writeRecoverySnapshot(*doc, f.path("rec/1-0.vt")));
    EXPECT_EQ(f.contentOfFile("rec/1-0.vt"), second);
    EXPECT_EQ(entriesOf(f.path("rec")), 4)
        << "two snapshots with their name files, no temporary file";
}

TEST(CrashSafety, DamagedOrPartialJournalIsIgnored) {
    TDoc_Fixture f;
    auto doc = f.newDoc("r(a)");
    f.setNote(*find(*doc->root(), "a"), noisyNote(1, 3000));
    ASSERT_TRUE(doc->saveAs(f.path("j.vt"), {}));
    std::string saved = f.contentOf(*doc);
    // A journal whose record was cut short: its save never touched the document.
    std::string journal = journalPathOf(f.path("j.vt"));
    std::ofstream(journal, std::ios::binary) << std::string("VTJRNL\1\0", 8) << "cut";
    EXPECT_EQ(f.contentOfFile("j.vt"), saved);
    EXPECT_FALSE(std::filesystem::exists(journal));
}

TEST(CrashSafety, ReadOnlyDocumentWithJournalOpensItsOldContentReadOnly) {
    TDoc_Fixture f;
    std::string oldContent;
    // The first cut that leaves a journal behind: the document was touched.
    for (int cut = 1; !std::filesystem::exists(journalPathOf(f.path("r.vt"))); ++cut) {
        ASSERT_LT(cut, 30);
        *f.Plan = TFailure_Plan{};
        auto doc = f.newDoc("r(a)");
        f.setNote(*find(*doc->root(), "a"), noisyNote(1, 3000));
        ASSERT_TRUE(doc->saveAs(f.path("r.vt"), {}));
        oldContent = f.contentOf(*doc);
        find(*doc->root(), "a")->setCaption("changed");
        f.Plan->Cut_At = f.Plan->Steps + cut;
        EXPECT_FALSE(doc->save({}));
    }
    *f.Plan = TFailure_Plan{};
    auto reopened = f.readOnlyDoc("r.vt");
    std::vector<TTree_Node*> roots;
    TRead_Error error{};
    ASSERT_TRUE(reopened->open(f.path("r.vt"), roots, error));
    EXPECT_TRUE(reopened->isReadOnly());
    EXPECT_EQ(f.Messages.texts().back(),
              "文件 %s 上次保存沒有完成，需要恢復；現在以只讀方式打開保存前的內容");
    EXPECT_EQ(f.contentOf(*reopened), oldContent);
    EXPECT_TRUE(std::filesystem::exists(journalPathOf(f.path("r.vt"))));
}

TEST(CrashSafety, CompactionThroughASymbolicLinkKeepsTheLink) {
    TDoc_Fixture f;
    std::filesystem::create_directory(f.path("real"));
    auto doc = f.newDoc("r(a)");
    f.setNote(*find(*doc->root(), "a"), noisyNote(1, 60000));
    ASSERT_TRUE(doc->saveAs(f.path("real/t.vt"), {}));
    doc.reset();
    std::filesystem::create_symlink("real/t.vt", f.path("link.vt"));
    doc = f.openDoc("link.vt");
    f.setNote(*find(*doc->root(), "a"), noisyNote(2, 60001));
    ASSERT_TRUE(doc->save({}));
    EXPECT_EQ(f.sizeOf("real/t.vt"), doc->liveSize()) << "compacted";
    EXPECT_TRUE(std::filesystem::is_symlink(f.path("link.vt")));
    auto reopened = f.openDoc("link.vt");
    EXPECT_EQ(f.noteOf(*reopened, *find(*reopened->root(), "a")), noisyNote(2, 60001));
    EXPECT_EQ(entriesOf(f.path("real")), 1);
}

TEST(CrashSafety, LeftoverCompactionFileIsRemovedAtOpen) {
    TDoc_Fixture f;
    auto doc = f.newDoc("r(a)");
    ASSERT_TRUE(doc->saveAs(f.path("l.vt"), {}));
    for (const char* name : {".l.vt.a1B2c3", ".l.vt.keepme!", ".other.vt.a1B2c3"})
        std::ofstream(f.path(name)) << "x";
    ASSERT_TRUE(f.openDoc("l.vt"));
    EXPECT_FALSE(std::filesystem::exists(f.path(".l.vt.a1B2c3")));
    EXPECT_TRUE(std::filesystem::exists(f.path(".l.vt.keepme!")));
    EXPECT_TRUE(std::filesystem::exists(f.path(".other.vt.a1B2c3")));
}

// A node with as many children as a file can hold takes no more, from any
// command; a tree past the bound is not written at all.
TEST(ChildBound, CommandsRefuseAndTheWriterLeavesTheFile) {
    TEdit_Fixture edit("r(full,x,y)");
    TTree_Node* full = edit.node("full");
    for (int32_t i = 0; i < kMax_Children; ++i) full->appendChild(std::make_unique<TTree_Node>());
    edit.Clipboard.append(std::make_unique<TTree_Node>());
    const struct {
        const char* name;
        bool (*run)(TEdit_Fixture&);
    } commands[] = {
        {"create", [](TEdit_Fixture& e) { return createChild(e.Ctx); }},
        {"paste", [](TEdit_Fixture& e) { return pasteClipboard(e.Ctx); }},
        {"drop",
         [](TEdit_Fixture& e) {
             e.select({"x"});
             return dropOnto(e.Ctx, e.node("full"));
         }},
    };
    for (const auto& command : commands) {
        edit.select({"full"});
        EXPECT_FALSE(command.run(edit)) << command.name;
        EXPECT_EQ(full->childCount(), kMax_Children) << command.name;
        EXPECT_EQ(edit.Messages.texts().back(), kToo_Many_Children) << command.name;
    }
    // Undo of an erase, once the node has been filled up again.
    edit.Doc.root()->clearSelection();
    full->child(0)->setSelected(true);
    ASSERT_TRUE(eraseSelection(edit.Ctx));
    full->appendChild(std::make_unique<TTree_Node>());
    EXPECT_FALSE(undoLastCommand(edit.Ctx));
    EXPECT_EQ(full->childCount(), kMax_Children);
    EXPECT_EQ(edit.Messages.texts().back(), kToo_Many_Children);

    TDoc_Fixture f;
    auto doc = f.newDoc("r(a)");
    ASSERT_TRUE(doc->saveAs(f.path("b.vt"), {}));
    std::string saved = f.bytesOf("b.vt");
    for (int32_t i = 0; i <= kMax_Children; ++i)
        find(*doc->root(), "a")->appendChild(std::make_unique<TTree_Node>());
    EXPECT_FALSE(doc->save({}));
    EXPECT_EQ(f.Messages.texts().back(), "節點 %s 的子節點超過 409600 個，文件無法保存");
    EXPECT_EQ(f.bytesOf("b.vt"), saved);
}

}  // namespace
}  // namespace vetra::test
