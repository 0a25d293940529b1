#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vetra {

// A note as it is stored in the document file: the bytes and, when they are a
// zlib stream, the size of the note before compression (else 0).
struct TStored_Note {
    std::string bytes;
    int32_t rawSize = 0;
};

// Notes of 512 bytes or less are stored as they are; longer ones as one zlib
// stream (compress2, default level) when that is shorter than the note.
TStored_Note encodeNote(std::string_view note);

// Gives back the note. Fails on a stream that does not inflate, or a raw size
// no zlib stream of this length could produce (so a damaged file cannot make
// us allocate gigabytes).
bool decodeNote(std::string_view stored, int32_t rawSize, std::string& note);

}  // namespace vetra
