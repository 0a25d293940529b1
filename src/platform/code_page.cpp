#include "platform/code_page.h"

#include <map>
#include <memory>
#include <mutex>

#include "platform/iconv_descriptor.h"
#include "platform/text_codec.h"
#include "platform/text_mode.h"

namespace vetra {
namespace {

bool isKnownCodePage(int codePage) {
    return isValidIconv(cachedIconv("UTF-8", iconvCodePageName(codePage).c_str()));
}

void appendReplacement(std::string& out) {
    out += "\xEF\xBF\xBD";
}

}  // namespace

int32_t systemCodePage() {
    return activeTextMode() == kTextModeTraditional ? kCode_Page_Big5 : kCode_Page_Gbk;
}

std::string iconvCodePageName(int codePage) {
    return "CP" + std::to_string(codePage);
}

int codePageOfCharset(int charset, int fallback) {
    switch (charset) {
        case 0:
            return 1252;
        case 77:
            return 10000;
        case 128:
            return 932;
        case 129:
            return 949;
        case 130:
            return 1361;
        case 134:
            return kCode_Page_Gbk;
        case 136:
            return kCode_Page_Big5;
        case 161:
            return 1253;
        case 162:
            return 1254;
        case 163:
            return 1258;
        case 177:
            return 1255;
        case 178:
            return 1256;
        case 186:
            return 1257;
        case 204:
            return 1251;
        case 222:
            return 874;
        case 238:
            return 1250;
        case 255:
            return 437;
        default:
            return fallback;
    }
}

int charsetOfCodePage(int codePage) {
    switch (codePage) {
        case 932:
            return 128;
        case 949:
            return 129;
        case 936:
            return 134;
        case 950:
            return 136;
        case 1253:
            return 161;
        case 1254:
            return 162;
        case 1255:
            return 177;
        case 1256:
            return 178;
        case 1257:
            return 186;
        case 1251:
            return 204;
        case 874:
            return 222;
        case 1250:
            return 238;
        default:
            return 0;
    }
}

std::string codePageBytesToUtf8(std::string_view bytes, int codePage) {
    std::string out;
    out.reserve(bytes.size() * 2);
    size_t start = 0;
    // ASCII reads the same in every code page we meet; only the rest goes
    // through iconv, which keeps long English notes cheap.
    while (start < bytes.size() && static_cast<unsigned char>(bytes[start]) < 0x80)
        out.push_back(bytes[start++]);
    if (start == bytes.size()) return out;
    iconv_t cd = cachedIconv("UTF-8", iconvCodePageName(codePage).c_str());
    if (!isValidIconv(cd)) cd = cachedIconv("UTF-8", "CP1252");
    if (!isValidIconv(cd)) {
        for (size_t i = start; i < bytes.size(); ++i)
            if (static_cast<unsigned char>(bytes[i]) < 0x80)
                out.push_back(bytes[i]);
            else
                appendReplacement(out);
        return out;
    }
    convertWithIconv(
        cd, bytes.substr(start), [&](std::string_view converted) { out += converted; },
        [&](std::string_view) {
            // A byte the code page does not define, or a lead byte cut off.
            appendReplacement(out);
            return size_t{1};
        });
    return out;
}

TCode_Page_Table::TCode_Page_Table(int codePage) {
    iconv_t cd = cachedIconv(iconvCodePageName(codePage).c_str(), "UTF-32LE");
    if (!isValidIconv(cd)) return;
    for (char32_t c = 1; c < 0x10000; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        uint32_t value = c;
        char input[4] = {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF), 0,
                         0};
        char* in = input;
        size_t inLeft = 4;
        char output[8];
        char* out = output;
        size_t outLeft = sizeof output;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        size_t rc = iconv(cd, &in, &inLeft, &out, &outLeft);
        size_t written = static_cast<size_t>(out - output);
        // Only exact conversions count: a transliteration would change the text.
        if (rc != 0 || inLeft != 0 || written == 0 || written > 2) continue;
        TEncoded& entry = Table_[c];
        entry.size = static_cast<uint8_t>(written);
        entry.bytes[0] = static_cast<uint8_t>(output[0]);
        if (written == 2) entry.bytes[1] = static_cast<uint8_t>(output[1]);
    }
}

const TCode_Page_Table* codePageTable(int codePage) {
    static std::mutex guard;
    static std::map<int, std::unique_ptr<TCode_Page_Table>> tables;
    std::lock_guard<std::mutex> lock(guard);
    auto found = tables.find(codePage);
    if (found != tables.end()) return found->second.get();
    std::unique_ptr<TCode_Page_Table> table;
    if (isKnownCodePage(codePage)) table = std::make_unique<TCode_Page_Table>(codePage);
    return tables.emplace(codePage, std::move(table)).first->second.get();
}

}  // namespace vetra
