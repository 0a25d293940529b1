#include "model/caption_search.h"

#include <algorithm>
#include <vector>

#include "model/selection.h"
#include "platform/text_codec.h"

namespace vetra {
namespace {

size_t characterLength(std::string_view bytes, size_t at) {
    return codePageCharacterLength(bytes[at]);
}

// True when the text splits into whole characters; a text that ends with a
// lone lead byte would otherwise end inside a caption's character.
bool isWholeCharacters(std::string_view text) {
    size_t at = 0;
    while (at < text.size()) at += characterLength(text, at);
    return at == text.size();
}

// A pre-order walk of one subtree that can step both ways from any of its
// nodes. It keeps the path from the root with each node's index among its
// siblings, so each step costs the levels it climbs or descends instead of a
// search through the sibling list: a root with a hundred thousand children
// is walked in linear time.
class TPre_Order_Cursor {
  public:
    // A node outside the subtree starts the walk at the root.
    TPre_Order_Cursor(TTree_Node& root, TTree_Node& at) {
        for (TTree_Node* node = &at; node != &root; node = node->Parent) {
            if (node->Parent == nullptr) {
                Path_.clear();
                break;
            }
            Path_.push_back({node, node->Parent->indexOfChild(node)});
        }
        Path_.push_back({&root, 0});
        std::reverse(Path_.begin(), Path_.end());
    }

    TTree_Node* node() const { return Path_.back().node; }

    bool stepForward() {
        TTree_Node* at = node();
        if (at->hasChildren()) {
            Path_.push_back({at->child(0), 0});
            return true;
        }
        while (Path_.size() > 1) {
            TStep step = Path_.back();
            Path_.pop_back();
            TTree_Node* parent = Path_.back().node;
            if (step.index + 1 < parent->childCount()) {
                Path_.push_back({parent->child(step.index + 1), step.index + 1});
                return true;
            }
        }
        return false;
    }

    bool stepBackward() {
        if (Path_.size() <= 1) return false;
        TStep step = Path_.back();
        Path_.pop_back();
        if (step.index == 0) return true;  // the parent comes just before its first child
        TTree_Node* parent = Path_.back().node;
        TTree_Node* at = parent->child(step.index - 1);
        Path_.push_back({at, step.index - 1});
        while (at->hasChildren()) {
            const int32_t last = at->childCount() - 1;
            at = at->child(last);
            Path_.push_back({at, last});
        }
        return true;
    }

  private:
    struct TStep {
        TTree_Node* node;
        int32_t index;  // among its parent's children
    };
    std::vector<TStep> Path_;
};

}  // namespace

bool captionContains(std::string_view caption, std::string_view text) {
    if (text.size() > caption.size()) return false;
    const bool whole = isWholeCharacters(text);
    for (size_t at = 0; at + text.size() <= caption.size(); at += characterLength(caption, at)) {
        if (caption.compare(at, text.size(), text) != 0) continue;
        // The same bytes split the same way from the same boundary, so the
        // match ends on a boundary unless the text ends with a lone lead byte.
        if (whole || at + text.size() == caption.size()) return true;
    }
    return false;
}

TTree_Node* findFirstMatch(TTree_Node& viewRoot, std::string_view text) {
    if (captionContains(viewRoot.Caption.view(), text)) return &viewRoot;
    return findNextMatch(viewRoot, viewRoot, text, TSearch_Direction::Forward);
}

TTree_Node* findNextMatch(TTree_Node& viewRoot, TTree_Node& start, std::string_view text,
                          TSearch_Direction direction) {
    TPre_Order_Cursor cursor(viewRoot, start);
    for (;;) {
        const bool moved =
            direction == TSearch_Direction::Forward ? cursor.stepForward() : cursor.stepBackward();
        if (!moved) return nullptr;
        if (text.empty() || captionContains(cursor.node()->Caption.view(), text))
            return cursor.node();
    }
}

TTree_Node& searchStartNode(TTree_Node& viewRoot) {
    TTree_Node* selected = currentNode(viewRoot);
    return selected != nullptr ? *selected : viewRoot;
}

bool selectFoundNode(TTree_Node& viewRoot, TTree_Node& found) {
    viewRoot.clearSelection();
    found.setSelected(true);
    bool collapsed = false;
    for (TTree_Node* node = &found; node != &viewRoot && node->Parent != nullptr;) {
        node = node->Parent;
        if (!node->Expanded) collapsed = true;
        node->Expanded = 1;
    }
    return collapsed;
}

}  // namespace vetra
