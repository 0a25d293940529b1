#include "ui/ui_text.h"

#include <QColor>

#include "platform/text_codec.h"
#include "platform/text_mode.h"

namespace vetra {

QString uiText(std::string_view utf8Traditional) {
    std::string text = programTextUtf8(utf8Traditional);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString nodeTextToQString(std::string_view bytes) {
    std::string text = nodeTextToUtf8(bytes);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string qStringToNodeText(const QString& text, int* replaced) {
    QByteArray utf8 = text.toUtf8();
    TConverted_Text converted =
        utf8ToCodePage({utf8.constData(), static_cast<size_t>(utf8.size())}, activeTextMode());
    if (replaced != nullptr) *replaced = converted.replaced;
    return converted.text;
}

QColor colorFromBgr(int32_t bgr) {
    auto bits = static_cast<uint32_t>(bgr);
    return QColor(bits & 0xFF, (bits >> 8) & 0xFF, (bits >> 16) & 0xFF);
}

int32_t bgrFromColor(const QColor& color) {
    return static_cast<int32_t>(static_cast<uint32_t>(color.red()) |
                                (static_cast<uint32_t>(color.green()) << 8) |
                                (static_cast<uint32_t>(color.blue()) << 16));
}

}  // namespace vetra
