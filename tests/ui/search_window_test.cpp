#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QtTest/QTest>

#include "tests/ui/fake_target.h"
#include "ui/dialog_script.h"
#include "ui/form_search.h"
#include "ui/search_commands.h"

namespace vetra {
namespace {

using test::TFake_Target;

// root(alpha(beta(gamma)), delta(中文), alpha2); beta is collapsed.
struct TSearch_Fixture {
    TFake_Target window;
    TTree_Node *root, *alpha, *beta, *gamma, *delta, *chinese, *alpha2;
    TSearch_Fixture() {
        root = window.View_Root;
        root->setCaption("root");
        alpha = testing::addChild(*root, "alpha");
        beta = testing::addChild(*alpha, "beta");
        gamma = testing::addChild(*beta, "gamma");
        delta = testing::addChild(*root, "delta");
        chinese = testing::addChild(*delta, "\xD6\xD0\xCE\xC4");  // 中文 in GBK
        alpha2 = testing::addChild(*root, "alpha2");
        beta->Expanded = 0;
        window.relayout();
    }
    std::vector<TTree_Node*> selected() {
        std::vector<TTree_Node*> out;
        for (TTree_Node* n : {root, alpha, beta, gamma, delta, chinese, alpha2})
            if (n->selected()) out.push_back(n);
        return out;
    }
};

TEST(SearchDialog, OkButtonFollowsTheFieldAndEnterConfirmsIt) {
    TForm_Search dialog(nullptr);
    EXPECT_TRUE(dialog.Button_Ok->isEnabled()) << "an untouched field may be confirmed";
    const struct {
        const char* name;
        const char* text;
        bool enabled;
    } rows[] = {
        {"blanks only", "   ", false},
        {"text with blanks", " a ", true},
        {"emptied again", "", false},
        {"Chinese", "中", true},
    };
    for (const auto& row : rows) {
        dialog.Edit_To_Search->setText(QString::fromUtf8(row.text));
        EXPECT_EQ(dialog.Button_Ok->isEnabled(), row.enabled) << row.name;
    }
    dialog.show();
    dialog.Edit_To_Search->clear();
    QTest::keyClicks(dialog.Edit_To_Search, " be ");
    QTest::keyClick(dialog.Edit_To_Search, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Edit_To_Search->text(), " be ") << "Enter confirms the text as typed";
}

TEST(SearchCommands, FirstNextAndPreviousSelectAndReveal) {
    TSearch_Fixture f;
    f.delta->setSelected(true);
    const struct {
        const char* name;
        const char* command;  // "first TEXT", "next", "previous"
        const char* text;
        TTree_Node* TSearch_Fixture::*selected;
        bool found;
        bool relayout;
    } rows[] = {
        // clang-format off
        {"no match keeps the selection", "first", "zeta", &TSearch_Fixture::delta, false, false},
        {"match inside a collapsed branch", "first", "mm", &TSearch_Fixture::gamma, true, true},
        {"first match from the root", "first", "ta", &TSearch_Fixture::beta, true, false},
        {"next match", "next", nullptr, &TSearch_Fixture::delta, true, false},
        {"after the last match nothing moves", "next", nullptr, &TSearch_Fixture::delta, false, false},
        {"previous match", "previous", nullptr, &TSearch_Fixture::beta, true, false},
        {"untouched dialog finds the root", "first", "", &TSearch_Fixture::root, true, false},
        {"previous from the root does nothing", "previous", nullptr, &TSearch_Fixture::root, false, false},
        {"empty text steps one node", "next", nullptr, &TSearch_Fixture::alpha, true, false},
        // clang-format on
    };
    for (const auto& row : rows) {
        f.window.Revealed.clear();
        if (row.relayout) {
            EXPECT_FALSE(f.beta->Expanded) << row.name;
        }
        const std::string command = row.command;
        const bool found = command == "first"  ? searchFirst(f.window, row.text)
                           : command == "next" ? searchNext(f.window)
                                               : searchPrevious(f.window);
        EXPECT_EQ(found, row.found) << row.name;
        EXPECT_EQ(f.selected(), std::vector<TTree_Node*>{f.*row.selected}) << row.name;
        if (row.found) {
            ASSERT_EQ(f.window.Revealed.size(), 1u) << row.name;
            EXPECT_EQ(f.window.Revealed[0].first, f.*row.selected) << row.name;
            EXPECT_EQ(f.window.Revealed[0].second, row.relayout) << row.name;
            EXPECT_TRUE(f.beta->Expanded || row.relayout == false) << row.name;
        } else {
            EXPECT_TRUE(f.window.Revealed.empty()) << row.name;
        }
    }
}

TEST(SearchCommands, TextsFromTheDialog) {
    TSearch_Fixture f;
    TDialog_Script script;
    TDialog_Script::activate(&script);
    script.queueAnswer(QString::fromUtf8("文"));
    EXPECT_TRUE(searchWithDialog(nullptr, f.window));
    EXPECT_EQ(f.selected(), std::vector<TTree_Node*>{f.chinese});
    EXPECT_EQ(f.window.Search_Text, "\xCE\xC4");

    EXPECT_FALSE(searchWithDialog(nullptr, f.window)) << "cancelled";
    EXPECT_EQ(f.window.Search_Text, "\xCE\xC4");

    // A character GBK cannot hold is in no caption; "?" must not stand in for it.
    testing::addChild(*f.root, "what?");
    EXPECT_FALSE(runSearchCommand(f.window, QString::fromUtf8("\xF0\x9F\x98\x80")));
    EXPECT_EQ(f.selected(), std::vector<TTree_Node*>{f.chinese});

    EXPECT_TRUE(runSearchCommand(f.window, "alpha2"));
    EXPECT_EQ(f.selected(), std::vector<TTree_Node*>{f.alpha2});
    TDialog_Script::activate(nullptr);

    std::string longText(150, 'x');
    for (int i = 0; i < 30; ++i) longText += "\xD6\xD0";
    searchFirst(f.window, longText);
    EXPECT_EQ(f.window.Search_Text.size(), 198u) << "199 bytes would cut a character";
}

}  // namespace
}  // namespace vetra
