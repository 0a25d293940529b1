#include "platform/text_mode.h"

#include <cstdlib>
#include <string>

#include "platform/text_codec.h"

namespace vetra {
namespace {

int Active_Text_Mode = kTextModeSimplified;

struct TLocale_Id {
    std::string_view name;
    int id;
};

// Language_territory pairs and their Windows identifiers; a bare language falls
// back to its first row, anything unknown to US English.
constexpr TLocale_Id kLocaleIds[] = {
    {"zh_TW", 1028}, {"zh_HK", 1028}, {"zh_MO", 1028}, {"zh_CN", 2052}, {"zh_SG", 2052},
    {"zh", 2052},    {"en_US", 1033}, {"en_GB", 2057}, {"en", 1033},    {"ja_JP", 1041},
    {"ja", 1041},    {"ko_KR", 1042}, {"ko", 1042},    {"de_DE", 1031}, {"de", 1031},
    {"fr_FR", 1036}, {"fr", 1036},    {"es_ES", 3082}, {"es", 3082},    {"it_IT", 1040},
    {"it", 1040},    {"ru_RU", 1049}, {"ru", 1049},
};

std::string_view environment(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string_view() : std::string_view(value);
}

}  // namespace

int activeTextMode() {
    return Active_Text_Mode;
}

void setActiveTextMode(int mode) {
    Active_Text_Mode = mode == kTextModeTraditional ? kTextModeTraditional : kTextModeSimplified;
}

int localeIdFromName(std::string_view localeName) {
    std::string_view base = localeName.substr(0, localeName.find_first_of(".@"));
    for (const auto& row : kLocaleIds)
        if (row.name == base) return row.id;
    std::string_view language = base.substr(0, base.find('_'));
    for (const auto& row : kLocaleIds)
        if (row.name == language) return row.id;
    return 1033;
}

int textModeForLocaleId(int localeId) {
    return localeId == 1028 ? kTextModeTraditional : kTextModeSimplified;
}

int chooseTextMode() {
    std::string_view forced = environment("VETRA_TEXT_MODE");
    if (forced == "1" || forced == "2") {
        setActiveTextMode(forced == "2" ? kTextModeTraditional : kTextModeSimplified);
        return activeTextMode();
    }
    std::string_view locale;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        locale = environment(name);
        if (!locale.empty()) break;
    }
    setActiveTextMode(textModeForLocaleId(localeIdFromName(locale)));
    return activeTextMode();
}

std::string programTextUtf8(std::string_view utf8Traditional) {
    if (activeTextMode() == kTextModeTraditional) return std::string(utf8Traditional);
    return traditionalToSimplified(utf8Traditional);
}

std::string programText(std::string_view utf8Traditional) {
    return utf8ToCodePage(programTextUtf8(utf8Traditional), activeTextMode()).text;
}

std::string nodeTextToUtf8(std::string_view bytes) {
    return codePageToUtf8(bytes, activeTextMode()).text;
}

}  // namespace vetra
