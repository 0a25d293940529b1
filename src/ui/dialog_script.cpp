#include "ui/dialog_script.h"

#include <cstdio>

namespace vetra {
namespace {
TDialog_Script* Active_Script = nullptr;
}

TDialog_Script* TDialog_Script::active() {
    return Active_Script;
}

void TDialog_Script::activate(TDialog_Script* script) {
    Active_Script = script;
}

std::optional<QString> TDialog_Script::takeAnswer() {
    if (Answers_.empty()) return std::nullopt;
    QString answer = Answers_.front();
    Answers_.pop_front();
    return answer;
}

void TDialog_Script::recordMessage(const QString& caption, const QString& text) {
    QString line = caption + ": " + text;
    Messages_.append(line);
    if (Echo_) {
        QByteArray bytes = ("message: " + line + "\n").toUtf8();
        std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
        std::fflush(stdout);
    }
}

}  // namespace vetra
