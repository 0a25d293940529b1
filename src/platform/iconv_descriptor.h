#pragma once

#include <iconv.h>

#include <cstddef>
#include <functional>
#include <string_view>

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

// Runs `input` through `cd` from its initial state, handing each piece of
// output to `emit`. Where iconv stops at input it cannot convert (or a
// character cut off at the end), `skipInvalid` gets the input from there on,
// writes whatever stands in for it and returns how many bytes to step over
// (at least one); conversion then goes on from a fresh state.
// Requires: `cd` is valid.
void convertWithIconv(iconv_t cd, std::string_view input,
                      const std::function<void(std::string_view)>& emit,
                      const std::function<size_t(std::string_view)>& skipInvalid);

}  // namespace vetra
