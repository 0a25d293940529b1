#include "app/terminal_messages.h"

#include <cstdio>

namespace vetra {
namespace {

void printLine(std::string_view text, std::string_view argument) {
    std::string line = formatProgramMessage(text, argument);
    std::fprintf(stderr, "%s\n", line.c_str());
}

}  // namespace

void TTerminal_Messages::information(std::string_view text, std::string_view argument) {
    printLine(text, argument);
}

bool TTerminal_Messages::confirmation(std::string_view text, std::string_view argument) {
    printLine(text, argument);
    return false;
}

void TTerminal_Messages::warning(std::string_view text, std::string_view argument) {
    printLine(text, argument);
}

TSave_Answer TTerminal_Messages::askSave(std::string_view text, std::string_view argument) {
    printLine(text, argument);
    return TSave_Answer::Cancel;
}

}  // namespace vetra
