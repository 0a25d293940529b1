// The about box's memory and system line, from the system's own files.
#include <gtest/gtest.h>

#include "platform/system_info.h"

namespace vetra {
namespace {

TEST(SystemInfo, ReadsMemoryAndSystemFiles) {
    const struct {
        const char* name;
        const char* meminfo;
        std::optional<int64_t> kb;
    } memory[] = {
        {"available", "MemTotal:  100 kB\nMemFree:   10 kB\nMemAvailable:   42 kB\n", 42},
        {"old kernel, free only", "MemTotal: 100 kB\nMemFree: 7 kB\n", 7},
        {"damaged", "MemAvailable: lots\n", std::nullopt},
        {"empty", "", std::nullopt},
    };
    for (const auto& row : memory) EXPECT_EQ(availableMemoryKb(row.meminfo), row.kb) << row.name;

    const struct {
        const char* name;
        const char* osRelease;
        const char* locale;
        const char* line;
    } systems[] = {
        // clang-format off
        {"pretty name", "NAME=\"Debian GNU/Linux\"\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n", "zh_CN.UTF-8", "Debian GNU/Linux 12 (bookworm) kernel 6.1.0 zh_CN.UTF-8 LID: 2052"},
        {"name and version", "NAME='Arch'\nVERSION_ID=rolling\n", "zh_TW.Big5", "Arch rolling kernel 6.1.0 zh_TW.Big5 LID: 1028"},
        {"escaped quote", "PRETTY_NAME=\"A \\\"B\\\"\"\n", "C", "A \"B\" kernel 6.1.0 C LID: 1033"},
        {"no file", "", "en_US", "Linux kernel 6.1.0 en_US LID: 1033"},
        // clang-format on
    };
    for (const auto& row : systems)
        EXPECT_EQ(systemLine(row.osRelease, "6.1.0", row.locale), row.line) << row.name;
}

}  // namespace
}  // namespace vetra
