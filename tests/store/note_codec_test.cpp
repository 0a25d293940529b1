#include "store/note_codec.h"

#include <gtest/gtest.h>

#include <random>

namespace vetra {
namespace {

std::string noise(size_t size) {
    std::mt19937 random(7);
    std::string bytes(size, '\0');
    for (char& byte : bytes) byte = static_cast<char>(random());
    return bytes;
}

TEST(NoteCodec, CompressesOnlyLongNotesThatShrink) {
    const struct {
        const char* name;
        std::string note;
        bool compressed;
    } rows[] = {
        {"512 bytes stay raw", std::string(512, 'a'), false},
        {"513 compressible bytes", std::string(513, 'a'), true},
        {"long noise stays raw", noise(4000), false},
        {"empty", "", false},
    };
    for (const auto& row : rows) {
        TStored_Note stored = encodeNote(row.note);
        EXPECT_EQ(stored.rawSize > 0, row.compressed) << row.name;
        if (row.compressed) {
            EXPECT_EQ(stored.rawSize, static_cast<int32_t>(row.note.size())) << row.name;
            EXPECT_LT(stored.bytes.size(), row.note.size()) << row.name;
        }
        std::string back;
        ASSERT_TRUE(decodeNote(stored.bytes, stored.rawSize, back)) << row.name;
        EXPECT_EQ(back, row.note) << row.name;
    }
}

TEST(NoteCodec, RefusesDamagedStoredNotes) {
    std::string note = "{\\rtf1 " + std::string(3000, 'x') + "}";
    TStored_Note stored = encodeNote(note);
    ASSERT_GT(stored.rawSize, 0);
    std::string back;
    const struct {
        const char* name;
        std::string bytes;
        int32_t rawSize;
    } rows[] = {
        {"stream cut short", stored.bytes.substr(0, stored.bytes.size() / 2), stored.rawSize},
        {"not a zlib stream", std::string(40, 'q'), 500},
        {"raw size beyond any stream of this length", stored.bytes, 0x7FFFFFFF},
        {"raw size smaller than the note", stored.bytes, 100},
        {"negative raw size", stored.bytes, -4},
    };
    for (const auto& row : rows) EXPECT_FALSE(decodeNote(row.bytes, row.rawSize, back)) << row.name;
}

}  // namespace
}  // namespace vetra
