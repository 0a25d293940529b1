#pragma once

#include <iconv.h>

namespace vetra {

// iconv descriptors are costly to open, so every conversion in the program
// takes them from one cache: one descriptor per (to, from) pair, opened on
// first use and closed at exit. A pair iconv does not know is remembered as
// invalid too, so it is not asked again.
//
// Requires: callers reset the shift state (iconv(cd, nullptr, ...)) before a
// new text. The cache itself may be asked from any thread, but a descriptor
// keeps state while it converts, so one is used by one thread at a time (all
// conversions run on the main thread today).
iconv_t cachedIconv(const char* to, const char* from);

inline bool isValidIconv(iconv_t cd) {
    return cd != reinterpret_cast<iconv_t>(-1);
}

}  // namespace vetra
