#include <gtest/gtest.h>

#include "store/document_writer.h"
#include "tests/store/doc_fixture.h"

namespace vetra::test {
namespace {

// Every node of the subtree gets a note of its own; returns the notes by caption.
std::map<std::string, std::string> giveNotes(TDoc_Fixture& f, TTree_Node& root, size_t size) {
    std::map<std::string, std::string> notes;
    int seed = 0;
    for (TTree_Node* node : testing::preorderNodes(root)) {
        if (notes.count(std::string(node->Caption.view()))) continue;
        ++seed;
        std::string note = sampleNote(seed, size + seed * 37);
        f.setNote(*node, note);
        notes[std::string(node->Caption.view())] = note;
    }
    return notes;
}

void expectNotes(TDoc_Fixture& f, TTree_Doc& doc, const std::map<std::string, std::string>& notes,
                 const char* step) {
    for (const auto& [caption, note] : notes) {
        TTree_Node* node = find(*doc.root(), caption);
        ASSERT_NE(node, nullptr) << step << " " << caption;
        EXPECT_EQ(f.noteOf(doc, *node), note) << step << " " << caption;
    }
}

// Save as with two view roots, reopen, then two saves of bigger notes: the old
// runs become waste and the second save compacts, recording no view roots. A
// compaction that fails leaves the saved file; either way nothing is left
// beside the document.
TEST(TreeDoc, RoundTripThroughSaveAsSaveCompactionAndReopen) {
    for (bool compactionFails : {false, true}) {
        SCOPED_TRACE(compactionFails ? "the compaction fails" : "compacts");
        TDoc_Fixture f;
        auto doc = f.newDoc("r(a(b,c),d)");
        auto notes = giveNotes(f, *doc->root(), 400);
        ASSERT_TRUE(doc->saveAs(f.path("t.vt"), {doc->root(), find(*doc->root(), "b")}));
        EXPECT_EQ(doc->Modified, 0);
        EXPECT_FALSE(doc->isReadOnly());

        std::vector<TTree_Node*> roots;
        auto reopened = f.openDoc("t.vt", &roots);
        ASSERT_TRUE(reopened);
        EXPECT_EQ(describe(*reopened->root()), "r(a(b,c),d)");
        ASSERT_EQ(roots.size(), 2u);
        EXPECT_EQ(roots[0], reopened->root());
        EXPECT_EQ(roots[1]->Caption.view(), "b");
        expectNotes(f, *reopened, notes, "after save as");

        for (int round = 0; round < 2; ++round) {
            for (auto& [caption, note] : notes) {
                note = noisyNote(round * 100 + int(note.size()), 20000 + round * 1000);
                f.setNote(*find(*reopened->root(), caption), note);
            }
            if (round == 1 && compactionFails) {
                f.Plan->Only_Path = ".t.vt.";  // the compaction file beside the document
                f.Plan->Writes = 0;
                f.Plan->Fail_Write_At = 3;
            }
            ASSERT_TRUE(reopened->save({reopened->root(), find(*reopened->root(), "b")}));
        }
        EXPECT_EQ(f.sizeOf("t.vt") == reopened->liveSize(), !compactionFails) << "compacted";
        EXPECT_EQ(f.Messages.texts(), compactionFails ? std::vector<std::string>{"無法整理文件 %s"}
                                                      : std::vector<std::string>{});
        EXPECT_EQ(entriesOf(f.Dir), 1) << "no temporary file is left beside the document";
        expectNotes(f, *reopened, notes, "after compaction, same document");
        auto third = f.openDoc("t.vt", &roots);
        ASSERT_TRUE(third);
        EXPECT_TRUE(compactionFails || roots.empty()) << "a compacted file records no view roots";
        expectNotes(f, *third, notes, "after compaction, reopened");
    }
}

TEST(TreeDoc, ChangedNoteShrinksInPlaceAndGrowsAtTheEnd) {
    TDoc_Fixture f;
    auto doc = f.newDoc("r(a,b)");
    TTree_Node* a = find(*doc->root(), "a");
    f.setNote(*a, noisyNote(1, 300));
    f.setNote(*find(*doc->root(), "b"), noisyNote(2, 300));
    ASSERT_TRUE(doc->saveAs(f.path("p.vt"), {}));
    int32_t offset = a->Content_Offset;
    int64_t size = f.sizeOf("p.vt");

    f.setNote(*a, noisyNote(3, 200));
    ASSERT_TRUE(doc->save({}));
    EXPECT_EQ(a->Content_Offset, offset) << "written over its old bytes";
    EXPECT_EQ(f.sizeOf("p.vt"), size);

    f.setNote(*a, noisyNote(4, 301));
    ASSERT_TRUE(doc->save({}));
    EXPECT_EQ(a->Content_Offset, size) << "appended";
    EXPECT_EQ(f.sizeOf("p.vt"), size + 301);
    EXPECT_EQ(f.noteOf(*doc, *a), noisyNote(4, 301));
}

// Disk full at the third note: the save fails, the user is told, the document
// stays modified with its undo history, and a later save completes it.
TEST(TreeDoc, FailedWriteKeepsDocumentModifiedAndUndoable) {
    const struct {
        const char* name;
        void (*fail)(TFailure_Plan&, int64_t fileSize);
    } cases[] = {
        {"third note write", [](TFailure_Plan& p, int64_t) { p.Fail_Write_At = p.Writes + 3; }},
        {"index write", [](TFailure_Plan& p, int64_t) { p.Fail_Write_At = p.Writes + 6; }},
        {"a seek", [](TFailure_Plan& p, int64_t) { p.Fail_Seek_At = p.Seeks + 4; }},
        {"the flush", [](TFailure_Plan& p, int64_t) { p.Fail_Flush = true; }},
        {"disk full", [](TFailure_Plan& p, int64_t size) { p.Size_Limit = size + 100; }},
    };
    for (const auto& c : cases) {
        TDoc_Fixture f;
        auto doc = f.newDoc("r(a,b,c,d,e)");
        giveNotes(f, *doc->root(), 100);
        ASSERT_TRUE(doc->saveAs(f.path("d.vt"), {}));
        auto notes = giveNotes(f, *doc->root(), 3000);  // each one grows: appended
        TEdit_Fixture edit("x");
        doc->Undo.beginGroup().recordChange(doc->root());
        doc->Modified = 1;

        c.fail(*f.Plan, f.sizeOf("d.vt"));
        EXPECT_FALSE(doc->save({})) << c.name;
        EXPECT_EQ(f.Messages.texts().back(), "無法保存文件 %s") << c.name;
        EXPECT_EQ(f.Messages.Messages.back().Argument, f.path("d.vt")) << c.name;
        EXPECT_EQ(doc->Modified, 1) << c.name;
        EXPECT_EQ(doc->Undo.count(), 1) << c.name;

        *f.Plan = TFailure_Plan{};
        ASSERT_TRUE(doc->save({})) << c.name;
        auto reopened = f.openDoc("d.vt");
        ASSERT_TRUE(reopened) << c.name;
        expectNotes(f, *reopened, notes, c.name);
    }
}

// Save as under a new name, under another name of the same file, and when the
// copy cannot be made: the old file keeps its bytes unless it is the target,
// and later saves go to the file the document ended up with.
TEST(TreeDoc, SaveAs) {
    const struct {
        const char* name;
        const char* target;
        bool refuseOpen;
        std::vector<std::string> messages;  // none: the save as succeeds
    } cases[] = {
        {"new name", "n.vt", false, {}},
        {"another name of the same file is a plain save", "./o.vt", false, {}},
        {"cannot create", "missing-dir/n.vt", false, {"無法創建文件"}},
        {"copy write fails", "n.vt", false, {"無法保存文件 %s"}},
        {"refused", "n.vt", true, {"無法創建文件"}},
    };
    for (const auto& c : cases) {
        TDoc_Fixture f;
        auto doc = f.newDoc("r(a)");
        auto notes = giveNotes(f, *doc->root(), 700);
        ASSERT_TRUE(doc->saveAs(f.path("o.vt"), {}));
        std::string before = f.bytesOf("o.vt");
        bool fails = !c.messages.empty(), sameFile = c.target[0] == '.',
             moves = !fails && !sameFile;
        f.Plan->Only_Path = "n.vt";
        f.Plan->Refuse_Open = c.refuseOpen;
        f.Plan->Writes = 0;
        f.Plan->Fail_Write_At = fails ? 1 : 0;
        doc->Modified = 1;
        doc->root()->setCaption("changed");
        EXPECT_EQ(doc->saveAs(f.path(c.target), {}), !fails) << c.name;
        EXPECT_EQ(f.Messages.texts(), c.messages) << c.name;
        std::string kept = moves ? "n.vt" : "o.vt";
        EXPECT_EQ(doc->fileName(), f.path(kept)) << c.name;
        EXPECT_EQ(std::filesystem::exists(f.path("n.vt")), moves) << c.name;
        EXPECT_EQ(f.bytesOf("o.vt") == before, !sameFile) << c.name << ": the old file's bytes";

        *f.Plan = TFailure_Plan{};
        ASSERT_TRUE(doc->save({})) << c.name;
        auto reopened = f.openDoc(kept);
        ASSERT_TRUE(reopened) << c.name;
        EXPECT_EQ(describe(*reopened->root()), "changed(a)") << c.name;
        notes["changed"] = notes["r"];
        notes.erase("r");
        expectNotes(f, *reopened, notes, c.name);
    }
}

TEST(TreeDoc, ReadOnlyOpenAndSave) {
    TDoc_Fixture f;
    auto doc = f.newDoc("r(a)");
    ASSERT_TRUE(doc->saveAs(f.path("ro.vt"), {}));
    auto readOnly = f.readOnlyDoc("ro.vt");
    std::vector<TTree_Node*> roots;
    TRead_Error error{};
    ASSERT_TRUE(readOnly->open(f.path("ro.vt"), roots, error));
    EXPECT_TRUE(readOnly->isReadOnly());
    EXPECT_EQ(f.Messages.texts(), std::vector<std::string>{"該文件將以只讀方式打開"});
    EXPECT_FALSE(readOnly->saveAs(f.path("ro.vt"), {}));
    EXPECT_EQ(f.Messages.texts().back(), "只讀方式打開，請選擇另存文件保存");
    EXPECT_TRUE(readOnly->open(f.path("ro.vt"), roots, error)) << "same name: nothing to do";
}

TEST(TreeDoc, OpenFailuresLeaveTheDocumentAsItWas) {
    const struct {
        const char* name;
        const char* bytes;  // null: no file
        TRead_Error error;
        std::vector<std::string> messages;
    } cases[] = {
        {"missing", nullptr, TRead_Error::CannotRead, {}},
        {"newer version", "vt31", TRead_Error::NewerVersion, {"該文件需要更高版本的軟件打開"}},
        {"not a document", "hello", TRead_Error::NotADocument, {}},
    };
    for (const auto& c : cases) {
        TDoc_Fixture f;
        if (c.bytes != nullptr) std::ofstream(f.path("x.vt"), std::ios::binary) << c.bytes;
        auto doc = f.newDoc("r(a)");
        std::vector<TTree_Node*> roots;
        TRead_Error error{};
        EXPECT_FALSE(doc->open(f.path("x.vt"), roots, error)) << c.name;
        EXPECT_EQ(error, c.error) << c.name;
        EXPECT_EQ(f.Messages.texts(), c.messages) << c.name;
        EXPECT_EQ(describe(*doc->root()), "r(a)") << c.name;
    }
}

// Note locations come from the file: those it cannot justify become absent
// notes with a warning instead of wild reads or huge allocations.
TEST(TreeDoc, ImplausibleNoteLocationsBecomeAbsentNotes) {
    const struct {
        const char* name;
        int32_t offset, size, rawSize;
    } cases[] = {
        {"behind the end", 1 << 20, 10, 0},       {"runs past the end", 300, 1 << 30, 0},
        {"negative offset", -5, 10, 0},           {"negative size", 300, -10, 0},
        {"absurd raw size", 300, 10, 2000000000},
    };
    for (const auto& c : cases) {
        TDoc_Fixture f;
        auto doc = f.newDoc("r(a)");
        TTree_Node* a = find(*doc->root(), "a");
        a->Content_Offset = c.offset;
        a->Content_Size = c.size;
        a->Content_Raw_Size = c.rawSize;
        auto file = openFile(f.path("bad.vt"), TOpen_Mode::Create);
        ASSERT_TRUE(writeZeros(*file, 0, 1000));
        ASSERT_TRUE(file->seek(0) && writeNodeTree(*file, *doc->root(), {}));
        file.reset();

        auto opened = f.openDoc("bad.vt");
        ASSERT_TRUE(opened) << c.name;
        TTree_Node* loaded = find(*opened->root(), "a");
        EXPECT_EQ(loaded->Content_Size, 0) << c.name;
        EXPECT_EQ(loaded->Content_Raw_Size, 0) << c.name;
        EXPECT_EQ(f.Messages.texts(), std::vector<std::string>{"文件 %s 中有已損壞的筆記，已略去"})
            << c.name;
        EXPECT_EQ(f.noteOf(*opened, *loaded), "") << c.name;
    }
}

TEST(TreeDoc, CompactionThresholds) {
    const struct {
        const char* name;
        int64_t fileSize, liveSize;
        bool compacts;
    } cases[] = {
        {"ratio 2.5, waste 60000", 100000, 40000, true},
        {"waste 40000 only", 60000, 20000, false},
        {"ratio exactly 1.2", 360000, 300000, true},
        {"one byte shorter", 359999, 300000, false},
        {"waste exactly 50000", 100000, 50000, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(needsCompaction(c.fileSize, c.liveSize), c.compacts) << c.name;
}

TEST(TreeDoc, CloseQuery) {
    const struct {
        const char* name;
        bool modified;
        TSave_Answer answer;
        bool saveSucceeds;
        bool closes;
    } cases[] = {
        {"unmodified closes without asking", false, TSave_Answer::Cancel, true, true},
        {"cancel", true, TSave_Answer::Cancel, true, false},
        {"no", true, TSave_Answer::No, true, true},
        {"yes and saved", true, TSave_Answer::Yes, true, true},
        {"yes but the save failed", true, TSave_Answer::Yes, false, false},
    };
    for (const auto& c : cases) {
        TDoc_Fixture f;
        auto doc = f.newDoc("r");
        doc->Modified = c.modified;
        f.Messages.Save_Answers.push_back(c.answer);
        bool closes = doc->closeQuery("Vetra - r", [&] {
            if (c.saveSucceeds) doc->Modified = 0;
        });
        EXPECT_EQ(closes, c.closes) << c.name;
        std::vector<std::string> asked;
        if (c.modified) asked = {"%s 數據沒有保存，保存數據？"};
        EXPECT_EQ(f.Messages.texts(), asked) << c.name;
        for (const auto& message : f.Messages.Messages) EXPECT_EQ(message.Argument, "Vetra - r");
    }
}

TEST(TreeDoc, SaveCommandAsksForANameOnlyOnce) {
    TDoc_Fixture f;
    auto doc = f.newDoc("r");
    TScripted_File_Names names;
    EXPECT_FALSE(doc->saveCommand(names, {})) << "cancelled";
    names.Answers.push_back(f.path("asked.vt"));
    ASSERT_TRUE(doc->saveCommand(names, {}));
    ASSERT_TRUE(doc->saveCommand(names, {}));
    EXPECT_EQ(names.Proposed, (std::vector<std::string>{"r", "r"}));
    EXPECT_EQ(doc->fileName(), f.path("asked.vt"));
}

TEST(TreeDoc, SubtreeExportsCarryUnsavedNotes) {
    TDoc_Fixture f;
    auto doc = f.newDoc("r(a(b),c)");
    giveNotes(f, *doc->root(), 800);
    ASSERT_TRUE(doc->saveAs(f.path("src.vt"), {}));
    auto notes = giveNotes(f, *find(*doc->root(), "a"), 1500);  // changed, not saved
    std::string before = f.bytesOf("src.vt");

    ASSERT_TRUE(doc->exportSubtreeTo(*find(*doc->root(), "a"), f.path("sub.vt")));
    EXPECT_EQ(f.bytesOf("src.vt"), before);
    auto exported = f.openDoc("sub.vt");
    EXPECT_EQ(describe(*exported->root()), "a(b)");
    expectNotes(f, *exported, notes, "export to file");

    auto fresh = doc->newDocumentFromSubtree(*find(*doc->root(), "a"));
    EXPECT_EQ(fresh->Modified, 1);
    EXPECT_FALSE(fresh->hasFile());
    ASSERT_TRUE(fresh->saveAs(f.path("fresh.vt"), {}));
    expectNotes(f, *f.openDoc("fresh.vt"), notes, "export to new document");

    TScripted_File_Names names;
    names.Answers.push_back(f.path("asked.vt"));
    EXPECT_EQ(doc->exportSubtree(*find(*doc->root(), "c"), names), f.path("asked.vt"));
    EXPECT_EQ(names.Proposed, std::vector<std::string>{"c"});
}

// Copy in one document, paste into another: the pasted notes come from the
// first document's file and are written into the second at its next save.
TEST(TreeDoc, CopiedNotesTravelBetweenDocuments) {
    TDoc_Fixture f;
    auto source = f.newDoc("r(a(b))");
    auto notes = giveNotes(f, *source->root(), 2000);
    ASSERT_TRUE(source->saveAs(f.path("from.vt"), {}));
    TEdit_Fixture edit("x");
    TCurrent_View view{source->root(), nullptr, true};
    TEdit_Context copyCtx{*source, view, edit.Host, f.Messages, edit.Clipboard};
    find(*source->root(), "a")->setSelected(true);
    copySelection(copyCtx);

    auto target = f.newDoc("t");
    TCurrent_View targetView{target->root(), nullptr, true};
    TEdit_Context pasteCtx{*target, targetView, edit.Host, f.Messages, edit.Clipboard};
    target->root()->setSelected(true);
    ASSERT_TRUE(pasteClipboard(pasteCtx));
    ASSERT_TRUE(target->saveAs(f.path("to.vt"), {}));
    auto reopened = f.openDoc("to.vt");
    notes.erase("r");
    expectNotes(f, *reopened, notes, "pasted");
}

TEST(ContentStore, LivesInAPrivateTemporaryDirectory) {
    TContent_Store* store = contentStore();
    ASSERT_NE(store, nullptr);
    std::filesystem::path path = store->path();
    EXPECT_EQ(path.filename(), "vt_tmp.~dt");
    EXPECT_NE(path.parent_path(), std::filesystem::current_path());
    auto temp = std::filesystem::temp_directory_path() / "";
    EXPECT_EQ(path.parent_path().parent_path() / "", temp.lexically_normal());
    auto offset = store->append("abc");
    ASSERT_TRUE(offset);
    std::string back;
    ASSERT_TRUE(store->read(*offset, 3, back));
    EXPECT_EQ(back, "abc");
    EXPECT_FALSE(store->read(*offset, 4, back)) << "beyond the end";
}

TEST(ContentStore, DamagedCompressedNoteBecomesAbsent) {
    TDoc_Fixture f;
    TMemory_File file(std::string(64, 'x'));
    TTree_Node node;
    node.Content_Offset = 10;
    node.Content_Size = 20;
    node.Content_Raw_Size = 500;  // plausible, but the bytes are no zlib stream
    EXPECT_EQ(loadNote(node, &file, f.Store), TNote_Load::Damaged);
    EXPECT_EQ(node.Content_Size, 0);
    EXPECT_EQ(node.Work_Size, 0);
}

}  // namespace
}  // namespace vetra::test
