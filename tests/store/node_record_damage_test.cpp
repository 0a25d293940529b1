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

struct TRead_Result {
    bool ok;
    TRead_Error error;
};

TRead_Result readBytes(const std::string& bytes, TTree_Node& root) {
    TMemory_File file(bytes);
    std::vector<TTree_Node*> viewRoots;
    TRead_Error error = TRead_Error::None;
    bool ok = readNodeTree(file, root, viewRoots, error);
    return {ok, error};
}

TRead_Result readBytes(const std::string& bytes) {
    TTree_Node root;
    return readBytes(bytes, root);
}

// root with two children, the second with one child of its own.
std::string threeLevelDocument() {
    return newNodeRecordBody("root") + childrenRecord(2) + newNodeRecord("a") +
           newNodeRecordBody("b") + childrenRecord(1) + newNodeRecord("b1");
}

std::string withRecordBeforeD(const std::string& record) {
    return newNodeRecordBody("n") + record + childrenRecord(0);
}

TEST(NodeRecordDamage, HeaderAndLengthChecks) {
    const struct {
        const char* name;
        std::string bytes;
        bool ok;
        TRead_Error error;
    } rows[] = {
        {"wrong magic", "xx30" + newNodeRecord("n").substr(4), false, TRead_Error::NotADocument},
        {"newer version", newNodeRecordBody("n", "31") + childrenRecord(0), false,
         TRead_Error::NewerVersion},
        {"version 40", newNodeRecordBody("n", "40") + childrenRecord(0), false,
         TRead_Error::NewerVersion},
        {"older version reads", newNodeRecordBody("n", "29") + childrenRecord(0), true,
         TRead_Error::None},
        {"length at the limit",
         withRecordBeforeD(std::string("Z") + be32(409600) + std::string(409600, 'z')), true,
         TRead_Error::None},
        {"length above the limit",
         withRecordBeforeD(std::string("Z") + be32(409601) + std::string(409601, 'z')), false,
         TRead_Error::Damaged},
        {"negative length", withRecordBeforeD(std::string("A") + be32(0xFFFFFFFF)), false,
         TRead_Error::Damaged},
        {"caption longer than the file", withRecordBeforeD(std::string("A") + be32(4000) + "abc"),
         false, TRead_Error::Damaged},
        {"child count the file cannot hold", newNodeRecordBody("n") + childrenRecord(409600), false,
         TRead_Error::Damaged},
        {"child count above the limit", newNodeRecordBody("n") + childrenRecord(0x7FFFFFFF), false,
         TRead_Error::Damaged},
        {"child with wrong magic", newNodeRecordBody("n") + childrenRecord(1) + "xx30", false,
         TRead_Error::Damaged},
        {"empty file", "", false, TRead_Error::Damaged},
        {"no 'D' record", newNodeRecordBody("n"), false, TRead_Error::Damaged},
    };
    for (const auto& row : rows) {
        TRead_Result result = readBytes(row.bytes);
        EXPECT_EQ(result.ok, row.ok) << row.name;
        EXPECT_EQ(result.error, row.error) << row.name;
    }
}

TEST(NodeRecordDamage, UnknownAndLegacyRecordsArePassedOver) {
    std::string bytes = newNodeRecordBody("n") + "L" + be32(4) + be32(77) + "Q" + be32(3) + "xyz" +
                        test::intRecord('c', 30) + childrenRecord(0);
    TTree_Node node;
    ASSERT_TRUE(readBytes(bytes, node).ok);
    EXPECT_EQ(node.Font_Size, 30) << "the record behind the unknown ones is still read";
}

TEST(NodeRecordDamage, LongFontNameKeepsWholeCharacters) {
    std::string name = std::string(62, 'f') + "\xCB\xCE" + "tail";
    TTree_Node node;
    ASSERT_TRUE(readBytes(withRecordBeforeD(test::textRecord('b', name)), node).ok);
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

TEST(NodeRecordDamage, WriteFailureIsSticky) {
    class TFull_Disk : public TMemory_File {
      public:
        bool write(const void*, int64_t) override { return false; }
    };
    TFull_Disk disk;
    TTree_Node root;
    EXPECT_FALSE(writeNodeTree(disk, root, {}));
}

}  // namespace
}  // namespace vetra
