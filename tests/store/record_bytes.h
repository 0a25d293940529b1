#pragma once

// Builds node records byte by byte, independently of the writer, so tests can
// state the file layout literally and damage it at will.

#include <cstdint>
#include <string>
#include <string_view>

namespace vetra::test {

// Returned const: `"D" + be32(n)` then copies instead of inserting in front
// of a temporary, which GCC 12 at -O2 and above misreports (-Wrestrict).
inline const std::string be32(uint32_t value) {
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
            static_cast<char>(value >> 8), static_cast<char>(value)};
}

inline std::string intRecord(char tag, int32_t value) {
    return std::string(1, tag) + be32(4) + be32(static_cast<uint32_t>(value));
}

inline std::string textRecord(char tag, std::string_view text) {
    return std::string(1, tag) + be32(static_cast<uint32_t>(text.size())) + std::string(text);
}

// The record of a new node (caption given, written in text mode 1, the root of
// a view) up to but without its 'D' record; `beforeD` is spliced in at the end.
inline std::string newNodeRecordBody(std::string_view caption, std::string_view version = "30") {
    std::string r = "vt" + std::string(version);
    r += intRecord('M', 1);
    r += textRecord('A', caption);
    r += textRecord('B', "");
    r += intRecord('E', 0xFF);
    r += std::string("F") + be32(1) + "A";
    r += intRecord('G', 0) + intRecord('H', 0) + intRecord('J', 3) + intRecord('K', 0);
    r += intRecord('a', 0) + textRecord('b', "\xCB\xCE\xCC\xE5") + intRecord('c', 18);
    r += intRecord('d', -1) + intRecord('e', 1) + intRecord('f', 0x00FF0000);
    r += intRecord('g', 0) + intRecord('h', 0) + intRecord('i', 0x00800000);
    r += intRecord('j', 0) + intRecord('k', 0) + intRecord('l', -1) + intRecord('m', 0);
    return r;
}

inline std::string childrenRecord(uint32_t count) {
    return std::string("D") + be32(count);
}

inline std::string newNodeRecord(std::string_view caption) {
    return newNodeRecordBody(caption) + childrenRecord(0);
}

}  // namespace vetra::test
