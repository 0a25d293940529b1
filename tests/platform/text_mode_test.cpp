#include "platform/text_mode.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include "platform/text_codec.h"

namespace vetra {
namespace {

std::string gbk(std::string_view utf8) {
    return utf8ToCodePage(utf8, 1).text;
}
std::string big5(std::string_view utf8) {
    return utf8ToCodePage(utf8, 2).text;
}

TEST(TextMode, LocaleNamesGiveWindowsIdsAndModes) {
    const struct {
        const char* locale;
        int id;
        int mode;
    } rows[] = {
        {"zh_TW.UTF-8", 1028, 2},
        {"zh_HK.Big5-HKSCS", 1028, 2},
        {"zh_MO", 1028, 2},
        {"zh_CN.GB2312", 2052, 1},
        {"zh_SG.UTF-8", 2052, 1},
        {"en_US.UTF-8", 1033, 1},
        {"de_DE@euro", 1031, 1},
        {"C", 1033, 1},
        {"", 1033, 1},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(localeIdFromName(row.locale), row.id) << row.locale;
        EXPECT_EQ(textModeForLocaleId(localeIdFromName(row.locale)), row.mode) << row.locale;
    }
}

TEST(TextMode, EnvironmentChoosesTheMode) {
    const char* saved = getenv("VETRA_TEXT_MODE");
    std::string savedValue = saved ? saved : "";
    unsetenv("VETRA_TEXT_MODE");
    setenv("LC_ALL", "", 1);
    setenv("LC_MESSAGES", "zh_TW.UTF-8", 1);
    setenv("LANG", "en_US.UTF-8", 1);
    EXPECT_EQ(chooseTextMode(), 2) << "LC_MESSAGES comes before LANG";
    setenv("LC_ALL", "zh_CN.UTF-8", 1);
    EXPECT_EQ(chooseTextMode(), 1) << "LC_ALL wins";
    setenv("VETRA_TEXT_MODE", "2", 1);
    EXPECT_EQ(chooseTextMode(), 2) << "the override wins";
    if (saved)
        setenv("VETRA_TEXT_MODE", savedValue.c_str(), 1);
    else
        unsetenv("VETRA_TEXT_MODE");
    setActiveTextMode(1);
}

TEST(TextMode, ProgramTextsFollowTheActiveMode) {
    setActiveTextMode(1);
    EXPECT_EQ(programText("雙擊輸入標題"), gbk("双击输入标题"));
    EXPECT_EQ(programTextUtf8("該文件需要更高版本的軟件打開"), "该文件需要更高版本的软件打开");
    setActiveTextMode(2);
    EXPECT_EQ(programText("雙擊輸入標題"), big5("雙擊輸入標題"));
    EXPECT_EQ(nodeTextToUtf8(big5("新節點")), "新節點");
    setActiveTextMode(1);
}

TEST(TextCodec, ConvertsBetweenModes) {
    const struct {
        const char* name;
        std::string input;
        int from, to;
        std::string expected;
        int replaced;
    } rows[] = {
        {"simplified to traditional", gbk("简体中文"), 1, 2, big5("簡體中文"), 0},
        {"traditional to simplified", big5("專案計畫"), 2, 1, gbk("专案计划"), 0},
        {"ASCII passes", "plain text", 1, 2, "plain text", 0},
        {"same mode untouched", gbk("简体"), 1, 1, gbk("简体"), 0},
        {"unknown mode untouched", "\xB0\xA1", 3, 1, "\xB0\xA1", 0},
        {"no Big5 form is reported", gbk("a①b"), 1, 2, "a?b", 1},
        {"cut character is reported", std::string("ab\xB0"), 1, 2, "ab?", 1},
    };
    for (const auto& row : rows) {
        TConverted_Text result = convertBetweenModes(row.input, row.from, row.to);
        EXPECT_EQ(result.text, row.expected) << row.name;
        EXPECT_EQ(result.replaced, row.replaced) << row.name;
    }
}

TEST(TextCodec, UnrepresentableCharactersAreCountedNotDropped) {
    TConverted_Text result = utf8ToCodePage("标题😀!", 1);
    EXPECT_EQ(result.text, gbk("标题") + "?!");
    EXPECT_EQ(result.replaced, 1);
    EXPECT_EQ(codePageToUtf8("\xFF\x41", 1).replaced, 1) << "an invalid lead byte";
}

TEST(TextCodec, CharacterPrefixNeverSplitsDoubleBytes) {
    EXPECT_EQ(characterPrefixLength("abc", 2), 2u);
    EXPECT_EQ(characterPrefixLength("a\xB0\xA1", 2), 1u);
    EXPECT_EQ(characterPrefixLength("a\xB0\xA1", 3), 3u);
    EXPECT_EQ(characterPrefixLength("a\xB0", 5), 1u) << "a lone lead byte at the end";
    EXPECT_EQ(characterPrefixLength("a\x80" "b", 2), 2u) << "0x80 is a character of its own";
}

}  // namespace
}  // namespace vetra
