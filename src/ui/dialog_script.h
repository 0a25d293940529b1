#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <optional>

namespace vetra {

// When the editor runs a script (vetra --run) or a test drives it, dialogs do
// not open: message boxes print themselves and take the next queued answer,
// file and colour dialogs take the next queued value. Without an active
// script every dialog is shown to the user as usual.
class TDialog_Script {
  public:
    static TDialog_Script* active();
    // Makes `script` the active one (null ends scripting). Not owned.
    static void activate(TDialog_Script* script);

    void queueAnswer(const QString& answer) { Answers_.push_back(answer); }
    std::optional<QString> takeAnswer();
    bool hasAnswers() const { return !Answers_.empty(); }

    // Every message box shown while scripted lands here, as "CAPTION: TEXT".
    void recordMessage(const QString& caption, const QString& text);
    const QStringList& messages() const { return Messages_; }
    // Print each message to standard output as it arrives.
    void setEcho(bool echo) { Echo_ = echo; }

  private:
    std::deque<QString> Answers_;
    QStringList Messages_;
    bool Echo_ = false;
};

}  // namespace vetra
