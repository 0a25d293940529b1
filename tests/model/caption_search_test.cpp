#include "model/caption_search.h"

#include <gtest/gtest.h>

#include "tests/model/tree_fixture.h"

namespace vetra {
namespace {

using test::buildTree;
using test::find;

// "中" in GBK is D6 D0, "文" is CE C4; "\xC1\x41" is a character whose second
// byte is the Latin "A".
TEST(CaptionSearch, MatchesOnlyWholeCharacters) {
    const struct {
        const char* name;
        std::string caption;
        std::string text;
        bool matches;
    } rows[] = {
        // clang-format off
        {"plain substring", "hello world", "o w", true},
        {"case-sensitive", "ABC", "abc", false},
        {"empty text matches everything", "anything", "", true},
        {"empty text matches an empty caption", "", "", true},
        {"text longer than caption", "ab", "abc", false},
        {"latin letter inside a Chinese character", "\xC1\x41", "A", false},
        {"same letter after the character", "\xC1\x41" "A", "A", true},
        {"second byte plus next character", "\xD6\xD0\xCE\xC4", "\xD0\xCE", false},
        {"whole Chinese character", "\xD6\xD0\xCE\xC4", "\xCE\xC4", true},
        {"mixed text", "x\xD6\xD0y\xCE\xC4z", "y\xCE\xC4", true},
        {"lone lead byte does not end inside a character", "\xD6\xD0", "\xD6", false},
        {"lone lead byte at the caption's own dangling end", "ab\xD6", "\xD6", true},
        {"0x80 is a character of its own", "\x80" "A", "A", true},
        // clang-format on
    };
    for (const auto& row : rows)
        EXPECT_EQ(captionContains(row.caption, row.text), row.matches) << row.name;
}

// Forward to the last node, then back to the view root; neither end wraps.
TEST(CaptionSearch, WalksPreOrderIncludingCollapsedBranches) {
    auto root = buildTree("r(a(b,c(d)),e(f),g)");
    find(*root, "c")->Expanded = 0;
    find(*root, "e")->Expanded = 0;
    TTree_Node* at = root.get();
    for (auto [direction, order] : {std::pair{TSearch_Direction::Forward, "abcdefg"},
                                    std::pair{TSearch_Direction::Backward, "fedcbar"}}) {
        for (const char* expected = order; *expected != 0; ++expected) {
            at = findNextMatch(*root, *at, "", direction);
            ASSERT_NE(at, nullptr) << *expected;
            EXPECT_EQ(at->Caption.view(), std::string(1, *expected));
        }
        EXPECT_EQ(findNextMatch(*root, *at, "", direction), nullptr) << order;
    }
}

TEST(CaptionSearch, FirstNextAndPreviousMatches) {
    auto root = buildTree("box(tin(cat),bat,hat(cap))");
    const struct {
        const char* name;
        const char* start;  // null: search first
        const char* text;
        TSearch_Direction direction;
        const char* found;  // null: nothing
    } rows[] = {
        {"first match may be the root", nullptr, "bo", TSearch_Direction::Forward, "box"},
        {"first match in pre-order", nullptr, "at", TSearch_Direction::Forward, "cat"},
        {"first with no match", nullptr, "dog", TSearch_Direction::Forward, nullptr},
        {"next skips the start", "cat", "at", TSearch_Direction::Forward, "bat"},
        {"next after the last match", "hat", "at", TSearch_Direction::Forward, nullptr},
        {"previous finds an earlier one", "hat", "at", TSearch_Direction::Backward, "bat"},
        {"previous never tests the start", "cap", "ca", TSearch_Direction::Backward, "cat"},
        {"previous reaches the root", "tin", "o", TSearch_Direction::Backward, "box"},
    };
    for (const auto& row : rows) {
        TTree_Node* found = row.start == nullptr ? findFirstMatch(*root, row.text)
                                                 : findNextMatch(*root, *find(*root, row.start),
                                                                 row.text, row.direction);
        EXPECT_EQ(found, row.found ? find(*root, row.found) : nullptr) << row.name;
    }
}

TEST(CaptionSearch, StaysInsideTheSubView) {
    auto root = buildTree("r(x1,v(x2,w),x3)");
    TTree_Node* view = find(*root, "v");  // parent link left in place on purpose
    EXPECT_EQ(findFirstMatch(*view, "x"), find(*root, "x2"));
    EXPECT_EQ(findNextMatch(*view, *find(*root, "x2"), "x", TSearch_Direction::Forward), nullptr);
    EXPECT_EQ(findNextMatch(*view, *find(*root, "w"), "x", TSearch_Direction::Forward), nullptr);
    EXPECT_EQ(findNextMatch(*view, *find(*root, "x2"), "", TSearch_Direction::Backward), view);
    EXPECT_EQ(findNextMatch(*view, *view, "", TSearch_Direction::Backward), nullptr);
}

TEST(CaptionSearch, StartPointAndSelection) {
    auto root = buildTree("r(a(b(c)),d)");
    EXPECT_EQ(&searchStartNode(*root), root.get()) << "nothing selected";
    find(*root, "d")->setSelected(true);
    EXPECT_EQ(&searchStartNode(*root), find(*root, "d"));
    find(*root, "a")->setSelected(true);
    EXPECT_EQ(&searchStartNode(*root), root.get()) << "several selected";

    find(*root, "a")->Expanded = 0;
    find(*root, "b")->Expanded = 0;
    EXPECT_TRUE(selectFoundNode(*root, *find(*root, "c")));
    EXPECT_TRUE(find(*root, "a")->Expanded && find(*root, "b")->Expanded);
    EXPECT_TRUE(find(*root, "c")->selected());
    EXPECT_FALSE(find(*root, "a")->selected() + find(*root, "d")->selected());
    EXPECT_FALSE(selectFoundNode(*root, *find(*root, "d"))) << "ancestors already expanded";
}

TEST(CaptionSearch, WideAndDeepTreesWithoutRecursion) {
    auto wide = buildTree("r");
    for (int i = 0; i < 20000; ++i) wide->appendChild(testing::makeNode(i == 19999 ? "last" : "n"));
    EXPECT_EQ(findFirstMatch(*wide, "last"), wide->child(19999));
    EXPECT_EQ(findNextMatch(*wide, *wide->child(19999), "r", TSearch_Direction::Backward),
              wide.get());

    auto deep = buildTree("top");
    TTree_Node* tip = deep.get();
    for (int i = 0; i < 100000; ++i) tip = tip->appendChild(testing::makeNode("n"));
    tip->setCaption("tip");
    EXPECT_EQ(findFirstMatch(*deep, "tip"), tip);
    EXPECT_EQ(findNextMatch(*deep, *tip, "top", TSearch_Direction::Backward), deep.get());
    EXPECT_FALSE(selectFoundNode(*deep, *tip));
}

}  // namespace
}  // namespace vetra
