#pragma once

#include <QString>
#include <QStringList>
#include <string_view>

#include "model/user_prompts.h"

class QWidget;

namespace vetra {

// The program's message boxes. Formats are program texts (traditional, UTF-8)
// with printf-style "%s" / "%d" slots filled from `arguments` in order; both
// the format and the caption are converted to the active text mode first.
namespace message_box {

// "系統信息", OK, no icon.
void information(QWidget* parent, std::string_view format, const QStringList& arguments = {});
// "系統確認", Yes and No; true for Yes.
bool confirmation(QWidget* parent, std::string_view format, const QStringList& arguments = {});
// "系統警告", OK with the exclamation icon.
void warning(QWidget* parent, std::string_view format, const QStringList& arguments = {});
// "系統提示", Yes, No and Cancel: the question of a window closing unsaved.
TSave_Answer saveQuestion(QWidget* parent, const QString& windowCaption);
// The same box with a text of its own.
TSave_Answer askSaveWith(QWidget* parent, const QString& text);

// Fills "%s" and "%d" slots in order; "%%" is a percent sign.
QString formatMessage(const QString& format, const QStringList& arguments);

}  // namespace message_box

// The core's messages shown as these boxes, over `parent`.
class TMessage_Box_Messages : public TUser_Messages {
  public:
    explicit TMessage_Box_Messages(QWidget* parent) : Parent_(parent) {}
    void information(std::string_view text, std::string_view argument = {}) override;
    bool confirmation(std::string_view text, std::string_view argument = {}) override;
    void warning(std::string_view text, std::string_view argument = {}) override;
    TSave_Answer askSave(std::string_view text, std::string_view argument = {}) override;

  private:
    QWidget* Parent_;
};

}  // namespace vetra
