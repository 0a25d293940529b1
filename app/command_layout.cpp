#include <charconv>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/commands.h"
#include "app/view_document.h"
#include "layout/fixed_metrics_canvas.h"
#include "layout/hit_test.h"
#include "layout/layout_engine.h"
#include "layout/recording_canvas.h"
#include "ui/qpainter_canvas.h"

namespace vetra {

namespace {

std::unique_ptr<TCanvas> metricsCanvas(bool fixedMetrics) {
    if (fixedMetrics) return std::make_unique<TFixed_Metrics_Canvas>();
    return std::make_unique<TQPainter_Canvas>();
}

bool flushOut(std::string& out) {
    bool ok = std::fwrite(out.data(), 1, out.size(), stdout) == out.size();
    out.clear();
    return ok;
}

void appendNumbers(std::string& out, std::initializer_list<int32_t> values) {
    for (int32_t value : values) {
        out += ' ';
        out += std::to_string(value);
    }
}

}  // namespace

int runDumpLayout(const std::string& path, bool fixedMetrics) {
    auto document = readViewDocument(path);
    if (!document) return 1;
    auto metrics = metricsCanvas(fixedMetrics);
    layoutMainView(*document, *metrics);

    std::string out = "picture";
    appendNumbers(out, {document->picture.Width, document->picture.Height});
    out += '\n';
    bool ok = true;
    // One path buffer cut back to the parent's length at each node: paths
    // are built without copying them per node.
    struct TPending {
        TTree_Node* node;
        size_t parentLength;
        int32_t index;  // -1 for the root
        TNode_Point parentAt;
    };
    std::string nodePath;
    std::vector<TPending> pending{{document->root.get(), 0, -1, {0, 0}}};
    while (!pending.empty()) {
        TPending at = pending.back();
        pending.pop_back();
        TTree_Node& node = *at.node;
        const TLayout_Cache& c = node.Layout;
        nodePath.resize(at.parentLength);
        if (at.index < 0) {
            nodePath.assign(1, 'r');
        } else {
            char digits[16];
            digits[0] = '.';
            auto written = std::to_chars(digits + 1, digits + sizeof digits, at.index);
            nodePath.append(digits, static_cast<size_t>(written.ptr - digits));
        }
        // As absolutePosition computes it: summed in 64 bits, cut to the
        // layout's range (a damaged document can nest huge blocks deeply).
        const TNode_Point box{clampExtent(int64_t{at.parentAt.x} + c.Block_Pos.x + c.Box_Offset.x),
                              clampExtent(int64_t{at.parentAt.y} + c.Block_Pos.y + c.Box_Offset.y)};
        const TNode_Point parentAnchor = at.index < 0 ? TNode_Point{} : c.Parent_Anchor;
        const TNode_Point ownEnd = ownAnchor(node);
        out += nodePath;
        appendNumbers(out,
                      {box.x, box.y, c.Box_Width, c.Box_Height, node.View_Style_Used,
                       node.Link_Style_Used, ownEnd.x, ownEnd.y, parentAnchor.x, parentAnchor.y});
        out += '\n';
        if (out.size() > (1 << 16)) ok = flushOut(out) && ok;
        if (!node.Expanded) continue;
        for (int32_t i = node.childCount(); i-- > 0;)
            pending.push_back({node.child(i), nodePath.size(), i, box});
    }
    ok = flushOut(out) && ok;
    return ok && std::fflush(stdout) == 0 ? 0 : 1;
}

int runDumpPaint(const std::string& path, bool fixedMetrics) {
    auto document = readViewDocument(path);
    if (!document) return 1;
    auto metrics = metricsCanvas(fixedMetrics);
    layoutMainView(*document, *metrics);
    TRecording_Canvas recording(metrics.get());
    const TView_Picture& picture = document->picture;
    paintViewPicture(recording, *document->root, picture, TPaint_Options{},
                     {0, 0, picture.Width, picture.Height});
    std::string out = recording.text();
    if (!out.empty()) out += '\n';
    bool ok = flushOut(out);
    return ok && std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace vetra
