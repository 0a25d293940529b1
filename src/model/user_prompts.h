#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vetra {

// What the core must tell or ask the user. The editor answers with message
// boxes, the command line with standard error, tests with a recorder.
//
// `text` is a program text as written in the source (traditional characters,
// UTF-8) with at most one "%s"; `argument` goes into it after the text has been
// converted to the active mode (formatProgramMessage), so file names and node
// captions are never converted themselves.
enum class TSave_Answer { Yes, No, Cancel };

class TUser_Messages {
  public:
    virtual ~TUser_Messages() = default;
    // "系統信息", OK.
    virtual void information(std::string_view text, std::string_view argument = {}) = 0;
    // "系統確認", Yes and No; true for Yes.
    virtual bool confirmation(std::string_view text, std::string_view argument = {}) = 0;
    // "系統警告", OK with the exclamation icon.
    virtual void warning(std::string_view text, std::string_view argument = {}) = 0;
    // The close question, "系統提示", Yes, No and Cancel with the question icon.
    virtual TSave_Answer askSave(std::string_view text, std::string_view argument = {}) = 0;
};

// Captions of the boxes above, as written in the source.
inline constexpr std::string_view kCaption_Information = "系統信息";
inline constexpr std::string_view kCaption_Confirmation = "系統確認";
inline constexpr std::string_view kCaption_Warning = "系統警告";
inline constexpr std::string_view kCaption_Save_Prompt = "系統提示";

// Asks for the name of a document file to write ("Vetra文件(*.vt)|*.vt",
// default extension ".vt"). `proposedName` is a node caption in the active
// code page. Empty when the user cancels.
class TFile_Name_Prompt {
  public:
    virtual ~TFile_Name_Prompt() = default;
    virtual std::optional<std::string> askSaveFileName(std::string_view proposedName) = 0;
};

// The text converted to the active mode (UTF-8) with the argument put in
// place of its first "%s".
std::string formatProgramMessage(std::string_view text, std::string_view argument);

}  // namespace vetra
