#include "ui/message_box.h"

#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QPushButton>

#include "platform/text_mode.h"
#include "ui/dialog_script.h"
#include "ui/qt_translations.h"

namespace vetra {
namespace {

TEST(MessageBox, FormatsConvertedTextsAndTakesScriptedAnswers) {
    TDialog_Script script;
    TDialog_Script::activate(&script);
    setActiveTextMode(1);
    message_box::warning(nullptr, "無法打開文件 %s", {"/tmp/a.vt"});
    script.queueAnswer("no");
    EXPECT_FALSE(message_box::confirmation(nullptr, "刪除 %d 個節點？", {"3"}));
    EXPECT_TRUE(message_box::confirmation(nullptr, "繼續？")) << "no answer queued: default Yes";
    script.queueAnswer("cancel");
    EXPECT_EQ(message_box::saveQuestion(nullptr, "Vetra - a"), TSave_Answer::Cancel);
    setActiveTextMode(2);
    message_box::information(nullptr, "該文件需要更高版本的軟件打開");
    setActiveTextMode(1);
    TDialog_Script::activate(nullptr);

    QStringList expected = {
        QString::fromUtf8("系统警告: 无法打开文件 /tmp/a.vt"),
        QString::fromUtf8("系统确认: 删除 3 个节点？"),
        QString::fromUtf8("系统确认: 继续？"),
        QString::fromUtf8("系统提示: Vetra - a 数据没有保存，保存数据？"),
        QString::fromUtf8("系統信息: 該文件需要更高版本的軟件打開"),
    };
    EXPECT_EQ(script.messages(), expected);
}

// Qt's own buttons follow the text mode instead of staying in English.
TEST(MessageBox, QtButtonsSpeakTheTextModesLanguage) {
    setActiveTextMode(1);
    ASSERT_TRUE(installQtTranslations());
    QDialogButtonBox box(QDialogButtonBox::Cancel);
    EXPECT_EQ(box.button(QDialogButtonBox::Cancel)->text(), QString::fromUtf8("取消"));
}

TEST(MessageBox, FormatFillsSlotsInOrder) {
    const struct {
        const char* format;
        QStringList arguments;
        const char* expected;
    } rows[] = {
        {"%s and %d", {"a", "7"}, "a and 7"},
        {"100%% of %s", {"x"}, "100% of x"},
        {"missing %s", {}, "missing "},
        {"trailing %", {}, "trailing %"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(message_box::formatMessage(row.format, row.arguments), row.expected)
            << row.format;
}

}  // namespace
}  // namespace vetra
