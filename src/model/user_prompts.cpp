#include "model/user_prompts.h"

#include "platform/text_mode.h"

namespace vetra {

std::string formatProgramMessage(std::string_view text, std::string_view argument) {
    std::string message = programTextUtf8(text);
    size_t slot = message.find("%s");
    if (slot != std::string::npos) message.replace(slot, 2, argument);
    return message;
}

}  // namespace vetra
