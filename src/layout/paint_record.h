#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "layout/view_paint.h"

namespace vetra {

// What the screen shows of each node the view painted: a digest of all its
// drawing depends on and the picture rectangle its drawing covers. After an
// edit the view compares the nodes now visible with it and repaints only
// where a node's drawing differs, appeared or went away; a key that changes
// one caption repaints that node, not the screen. Nodes are only compared
// by address, never followed, so a node deleted since costs nothing but the
// repaint of where it was.
class TPaint_Record {
  public:
    // A paint of `clip` begins; `whole` paints the whole visible area, so
    // what was recorded before is forgotten. `scene` digests what every node's
    // drawing depends on (zoom, background, highlights).
    void beginPaint(uint64_t scene, bool whole);
    void notePainted(const TTree_Node& node, TNode_Point at);
    // Forgets everything; the next change repaints the whole view.
    void clear();

    // The picture rectangles inside `visible` whose drawing may differ from
    // what was painted, into `out`. False when everything must be repainted:
    // nothing was recorded, or the scene changed.
    bool changedSince(TTree_Node& root, const TPicture_Rect& visible, uint64_t scene,
                      std::vector<TPicture_Rect>& out);

  private:
    struct TEntry {
        uint64_t digest = 0;
        TPicture_Rect covers;
        uint32_t seen = 0;
    };
    std::unordered_map<const TTree_Node*, TEntry> Entries_;
    uint64_t Scene_ = 0;
    bool Valid_ = false;
    uint32_t Round_ = 0;
};

// What a node's drawing depends on, digested, with its absolute place.
uint64_t nodeDrawingDigest(const TTree_Node& node, TNode_Point at);
// The picture rectangle a node's drawing may cover: its box, its connector
// and the room the view keeps for what overhangs them.
TPicture_Rect nodeDrawingArea(const TTree_Node& node, TNode_Point at);

}  // namespace vetra
