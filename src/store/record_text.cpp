#include "store/record_text.h"

#include "platform/text_codec.h"
#include "platform/text_mode.h"

namespace vetra {

std::string convertRecordText(std::string_view bytes, int recordMode) {
    int active = activeTextMode();
    if (recordMode == active || bytes.empty()) return std::string(bytes);
    return convertBetweenModes(bytes, recordMode, active).text;
}

}  // namespace vetra
