#pragma once

#include "model/user_prompts.h"

namespace vetra {

// Messages of the commands that run without a display: each goes to standard
// error as one UTF-8 line. Questions are answered No / Cancel.
class TTerminal_Messages : public TUser_Messages {
  public:
    void information(std::string_view text, std::string_view argument) override;
    bool confirmation(std::string_view text, std::string_view argument) override;
    void warning(std::string_view text, std::string_view argument) override;
    TSave_Answer askSave(std::string_view text, std::string_view argument) override;
};

}  // namespace vetra
