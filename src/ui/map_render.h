#pragma once

#include <QImage>
#include <cstdint>

#include "model/tree_node.h"

namespace vetra {

// How the overview draws a view.
enum class TMap_Detail {
    Automatic,  // full for small views, sketch for large ones
    Full,       // the view's own painting, scaled: outlines, captions, connectors
    Sketch,     // each node as a block of its colours and each connector as a line
};

// Up to this many visible nodes the automatic choice paints in full.
inline constexpr int32_t kMap_Full_Detail_Limit = 1000;

// Draws the whole laid-out view of `root`, whose picture is `pictureWidth` x
// `pictureHeight`, stretched onto all of `image` (the aspect ratio is not
// kept), over the `background` colour (0x00BBGGRR). The drawing is made at
// the image's size straight from the layout; no picture of the whole view
// is ever made. Walks without recursion; the sketch costs one visit per
// visible node plus the map pixels it draws.
void renderMap(QImage& image, TTree_Node& root, int32_t pictureWidth, int32_t pictureHeight,
               int32_t background, TMap_Detail detail = TMap_Detail::Automatic);

}  // namespace vetra
