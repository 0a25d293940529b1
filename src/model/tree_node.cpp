#include "model/tree_node.h"

#include <atomic>
#include <deque>
#include <mutex>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "model/tree_shape.h"
#include "platform/text_codec.h"
#include "platform/text_mode.h"

namespace vetra {
namespace {

std::atomic<uint64_t> Tree_Shape_Changes{0};

// Counts are kept for subtrees of at least this many nodes: about one node
// in a thousand, all near the top, where a recount would otherwise walk.
constexpr int64_t kKeep_Count_From = 1024;
// A change this far below the top of a tree forgets every kept count rather
// than walk up further: a hostile chain must not make each edit as slow as
// its depth.
constexpr int32_t kForget_Walk_Limit = 256;

// Beyond this many selected nodes a selection is cleared by walking the
// tree, as a walk then costs no more than looking at each of them.
constexpr size_t kFew_Selected = 64;

// Program texts converted once per text mode: a document of 100 000 nodes
// constructs as many default captions.
std::string_view cachedProgramText(std::string_view utf8Traditional, std::string (&cache)[3]) {
    int mode = activeTextMode();
    if (cache[mode].empty()) cache[mode] = programText(utf8Traditional);
    return cache[mode];
}

// Every face name met in the run, once: nodes hold a name's number, and
// the names never move, so their bytes stay valid for the run.
struct TFont_Names {
    std::deque<std::string> Names;
    std::unordered_map<std::string_view, uint32_t> Numbers;

    static TFont_Names& of() {
        static auto* names = new TFont_Names;  // never destroyed, as nodes may outlive it
        return *names;
    }
};

uint32_t internFontName(std::string_view bytes) {
    TFont_Names& pool = TFont_Names::of();
    // The name ends at its first NUL; only then is it cut to the field's
    // size, so the cut falls on a character boundary of the name itself.
    bytes = bytes.substr(0, bytes.find('\0'));
    bytes = bytes.substr(0, characterPrefixLength(bytes, kFont_Name_Size - 1));
    auto found = pool.Numbers.find(bytes);
    if (found != pool.Numbers.end()) return found->second;
    const auto number = static_cast<uint32_t>(pool.Names.size());
    pool.Names.emplace_back(bytes);
    pool.Numbers.emplace(pool.Names.back(), number);
    return number;
}

}  // namespace

bool holdsInSubtree(const TTree_Node* root, const TTree_Node* node) {
    for (const TTree_Node* at = node; at != nullptr; at = at->Parent) {
        if (at == root) return true;
        if (at->Parent != nullptr && at->Parent->indexOfChild(at) < 0) return false;
    }
    return false;
}

// How many memories hold each remembered node; a node leaves when destroyed.
struct TRemembered_Nodes {
    std::mutex Lock;
    std::unordered_map<const TTree_Node*, int32_t> Holders;

    static TRemembered_Nodes& of() {
        static auto* nodes = new TRemembered_Nodes;  // never destroyed, as nodes may outlive it
        return *nodes;
    }
};

void TNode_Memory::assign(const std::vector<TTree_Node*>& nodes) {
    forget();
    TRemembered_Nodes& remembered = TRemembered_Nodes::of();
    std::lock_guard<std::mutex> hold(remembered.Lock);
    for (TTree_Node* node : nodes) {
        ++remembered.Holders[node];
        node->Remembered_ = true;
    }
    Nodes_ = nodes;
}

std::vector<TTree_Node*> TNode_Memory::living() const {
    TRemembered_Nodes& remembered = TRemembered_Nodes::of();
    std::lock_guard<std::mutex> hold(remembered.Lock);
    std::vector<TTree_Node*> out;
    for (TTree_Node* node : Nodes_)
        if (remembered.Holders.count(node) != 0) out.push_back(node);
    return out;
}

void TNode_Memory::forget() {
    if (Nodes_.empty()) return;
    TRemembered_Nodes& remembered = TRemembered_Nodes::of();
    std::lock_guard<std::mutex> hold(remembered.Lock);
    for (TTree_Node* node : Nodes_) {
        auto found = remembered.Holders.find(node);
        // Gone: the node was destroyed, and nothing of it is touched.
        if (found == remembered.Holders.end()) continue;
        if (--found->second > 0) continue;
        remembered.Holders.erase(found);
        node->Remembered_ = false;
    }
    Nodes_.clear();
}

std::string_view defaultCaption() {
    static std::string cache[3];
    return cachedProgramText("雙擊輸入標題", cache);
}

std::string_view newNodeCaption() {
    static std::string cache[3];
    return cachedProgramText("新節點", cache);
}

namespace {

uint32_t defaultFontNumber() {
    static uint32_t interned[3] = {};
    static bool known[3] = {};
    const int mode = activeTextMode();
    if (!known[mode]) {
        static std::string cache[3];
        interned[mode] = internFontName(cachedProgramText("宋體", cache));
        known[mode] = true;
    }
    return interned[mode];
}

}  // namespace

std::string_view defaultFontName() {
    return TFont_Names::of().Names[defaultFontNumber()];
}

// A tree holds millions of nodes: every byte of a node counts a million times.
static_assert(sizeof(TTree_Node) <= 192, "a node grew");

TTree_Node::TTree_Node() {
    Caption.assign(defaultCaption());
    Note_Excerpt.assign({});
    Font_Number_ = defaultFontNumber();
}

struct TKept_Counts {
    std::mutex Lock;
    std::unordered_map<const TTree_Node*, int64_t> Counts;
    std::atomic<bool> Any{false};

