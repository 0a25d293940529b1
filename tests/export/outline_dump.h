#pragma once

#include <cstdio>
#include <string>

#include "export/outline_item.h"

namespace vetra::test {

// What an outline carries, one line an entry: two blanks a level, the
// caption, then "-> link", "{note}" (line breaks as "|"), "+" when folded and
// the colours. `fields` picks what to show: 'l'ink, 'n'ote, 'f'olded, 'c'olours.
inline TOutline_Item outlineItem(int32_t level, std::string caption, std::string link = {},
                                 std::string note = {}, bool folded = false, int32_t color = -1,
                                 int32_t fill = -1) {
    return {level, std::move(caption), std::move(link), std::move(note), folded, color, fill};
}

inline std::string dumpOutline(const TOutline& outline, const std::string& fields = "lnfc") {
    std::string out;
    auto has = [&](char field) { return fields.find(field) != std::string::npos; };
    for (const TOutline_Item& item : outline) {
        out.append(static_cast<size_t>(item.Level) * 2, ' ');
        out += item.Caption;
        if (has('l') && !item.Link.empty()) out += " -> " + item.Link;
        if (has('n') && !item.Note.empty()) {
            std::string note = item.Note;
            for (char& c : note)
                if (c == '\n') c = '|';
            out += " {" + note + "}";
        }
        if (has('f') && item.Folded) out += " +";
        if (has('c') && (item.Color_Caption >= 0 || item.Color_Fill >= 0)) {
            char colours[40];
            std::snprintf(colours, sizeof colours, " %06x/%06x", item.Color_Caption & 0xFFFFFF,
                          item.Color_Fill & 0xFFFFFF);
            out += colours;
        }
        out += '\n';
    }
    return out;
}

}  // namespace vetra::test
