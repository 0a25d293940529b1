#include "store/read_error_text.h"

namespace vetra {

std::string_view readErrorText(TRead_Error error) {
    switch (error) {
        case TRead_Error::None:
        case TRead_Error::NotADocument:
            return {};
        case TRead_Error::NewerVersion:
            return "該文件需要更高版本的軟件打開";
        case TRead_Error::Damaged:
            return "文件已損壞，無法讀取 %s";
        case TRead_Error::CannotRead:
            return "讀取文件失敗 %s";
    }
    return {};
}

}  // namespace vetra