    static TKept_Counts& of() {
        // Never destroyed: nodes held by other static objects may still be
        // destroyed after it would have been.
        static auto* counts = new TKept_Counts;
        return *counts;
    }
    void keep(const TTree_Node* node, int64_t count) {
        std::lock_guard<std::mutex> hold(Lock);
        Counts[node] = count;
        node->Count_Kept_ = true;
        Any = true;
    }
    int64_t kept(const TTree_Node* node) {
        std::lock_guard<std::mutex> hold(Lock);
        auto at = Counts.find(node);
        return at == Counts.end() ? -1 : at->second;
    }
    void forget(const TTree_Node* node) {
        std::lock_guard<std::mutex> hold(Lock);
        Counts.erase(node);
        node->Count_Kept_ = false;
        Any = !Counts.empty();
    }
    void forgetAll() {
        std::lock_guard<std::mutex> hold(Lock);
        for (auto& [node, count] : Counts) node->Count_Kept_ = false;
        Counts.clear();
        Any = false;
    }
};

TTree_Node::~TTree_Node() {
    destroyChildren();
    if (Selected_) setSelected(false);
    if (Count_Kept_) TKept_Counts::of().forget(this);
    if (Remembered_) {
        TRemembered_Nodes& remembered = TRemembered_Nodes::of();
        std::lock_guard<std::mutex> hold(remembered.Lock);
        remembered.Holders.erase(this);
    }
}

void TTree_Node::noteShapeChange() {
    Tree_Shape_Changes.fetch_add(1, std::memory_order_relaxed);
    forgetKeptCounts();
}

void TTree_Node::forgetKeptCounts() const {
    TKept_Counts& counts = TKept_Counts::of();
    if (!counts.Any) return;
    int32_t steps = 0;
    for (const TTree_Node* up = this; up != nullptr; up = up->Parent) {
        if (++steps > kForget_Walk_Limit) {
            counts.forgetAll();
            return;
        }
        if (up->Count_Kept_) counts.forget(up);
    }
}

int64_t TTree_Node::countSubtree() const {
    TKept_Counts& counts = TKept_Counts::of();
    if (Count_Kept_) return counts.kept(this);
    // Post-order, so each subtree's count is known when it is left.
    struct TFrame {
        const TTree_Node* node;
        int32_t next;
        int64_t count;
    };
    std::vector<TFrame> stack{{this, 0, 1}};
    for (;;) {
        TFrame& frame = stack.back();
        if (frame.next < frame.node->childCount()) {
            const TTree_Node* child = frame.node->child(frame.next++);
            if (child->Count_Kept_)
                frame.count += counts.kept(child);
            else
                stack.push_back({child, 0, 1});
            continue;
        }
        const TFrame done = frame;
        stack.pop_back();
        if (done.count >= kKeep_Count_From) counts.keep(done.node, done.count);
        if (stack.empty()) return done.count;
        stack.back().count += done.count;
    }
}

struct TSelected_Nodes {
    std::mutex Lock;
    std::unordered_set<TTree_Node*> Nodes;

