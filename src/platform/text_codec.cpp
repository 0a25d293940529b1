#include "platform/text_codec.h"

#include <opencc/opencc.h>

#include "platform/iconv_descriptor.h"

namespace vetra {
namespace {

const char* codePageName(int mode) {
    return mode == kTextModeTraditional ? "CP950" : "CP936";
}

// Length of the UTF-8 sequence that starts with `lead`, 1 for a stray byte.
size_t utf8SequenceLength(unsigned char lead) {
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    if (lead >= 0xE0) return lead <= 0xEF ? 3 : 1;
    if (lead >= 0xC2) return 2;
    return 1;
}

size_t codePageSequenceLength(unsigned char lead) {
    return codePageCharacterLength(lead);
}

// Converts with iconv; an unconvertible or invalid character becomes '?' and
// is counted. `fromUtf8` says how to step over a bad input character.
TConverted_Text transcode(std::string_view input, const char* to, const char* from, bool fromUtf8) {
    TConverted_Text result;
    if (input.empty()) return result;
    iconv_t cd = cachedIconv(to, from);
    if (!isValidIconv(cd)) {
        result.text.assign(input);
        result.replaced = static_cast<int>(input.size());
        return result;
    }
    result.text.reserve(input.size() * 2);
    convertWithIconv(
        cd, input, [&](std::string_view converted) { result.text += converted; },
        [&](std::string_view rest) {
            auto lead = static_cast<unsigned char>(rest.front());
            result.text.push_back('?');
            ++result.replaced;
            return fromUtf8 ? utf8SequenceLength(lead) : codePageSequenceLength(lead);
        });
    return result;
}

class TChinese_Mapper {
  public:
    explicit TChinese_Mapper(const char* config) : Handle_(opencc_open(config)) {}
    ~TChinese_Mapper() {
        if (isOpen()) opencc_close(Handle_);
    }
    TChinese_Mapper(const TChinese_Mapper&) = delete;
    TChinese_Mapper& operator=(const TChinese_Mapper&) = delete;

    std::string map(std::string_view utf8) const {
        if (!isOpen() || utf8.empty()) return std::string(utf8);
        char* converted = opencc_convert_utf8(Handle_, utf8.data(), utf8.size());
        if (converted == nullptr) return std::string(utf8);
        std::string result(converted);
        opencc_convert_utf8_free(converted);
        return result;
    }

  private:
    bool isOpen() const { return Handle_ != reinterpret_cast<opencc_t>(-1); }
    opencc_t Handle_;
};

}  // namespace

TConverted_Text codePageToUtf8(std::string_view bytes, int mode) {
    return transcode(bytes, "UTF-8", codePageName(mode), false);
}

TConverted_Text utf8ToCodePage(std::string_view utf8, int mode) {
    return transcode(utf8, codePageName(mode), "UTF-8", true);
}

std::string simplifiedToTraditional(std::string_view utf8) {
    static const TChinese_Mapper mapper("s2t.json");
    return mapper.map(utf8);
}

std::string traditionalToSimplified(std::string_view utf8) {
    static const TChinese_Mapper mapper("t2s.json");
    return mapper.map(utf8);
}

TConverted_Text convertBetweenModes(std::string_view bytes, int fromMode, int toMode) {
    bool known = (fromMode == kTextModeSimplified && toMode == kTextModeTraditional) ||
                 (fromMode == kTextModeTraditional && toMode == kTextModeSimplified);
    if (!known) return {std::string(bytes), 0};
    TConverted_Text decoded = codePageToUtf8(bytes, fromMode);
    std::string mapped = toMode == kTextModeTraditional ? simplifiedToTraditional(decoded.text)
                                                        : traditionalToSimplified(decoded.text);
    TConverted_Text encoded = utf8ToCodePage(mapped, toMode);
    encoded.replaced += decoded.replaced;
    return encoded;
}

size_t characterPrefixLength(std::string_view bytes, size_t limit) {
    size_t length = 0;
    while (length < bytes.size()) {
        size_t step = codePageCharacterLength(bytes[length]);
        if (length + step > limit || length + step > bytes.size()) break;
        length += step;
    }
    return length;
}

}  // namespace vetra
