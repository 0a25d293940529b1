#include "platform/system_info.h"

#include <malloc.h>
#include <sys/utsname.h>

#include <charconv>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/text_mode.h"

namespace vetra {
namespace {

std::string readWhole(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

// Calls `visit(key, value)` for each "KEY=value" line.
template <typename Visit>
void forEachLine(std::string_view text, char separator, Visit visit) {
    while (!text.empty()) {
        size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        size_t split = line.find(separator);
        if (split != std::string_view::npos)
            visit(trim(line.substr(0, split)), trim(line.substr(split + 1)));
    }
}

// os-release values follow shell quoting: '...' literally, "..." with
// backslash escapes, or a bare word.
std::string unquote(std::string_view value) {
    if (value.size() >= 2 && value.front() == '\'' && value.back() == '\'')
        return std::string(value.substr(1, value.size() - 2));
    if (value.size() < 2 || value.front() != '"' || value.back() != '"') return std::string(value);
    std::string out;
    value = value.substr(1, value.size() - 2);
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) ++i;
        out += value[i];
    }
    return out;
}

}  // namespace

std::optional<int64_t> availableMemoryKb(std::string_view meminfo) {
    std::optional<int64_t> available, free;
    forEachLine(meminfo, ':', [&](std::string_view key, std::string_view value) {
        int64_t kb = 0;
        auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), kb);
        if (error != std::errc() || kb < 0 ||
            trim(std::string_view(end, value.end() - end)) != "kB")
            return;
        if (key == "MemAvailable") available = kb;
        if (key == "MemFree") free = kb;
    });
    return available ? available : free;
}

std::string distributionName(std::string_view osRelease) {
    std::string pretty, name, version;
    forEachLine(osRelease, '=', [&](std::string_view key, std::string_view value) {
        if (key == "PRETTY_NAME") pretty = unquote(value);
        if (key == "NAME") name = unquote(value);
        if (key == "VERSION_ID") version = unquote(value);
    });
    if (!pretty.empty()) return pretty;
    if (name.empty()) return "Linux";
    return version.empty() ? name : name + " " + version;
}

std::string systemLine(std::string_view osRelease, std::string_view kernelRelease,
                       std::string_view localeName) {
    std::string line = distributionName(osRelease);
    if (!kernelRelease.empty()) line.append(" kernel ").append(kernelRelease);
    if (!localeName.empty()) line.append(" ").append(localeName);
    line.append(" LID: ").append(std::to_string(localeIdFromName(localeName) & 0xFFFF));
    return line;
}

std::optional<int64_t> systemAvailableMemoryKb() {
    return availableMemoryKb(readWhole("/proc/meminfo"));
}

std::string runningSystemLine() {
    std::string osRelease = readWhole("/etc/os-release");
    if (osRelease.empty()) osRelease = readWhole("/usr/lib/os-release");
    utsname names{};
    std::string kernel = uname(&names) == 0 ? names.release : "";
    std::string locale;
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            locale = value;
            break;
        }
    }
    return systemLine(osRelease, kernel, locale.empty() ? "C" : locale);
}

void returnFreedMemory() {
    malloc_trim(0);
}

}  // namespace vetra
