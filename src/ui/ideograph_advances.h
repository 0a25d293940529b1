#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QRawFont>
#include <cstdint>
#include <memory>
#include <vector>

class QPaintDevice;

namespace vetra {

// Advances of Han ideographs known without loading their outlines. Qt
// learns a character's advance by loading its glyph from the font file, and
// the captions of a large document hold thousands of distinct ideographs:
// measuring them took a fifth of opening 100 000 nodes and mapped megabytes
// of the font. In a font with CFF outlines the advance follows from the
// glyph's hmtx width alone, and fonts made for Chinese give nearly every
// ideograph one width. So an ideograph that the face which draws "一" maps to
// a glyph of the width of "一" has the advance Qt measures for "一".
class TIdeograph_Advances {
  public:
    // For the font on its device, whose metrics are given; finds which face
    // draws ideographs.
    TIdeograph_Advances(const QFont& font, const QPaintDevice* device, const QFontMetrics& metrics);

    // The advance of the Han character `c`, or -1 when it must be measured.
    int32_t advance(char16_t c) const;

  private:
    QRawFont Face_;
    // Per glyph index of the face: whether its hmtx width is that of "一".
    std::shared_ptr<const std::vector<bool>> Same_Width_;
    int32_t Advance_ = -1;  // Qt's advance of "一"; -1 when nothing is known
};

}  // namespace vetra
