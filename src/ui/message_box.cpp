#include "ui/message_box.h"

#include <QMessageBox>

#include "ui/dialog_script.h"
#include "ui/ui_text.h"

namespace vetra {
namespace message_box {
namespace {

enum class TButton { Ok, Yes, No, Cancel };

TButton buttonOf(int standardButton) {
    switch (standardButton) {
        case QMessageBox::Yes:
            return TButton::Yes;
        case QMessageBox::No:
            return TButton::No;
        case QMessageBox::Cancel:
            return TButton::Cancel;
        default:
            return TButton::Ok;
    }
}

// Shows the box, or while a script runs records it and takes the queued
// answer (the default button when none is queued).
TButton ask(QWidget* parent, QMessageBox::Icon icon, std::string_view caption, const QString& text,
            QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton) {
    QString title = uiText(caption);
    if (TDialog_Script* script = TDialog_Script::active()) {
        script->recordMessage(title, text);
        QString answer = script->takeAnswer().value_or(QString());
        if (answer == "yes" && (buttons & QMessageBox::Yes)) return TButton::Yes;
        if (answer == "no" && (buttons & QMessageBox::No)) return TButton::No;
        if (answer == "cancel" && (buttons & QMessageBox::Cancel)) return TButton::Cancel;
        if (answer == "ok" && (buttons & QMessageBox::Ok)) return TButton::Ok;
        return buttonOf(defaultButton);
    }
    QMessageBox box(icon, title, text, buttons, parent);
    box.setDefaultButton(defaultButton);
    return buttonOf(box.exec());
}

}  // namespace

QString formatMessage(const QString& format, const QStringList& arguments) {
    QString result;
    qsizetype next = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        QChar c = format[i];
        if (c == '%' && i + 1 < format.size()) {
            QChar kind = format[i + 1];
            if (kind == '%') {
                result += '%';
                ++i;
                continue;
            }
            if (kind == 's' || kind == 'd') {
                if (next < arguments.size()) result += arguments[next];
                ++next;
                ++i;
                continue;
            }
        }
        result += c;
    }
    return result;
}

void information(QWidget* parent, std::string_view format, const QStringList& arguments) {
    ask(parent, QMessageBox::NoIcon, "系統信息", formatMessage(uiText(format), arguments),
        QMessageBox::Ok, QMessageBox::Ok);
}

bool confirmation(QWidget* parent, std::string_view format, const QStringList& arguments) {
    return ask(parent, QMessageBox::Question, "系統確認", formatMessage(uiText(format), arguments),
               QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == TButton::Yes;
}

void warning(QWidget* parent, std::string_view format, const QStringList& arguments) {
    ask(parent, QMessageBox::Warning, "系統警告", formatMessage(uiText(format), arguments),
        QMessageBox::Ok, QMessageBox::Ok);
}

TSave_Answer saveQuestion(QWidget* parent, const QString& windowCaption) {
    return askSaveWith(parent, windowCaption + " " + uiText("數據沒有保存，保存數據？"));
}

}  // namespace message_box

namespace {

QStringList argumentList(std::string_view text, std::string_view argument) {
    if (text.find("%s") == std::string_view::npos) return {};
    return {QString::fromUtf8(argument.data(), static_cast<qsizetype>(argument.size()))};
}

}  // namespace

void TMessage_Box_Messages::information(std::string_view text, std::string_view argument) {
    message_box::information(Parent_, text, argumentList(text, argument));
}

bool TMessage_Box_Messages::confirmation(std::string_view text, std::string_view argument) {
    return message_box::confirmation(Parent_, text, argumentList(text, argument));
}

void TMessage_Box_Messages::warning(std::string_view text, std::string_view argument) {
    message_box::warning(Parent_, text, argumentList(text, argument));
}

TSave_Answer TMessage_Box_Messages::askSave(std::string_view text, std::string_view argument) {
    return message_box::askSaveWith(
        Parent_, message_box::formatMessage(uiText(text), argumentList(text, argument)));
}

namespace message_box {

TSave_Answer askSaveWith(QWidget* parent, const QString& text) {
    switch (ask(parent, QMessageBox::Question, "系統提示", text,
                QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes)) {
        case TButton::Yes:
            return TSave_Answer::Yes;
        case TButton::No:
            return TSave_Answer::No;
        default:
            return TSave_Answer::Cancel;
    }
}

}  // namespace message_box
}  // namespace vetra
