#pragma once

#include <string>

#include "rtf/rtf_reader.h"
#include "rtf/rtf_writer.h"
#include "tests/app/run_vetra.h"

namespace vetra::test {

inline std::string readNoteFile(const std::string& name) {
    return slurp(dataPath("notes/" + name));
}

inline TRtf_Document parsed(std::string_view rtf, int codePage = 936) {
    TRtf_Document document;
    readRtf(rtf, document, {codePage});
    return document;
}

inline std::string joinedLines(const TRtf_Document& document) {
    std::string text;
    for (const std::string& line : plainTextLines(document)) text += line + "|";
    return text;
}

}  // namespace vetra::test
