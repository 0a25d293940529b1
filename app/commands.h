#pragma once

#include <string>
#include <string_view>

namespace vetra {

// Commands that run without a display. Each returns the process exit status.
int runDump(const std::string& path);

// A program text (traditional, UTF-8, with at most one "%s") in the active
// mode, with the argument put in, as UTF-8 for the terminal.
std::string terminalMessage(std::string_view text, const std::string& argument);

}  // namespace vetra
