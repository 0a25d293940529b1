#include "ui/shaped_text_cache.h"

#include <QPaintDevice>
#include <QTextLayout>
#include <QTextOption>
#include <string>

namespace vetra {

const TShaped_Text_Cache::TShaped& TShaped_Text_Cache::shaped(
    std::string_view fontKey, const QFont& font, QPaintDevice* device,
    Qt::LayoutDirection direction, std::string_view bytes, const QString& text) {
    // Glyphs are placed for the device's resolution, which a window may
    // change by moving to another screen.
    Key_.assign(fontKey);
    Key_.append(std::to_string(device->logicalDpiX()) + "/" +
                std::to_string(device->logicalDpiY()));
    Key_.push_back(direction == Qt::RightToLeft ? '\x02' : '\x01');
    Key_.append(bytes);
    auto found = Entries_.find(Key_);
    if (found != Entries_.end()) return found->second;
    if (Entries_.size() >= kMax_Entries) Entries_.clear();

    QTextLayout layout(text, font, device);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setTextDirection(direction);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    TShaped shaped;
    if (line.isValid()) {
        shaped.runs = layout.glyphRuns();
        shaped.ascent = line.ascent();
    }
    return Entries_.emplace(Key_, std::move(shaped)).first->second;
}

}  // namespace vetra
