#pragma once

// Test stand-ins for the message boxes and the file dialog: they record what
// the user would have seen and answer from a script.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "model/user_prompts.h"

namespace vetra::test {

struct TRecorded_Message {
    std::string Kind;  // "information", "confirmation", "warning", "askSave"
    std::string Text;  // as written in the source
    std::string Argument;
};

class TRecording_Messages : public TUser_Messages {
  public:
    void information(std::string_view text, std::string_view argument) override {
        add("information", text, argument);
    }
    bool confirmation(std::string_view text, std::string_view argument) override {
        add("confirmation", text, argument);
        if (Confirm_Answers.empty()) return false;
        bool answer = Confirm_Answers.front();
        Confirm_Answers.pop_front();
        return answer;
    }
    void warning(std::string_view text, std::string_view argument) override {
        add("warning", text, argument);
    }
    TSave_Answer askSave(std::string_view text, std::string_view argument) override {
        add("askSave", text, argument);
        if (Save_Answers.empty()) return TSave_Answer::Cancel;
        TSave_Answer answer = Save_Answers.front();
        Save_Answers.pop_front();
        return answer;
    }

    // The texts in order, for compact expectations.
    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const auto& message : Messages) out.push_back(message.Text);
        return out;
    }
    bool saw(std::string_view text) const {
        for (const auto& message : Messages)
            if (message.Text == text) return true;
        return false;
    }

    std::vector<TRecorded_Message> Messages;
    std::deque<bool> Confirm_Answers;
    std::deque<TSave_Answer> Save_Answers;

  private:
    void add(const char* kind, std::string_view text, std::string_view argument) {
        Messages.push_back({kind, std::string(text), std::string(argument)});
    }
};

class TScripted_File_Names : public TFile_Name_Prompt {
  public:
    std::optional<std::string> askSaveFileName(std::string_view proposedName) override {
        Proposed.emplace_back(proposedName);
        if (Answers.empty()) return std::nullopt;
        std::optional<std::string> answer = Answers.front();
        Answers.pop_front();
        return answer;
    }

    std::deque<std::optional<std::string>> Answers;
    std::vector<std::string> Proposed;
};

}  // namespace vetra::test
