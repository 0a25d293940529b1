#pragma once

#include <QColor>
#include <QString>
#include <cstdint>
#include <string>
#include <string_view>

namespace vetra {

// A program text, written in the source as UTF-8 in traditional characters,
// in the active text mode, ready for a widget.
QString uiText(std::string_view utf8Traditional);

// Node texts are bytes in the active code page; widgets show them as QString.
QString nodeTextToQString(std::string_view bytes);

// A text the user typed, as bytes in the active code page. Characters the
// code page cannot hold become "?" and are counted in `replaced`, so the
// caller can tell the user instead of losing them silently.
std::string qStringToNodeText(const QString& text, int* replaced = nullptr);

// 0x00BBGGRR colours, as the documents and options store them.
QColor colorFromBgr(int32_t bgr);
int32_t bgrFromColor(const QColor& color);

}  // namespace vetra
