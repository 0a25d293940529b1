#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vetra {

// Available physical memory in KB from the text of /proc/meminfo
// ("MemAvailable:", else "MemFree:"); none when neither line is readable.
std::optional<int64_t> availableMemoryKb(std::string_view meminfo);

// The distribution as /etc/os-release names it: PRETTY_NAME, else NAME and
// VERSION_ID, else "Linux". Quoted values are unquoted and unescaped.
std::string distributionName(std::string_view osRelease);

// The system line of the about box: distribution, kernel release, locale
// name and the locale identifier, e.g.
// "Debian GNU/Linux 12 (bookworm) kernel 6.1.0-18-amd64 zh_CN.UTF-8 LID: 2052".
std::string systemLine(std::string_view osRelease, std::string_view kernelRelease,
                       std::string_view localeName);

// The same for the running system: /proc/meminfo, /etc/os-release (else
// /usr/lib/os-release), uname and the locale of LC_ALL, LC_MESSAGES or LANG.
std::optional<int64_t> systemAvailableMemoryKb();

// Hands the heap's free pages back to the system. Reading or closing a large
// document frees megabytes of buffers at once, which the allocator would
// otherwise keep resident until it needs them again.
void returnFreedMemory();
std::string runningSystemLine();

}  // namespace vetra
