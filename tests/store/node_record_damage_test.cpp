#include <gtest/gtest.h>

#include <random>

#include "platform/text_mode.h"
#include "store/node_record.h"
#include "store/record_bytes.h"

namespace vetra {
namespace {

using test::be32;
using test::childrenRecord;
using test::newNodeRecord;
using test::newNodeRecordBody;

constexpr TRead_Error Damaged = TRead_Error::Damaged;

struct TRead_Result {
    bool ok;
    TRead_Error error;
};

TRead_Result readBytes(const std::string& bytes, TTree_Node* into = nullptr) {
    TTree_Node scratch;
    TTree_Node& root = into != nullptr ? *into : scratch;
    TMemory_File file(bytes);
    std::vector<TTree_Node*> viewRoots;
    TRead_Error error = TRead_Error::None;
    bool ok = readNodeTree(file, root, viewRoots, error);
    return {ok, error};
}

// root with two children, the second with one child of its own.
std::string threeLevelDocument() {
    return newNodeRecordBody("root") + childrenRecord(2) + newNodeRecord("a") +
           newNodeRecordBody("b") + childrenRecord(1) + newNodeRecord("b1");
}

std::string ofVersion(const char* version) {
    return newNodeRecordBody("n", version) + childrenRecord(0);
}

// A record whose length field says `length`, followed by `bytes`.
std::string withLength(char tag, uint32_t length, std::string_view bytes = "") {
    return newNodeRecordBody("n") + tag + be32(length) + std::string(bytes) + childrenRecord(0);
}

// The read succeeds exactly when the row expects no error.
TEST(NodeRecordDamage, HeaderAndLengthChecks) {
    const std::string n = newNodeRecordBody("n");
    const struct {
        const char* name;
        std::string bytes;
        TRead_Error error;
    } rows[] = {
        {"wrong magic", "xx30" + newNodeRecord("n").substr(4), TRead_Error::NotADocument},
        {"newer version", ofVersion("31"), TRead_Error::NewerVersion},
        {"version 40", ofVersion("40"), TRead_Error::NewerVersion},
        {"older version reads", ofVersion("29"), TRead_Error::None},
        {"length at the limit", withLength('Z', 409600, std::string(409600, 'z')), {}},
        {"length above the limit", withLength('Z', 409601, std::string(409601, 'z')), Damaged},
        {"negative length", withLength('A', 0xFFFFFFFF), Damaged},
        {"caption longer than the file", withLength('A', 4000, "abc"), Damaged},
        {"child count the file cannot hold", n + childrenRecord(409600), Damaged},
        {"child count above the limit", n + childrenRecord(0x7FFFFFFF), Damaged},
        {"child with wrong magic", n + childrenRecord(1) + "xx30", Damaged},
        {"empty file", "", Damaged},
        {"no 'D' record", n, Damaged},
    };
    for (const auto& row : rows) {
        TRead_Result result = readBytes(row.bytes);
        EXPECT_EQ(result.ok, row.error == TRead_Error::None) << row.name;
        EXPECT_EQ(result.error, row.error) << row.name;
    }
}

// Unknown and legacy records are passed over; a font name too long for its
// field keeps whole characters.
TEST(NodeRecordDamage, UnknownRecordsAndLongFontNames) {
    std::string name = std::string(62, 'f') + "\xCB\xCE" + "tail";
    std::string bytes = newNodeRecordBody("n") + "L" + be32(4) + be32(77) + "Q" + be32(3) + "xyz" +
                        test::intRecord('c', 30) + test::textRecord('b', name) + childrenRecord(0);
    TTree_Node node;
    ASSERT_TRUE(readBytes(bytes, &node).ok);
    EXPECT_EQ(node.Font_Size, 30) << "the record behind the unknown ones is still read";
    EXPECT_EQ(node.fontName(), std::string(62, 'f'));
}

TEST(NodeRecordDamage, EveryCutOfAFileFailsCleanly) {
    std::string whole = threeLevelDocument();
    ASSERT_TRUE(readBytes(whole).ok);
    for (size_t length = 0; length < whole.size(); ++length) {
        TRead_Result result = readBytes(whole.substr(0, length));
        EXPECT_FALSE(result.ok) << "cut at " << length;
        EXPECT_EQ(result.error, TRead_Error::Damaged) << "cut at " << length;
    }
}

TEST(NodeRecordDamage, FlippedBytesNeverCrash) {
    setActiveTextMode(1);
    std::string whole = threeLevelDocument();
    std::mt19937 random(20261206);
    for (int round = 0; round < 3000; ++round) {
        std::string damaged = whole;
        int flips = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < flips; ++i)
            damaged[random() % damaged.size()] = static_cast<char>(random());
        readBytes(damaged);  // any outcome but a crash or a leak is fine
    }
}

TEST(NodeRecordDamage, ReadErrorsOfTheFileSystemAreReported) {
    class TFailing_File : public TMemory_File {
      public:
        using TMemory_File::TMemory_File;
        int64_t read(void*, int64_t) override { return -1; }
    };
    TFailing_File file(newNodeRecord("n"));
    TTree_Node root;
    std::vector<TTree_Node*> viewRoots;
    TRead_Error error;
    EXPECT_FALSE(readNodeTree(file, root, viewRoots, error));
    EXPECT_EQ(error, TRead_Error::CannotRead);
}

}  // namespace
}  // namespace vetra
