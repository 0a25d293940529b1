#pragma once

#include <string>
#include <string_view>

namespace vetra {

// The process-wide text mode (1 simplified/GBK, 2 traditional/Big5), chosen
// once at start-up from the locale. Everything that reads or writes node texts
// and every program text shown to the user follows it.
int activeTextMode();
void setActiveTextMode(int mode);

// Windows-style locale identifier for a POSIX locale name such as
// "zh_TW.UTF-8": zh_TW, zh_HK and zh_MO give 1028; zh_CN and zh_SG give 2052.
int localeIdFromName(std::string_view localeName);
int textModeForLocaleId(int localeId);

// Picks the mode from VETRA_TEXT_MODE ("1" or "2", for tests and scripts), else
// from the first of LC_ALL, LC_MESSAGES, LANG that is set; stores and returns it.
int chooseTextMode();

// The program's own texts are written in the source as UTF-8 in traditional
// characters. These give them in the active mode: as code-page bytes (for node
// texts such as default captions) or as UTF-8 (for the interface and terminal).
std::string programText(std::string_view utf8Traditional);
std::string programTextUtf8(std::string_view utf8Traditional);

// A node text (bytes in the active code page) as UTF-8 for display.
std::string nodeTextToUtf8(std::string_view bytes);

}  // namespace vetra
