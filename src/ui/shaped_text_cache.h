#pragma once

#include <QFont>
#include <QGlyphRun>
#include <QList>
#include <QString>
#include <string>
#include <string_view>
#include <unordered_map>

class QPaintDevice;

namespace vetra {

// Captions shaped once and then drawn from their glyphs. Shaping (finding
// each character's font and glyph and placing the glyphs) is most of what
// drawing a caption costs, and a view repaints the same captions again and
// again. Belongs to one paint device; past its limit it starts over.
class TShaped_Text_Cache {
  public:
    struct TShaped {
        QList<QGlyphRun> runs;  // placed from the top left of the line
        qreal ascent = 0;       // of the line: where its baseline lies
    };

    // `text` in `font` (made for `device`), laid out as one line in the
    // painter's direction; `fontKey` names the font, `bytes` the caption.
    const TShaped& shaped(std::string_view fontKey, const QFont& font, QPaintDevice* device,
                          Qt::LayoutDirection direction, std::string_view bytes,
                          const QString& text);

  private:
    static constexpr size_t kMax_Entries = 2048;
    std::unordered_map<std::string, TShaped> Entries_;
    std::string Key_;
};

}  // namespace vetra
