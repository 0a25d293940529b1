#pragma once

#include <string>
#include <string_view>

namespace vetra {

// A caption or excerpt read from a record of `recordMode`, converted to the
// active text mode. Link texts are never converted.
std::string convertRecordText(std::string_view bytes, int recordMode);

}  // namespace vetra
