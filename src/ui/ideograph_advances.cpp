#include "ui/ideograph_advances.h"

#include <QGlyphRun>
#include <QTextLayout>

namespace vetra {

namespace {

constexpr char16_t kOne = 0x4E00;  // 一, in every font that has ideographs

uint32_t readBigEndian(const QByteArray& table, qsizetype at, int bytes) {
    uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) value = value << 8 | static_cast<uint8_t>(table[at + i]);
    return value;
}

// Which glyphs of the face have the hmtx width of `reference`; empty when
// the face's outlines are not CFF or its tables do not hold together.
std::vector<bool> glyphsOfWidth(const QRawFont& face, quint32 reference) {
    const QByteArray maxp = face.fontTable("maxp");
    const QByteArray hhea = face.fontTable("hhea");
    if (maxp.size() < 6 || readBigEndian(maxp, 0, 4) != 0x00005000 || hhea.size() < 36) return {};
    const uint32_t glyphCount = readBigEndian(maxp, 4, 2);
    const uint32_t metricCount = readBigEndian(hhea, 34, 2);
    const QByteArray hmtx = face.fontTable("hmtx");
    if (metricCount == 0 || metricCount > glyphCount || reference >= glyphCount ||
        hmtx.size() < qsizetype{4} * metricCount)
        return {};
    // Glyphs past the last metric share its width.
    auto widthOf = [&](uint32_t glyph) {
        return readBigEndian(hmtx, qsizetype{4} * std::min(glyph, metricCount - 1), 2);
    };
    const uint32_t width = widthOf(reference);
    std::vector<bool> same(glyphCount);
    for (uint32_t glyph = 0; glyph < glyphCount; ++glyph) same[glyph] = widthOf(glyph) == width;
    return same;
}

// The tables of a face are read once for all its sizes and styles.
std::shared_ptr<const std::vector<bool>> keptGlyphsOfWidth(const QRawFont& face,
                                                           quint32 reference) {
    struct TKept {
        QString family, style;
        QByteArray head;
        quint32 reference;
        std::shared_ptr<const std::vector<bool>> same;
    };
    static std::vector<TKept> kept;
    const QByteArray head = face.fontTable("head");
    for (const TKept& k : kept)
        if (k.family == face.familyName() && k.style == face.styleName() && k.head == head &&
            k.reference == reference)
            return k.same;
    auto same = std::make_shared<const std::vector<bool>>(glyphsOfWidth(face, reference));
    if (kept.size() >= 16) kept.erase(kept.begin());
    kept.push_back({face.familyName(), face.styleName(), head, reference, same});
    return same;
}

}  // namespace

TIdeograph_Advances::TIdeograph_Advances(const QFont& font, const QPaintDevice* device,
                                         const QFontMetrics& metrics) {
    // The face that draws "一" is found by laying it out.
    QTextLayout layout(QString(QChar(kOne)), font, device);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    const QList<QGlyphRun> runs = layout.glyphRuns();
    if (runs.size() != 1) return;
    Face_ = runs.front().rawFont();
    const QChar one(kOne);
    quint32 glyph = 0;
    int glyphCount = 1;
    if (!Face_.isValid() || !Face_.glyphIndexesForChars(&one, 1, &glyph, &glyphCount) ||
        glyphCount != 1 || glyph == 0)
        return;
    Same_Width_ = keptGlyphsOfWidth(Face_, glyph);
    if (Same_Width_->empty()) return;
    Advance_ = metrics.horizontalAdvance(one);
}

int32_t TIdeograph_Advances::advance(char16_t c) const {
    if (Advance_ < 0) return -1;
    const QChar character(c);
    quint32 glyph = 0;
    int glyphCount = 1;
    if (!Face_.glyphIndexesForChars(&character, 1, &glyph, &glyphCount) || glyphCount != 1 ||
        glyph == 0 || glyph >= Same_Width_->size() || !(*Same_Width_)[glyph])
        return -1;
    return Advance_;
}

}  // namespace vetra
