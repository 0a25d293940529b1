#pragma once

#include <string_view>

#include "store/node_record.h"

namespace vetra {

// What the user is told when a document cannot be read, in traditional
// characters (UTF-8) with one "%s" for the file name; convert before showing.
// Empty for a file that is not a document at all, which is passed over silently.
std::string_view readErrorText(TRead_Error error);

}  // namespace vetra