    static TSelected_Nodes& of() {
        static auto* nodes = new TSelected_Nodes;  // never destroyed, as the kept counts
        return *nodes;
    }
};

bool listSelectedNodes(size_t limit, std::vector<TTree_Node*>& out) {
    TSelected_Nodes& nodes = TSelected_Nodes::of();
    std::lock_guard<std::mutex> hold(nodes.Lock);
    out.clear();
    if (nodes.Nodes.size() > limit) return false;
    out.assign(nodes.Nodes.begin(), nodes.Nodes.end());
    return true;
}

void TTree_Node::setSelected(bool on) {
    if (Selected_ == on) return;
    Selected_ = on;
    TSelected_Nodes& nodes = TSelected_Nodes::of();
    std::lock_guard<std::mutex> hold(nodes.Lock);
    if (on)
        nodes.Nodes.insert(this);
    else
        nodes.Nodes.erase(this);
}

void TTree_Node::destroyChildren() {
    // Children are unhooked before they are deleted, so no destructor below
    // ever has a child of its own: the stack depth stays constant.
    if (Children.count() > 0) noteShapeChange();
    std::vector<TTree_Node*> pending(Children.begin(), Children.end());
    Children.clear();
    while (!pending.empty()) {
        TTree_Node* node = pending.back();
        pending.pop_back();
        pending.insert(pending.end(), node->Children.begin(), node->Children.end());
        node->Children.clear();
        delete node;
    }
}

bool TTree_Node::setCaption(const char* bytes, size_t length) {
    if (bytes == nullptr) return false;
    Caption.assign({bytes, length});
    return true;
}

void TTree_Node::setLink(std::string_view bytes) {
    if (bytes.empty())
        Link.reset();
    else
        Link.assign(bytes);
}

void TTree_Node::setExcerpt(std::string_view bytes) {
    if (bytes.empty())
        Note_Excerpt.reset();
    else
        Note_Excerpt.assign(bytes);
}

std::string_view TTree_Node::fontName() const {
    return TFont_Names::of().Names[Font_Number_];
}

void TTree_Node::setFontName(std::string_view bytes) {
    Font_Number_ = internFontName(bytes);
}

TTree_Node* TTree_Node::insertChild(std::unique_ptr<TTree_Node> child, int32_t index) {
    TTree_Node* raw = child.release();
    Children.insertAt(index, raw);
    noteShapeChange();
    raw->Parent = this;
    raw->Depth = Depth + 1;
    return raw;
}

TTree_Node* TTree_Node::appendChild(std::unique_ptr<TTree_Node> child) {
    return insertChild(std::move(child), Children.count());
}

std::unique_ptr<TTree_Node> TTree_Node::removeChild(TTree_Node* child) {
    int32_t index = Children.indexOf(child);
    if (index < 0) return nullptr;
    Children.removeAt(index);
    noteShapeChange();
    return std::unique_ptr<TTree_Node>(child);
}

void TTree_Node::moveChildUp(TTree_Node* child) {
    int32_t index = Children.indexOf(child);
    if (index > 0) Children.swapSlots(index, index - 1);
}

void TTree_Node::moveChildDown(TTree_Node* child) {
    int32_t index = Children.indexOf(child);
    if (index >= 0 && index + 1 < Children.count()) Children.swapSlots(index, index + 1);
}

TTree_Node* TTree_Node::previousSibling() const {
    if (Parent == nullptr) return nullptr;
    int32_t index = Parent->Children.indexOf(this);
    return index > 0 ? Parent->Children[index - 1] : nullptr;
}

TTree_Node* TTree_Node::nextSibling() const {
    if (Parent == nullptr) return nullptr;
    int32_t index = Parent->Children.indexOf(this);
    return index >= 0 && index + 1 < Parent->Children.count() ? Parent->Children[index + 1]
                                                              : nullptr;
}

void TTree_Node::copyContentFrom(const TTree_Node& source) {
    Caption = source.Caption;
    Link = source.Link;
    Note_Excerpt = source.Note_Excerpt;
    Content_Offset = source.Content_Offset;
    Content_Size = source.Content_Size;
    Content_Raw_Size = source.Content_Raw_Size;
    Work_Offset = source.Work_Offset;
    Work_Size = source.Work_Size;
    Font_Number_ = source.Font_Number_;
    Color_Caption = source.Color_Caption;
    Font_Size = source.Font_Size;
    Font_Style = source.Font_Style;
    Color_Edge = source.Color_Edge;
    Edge_Width = source.Edge_Width;
    Edge_Style = source.Edge_Style;
    Color_Fill = source.Color_Fill;
    Color_Link_Down = source.Color_Link_Down;
    Link_Down_Width = source.Link_Down_Width;
    Link_Style = source.Link_Style;
    Link_Style_Used = source.Link_Style_Used;
    Color_Link_Up = source.Color_Link_Up;
    Link_Up_Width = source.Link_Up_Width;
    View_Style = source.View_Style;
    View_Style_Used = source.View_Style_Used;
    Content_Dirty = 1;
}

std::unique_ptr<TTree_Node> TTree_Node::clone() const {
    auto copy = std::make_unique<TTree_Node>();
    copy->copyContentFrom(*this);
    return copy;
}

std::unique_ptr<TTree_Node> TTree_Node::cloneSubtree() const {
    auto top = clone();
    struct TPending {
        const TTree_Node* source;
        TTree_Node* copy;
    };
    std::vector<TPending> pending{{this, top.get()}};
    while (!pending.empty()) {
        TPending item = pending.back();
        pending.pop_back();
        for (const TTree_Node* child : item.source->Children)
            pending.push_back({child, item.copy->appendChild(child->clone())});
    }
    return top;
}

void TTree_Node::recomputeDepth() {
    Depth = Parent == nullptr ? 1 : Parent->Depth + 1;
    std::vector<TTree_Node*> pending(Children.begin(), Children.end());
    while (!pending.empty()) {
        TTree_Node* node = pending.back();
        pending.pop_back();
        node->Depth = node->Parent->Depth + 1;
        pending.insert(pending.end(), node->Children.begin(), node->Children.end());
    }
}

void TTree_Node::expandToLevel(int level) {
    struct TPending {
        TTree_Node* node;
        int level;
    };
    std::vector<TPending> pending{{this, 0}};
    while (!pending.empty()) {
        TPending item = pending.back();
        pending.pop_back();
        if (item.level >= level) {
            item.node->Expanded = 0;
            continue;
        }
        item.node->Expanded = 1;
        for (TTree_Node* child : item.node->Children) pending.push_back({child, item.level + 1});
    }
}

void TTree_Node::collapseAll() {
    std::vector<TTree_Node*> pending{this};
    while (!pending.empty()) {
        TTree_Node* node = pending.back();
        pending.pop_back();
        node->Expanded = 0;
        pending.insert(pending.end(), node->Children.begin(), node->Children.end());
    }
}

void TTree_Node::clearSelection() {
    std::vector<TTree_Node*> selected;
    if (listSelectedNodes(kFew_Selected, selected)) {
        for (TTree_Node* node : selected)
            if (holdsInSubtree(this, node) || isInSubtree(node, this)) node->setSelected(false);
        return;
    }
    for (TTree_Node* up = Parent; up != nullptr; up = up->Parent) up->setSelected(false);
    std::vector<TTree_Node*> pending{this};
    while (!pending.empty()) {
        TTree_Node* node = pending.back();
        pending.pop_back();
        node->setSelected(false);
        pending.insert(pending.end(), node->Children.begin(), node->Children.end());
    }
}

void TTree_Node::propagateViewStyle(int32_t code) {
    std::vector<TTree_Node*> pending{this};
    while (!pending.empty()) {
        TTree_Node* node = pending.back();
        pending.pop_back();
        if (node->View_Style != 0) continue;
        node->View_Style_Used = code;
        pending.insert(pending.end(), node->Children.begin(), node->Children.end());
    }
}

void TTree_Node::toggleFontStyle(int32_t flag) {
    if (flag == 0)
        Font_Style = 0;
    else
        Font_Style ^= flag;
}

bool isInSubtree(const TTree_Node* root, const TTree_Node* node) {
    // Walking up from the node gives the same answer as searching the subtree
    // and costs only the node's depth.
    for (const TTree_Node* at = node; at != nullptr; at = at->Parent)
        if (at == root) return true;
    return false;
}

TTree_Node* nextInDisplayOrder(TTree_Node* node, bool all) {
    if (node->hasChildren() && (all || node->Expanded)) return node->child(0);
    for (TTree_Node* at = node;;) {
        TTree_Node* parent = at->Parent;
        if (parent == nullptr || parent == node) return nullptr;
        if (parent->Children.last() != at) return at->nextSibling();
        at = parent;
    }
}

TTree_Node* previousInDisplayOrder(TTree_Node* node, bool all) {
    TTree_Node* parent = node->Parent;
    if (parent == nullptr || parent == node) return nullptr;
    if (parent->Children.first() == node) return parent;
    TTree_Node* at = node->previousSibling();
    while (at->hasChildren() && (all || at->Expanded)) at = at->Children.last();
    return at;
}

size_t excerptLength(std::string_view plainText) {
    size_t total = 0;
    size_t index = 0;
    while (index < plainText.size()) {
        size_t step = codePageCharacterLength(plainText[index]);
        if (total + step >= 300) break;
        total += step;
        index += step;
    }
    return total < plainText.size() ? total : plainText.size();
}

uint64_t treeShapeChanges() {
    return Tree_Shape_Changes.load(std::memory_order_relaxed);
}

}  // namespace vetra
