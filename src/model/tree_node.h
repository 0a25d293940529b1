#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "model/block_pool.h"
#include "model/node_text.h"
#include "model/ptr_array.h"

namespace vetra {

// Colours are 0x00BBGGRR; -1 is the Auto colour of a style field.
inline constexpr int32_t kColor_Auto = -1;
inline constexpr int kFont_Name_Size = 64;  // 63 bytes and the terminating NUL

struct TNode_Rect {
    int32_t x = 0, y = 0, width = 0, height = 0;
    friend bool operator==(const TNode_Rect&, const TNode_Rect&) = default;
};

struct TNode_Point {
    int32_t x = 0, y = 0;
    friend bool operator==(const TNode_Point&, const TNode_Point&) = default;
};

// Results of the last layout; written only by the layout engines, never stored.
struct TLayout_Cache {
    // The caption rectangle, relative to the node box; the link indicator
    // and the expand/collapse marker follow from it (linkRect, markerRect).
    TNode_Rect Text_Rect;
    TNode_Point Box_Offset;
    int32_t Box_Width = 0;
    int32_t Box_Height = 0;
    TNode_Point Block_Pos;
    int32_t Block_Width = 0;
    int32_t Block_Height = 0;
    // The connector's end at the parent's box; its end at the node's own box
    // follows from the rest (ownAnchor).
    TNode_Point Parent_Anchor;
    friend bool operator==(const TLayout_Cache&, const TLayout_Cache&) = default;
};

// One node of a tree document. A node owns its texts and its children;
// `Parent` is a back reference. Destroying a node destroys its subtree without
// recursion, so chains of any depth are safe.
class TTree_Node {
  public:
    TTree_Node();
    ~TTree_Node();
    TTree_Node(const TTree_Node&) = delete;
    TTree_Node& operator=(const TTree_Node&) = delete;
    // Nodes come from the run's block pool: exactly their size, no header.
    static void* operator new(size_t size) { return allocateSmallBlock(size); }
    static void operator delete(void* node, size_t size) noexcept { releaseSmallBlock(node, size); }

    TNode_Text Caption;       // never absent
    TNode_Text Link;          // absent, or a non-empty address (a read file may hold it empty)
    TNode_Text Note_Excerpt;  // plain-text prefix of the note; present and empty by default
    TTree_Node* Parent = nullptr;
    TPtr_Array<TTree_Node> Children;  // owned; display order and file order
    int32_t Content_Offset = 0;
    int32_t Content_Size = 0;
    int32_t Note_Caret = 0;
    int32_t Content_Raw_Size = 0;
    int32_t Work_Offset = 0;
    int32_t Work_Size = 0;
    int32_t Depth = 0;
    int32_t Color_Caption = 0x000000FF;
    int32_t Font_Size = 18;
    int32_t Font_Style = 0;
    int32_t Color_Edge = 0x00FF0000;
    int32_t Edge_Width = 1;
    int32_t Edge_Style = 0;
    int32_t Color_Fill = kColor_Auto;
    int32_t Link_Down_Width = 0;
    int32_t Color_Link_Down = 0x00800000;
    int32_t Link_Style = 0;
    int32_t Color_Link_Up = kColor_Auto;
    int32_t Link_Up_Width = 0;
    int32_t View_Style = 0;
    int32_t View_Style_Used = 1;
    int32_t Link_Style_Used = 0;
    TLayout_Cache Layout;
    // Two flags at the end, next to the private ones, so the node packs into
    // 192 bytes.
    int8_t Content_Dirty = 0;
    int8_t Expanded = 1;

    // Texts. An absent caption argument changes nothing and fails.
    bool setCaption(const char* bytes, size_t length);
    bool setCaption(std::string_view bytes) { return setCaption(bytes.data(), bytes.size()); }
    // An empty value leaves the link (or excerpt) absent.
    void setLink(std::string_view bytes);
    void setExcerpt(std::string_view bytes);
    // The caption font face, at most 63 bytes. Faces are few and nodes many,
    // so a node holds the number of its name in one pool of the run; equal
    // names have equal bytes (the same pointer).
    std::string_view fontName() const;
    // Stores at most 63 bytes, cut at a character boundary.
    void setFontName(std::string_view bytes);

    // Children. The node takes ownership; the child's Parent and Depth are set.
    TTree_Node* insertChild(std::unique_ptr<TTree_Node> child, int32_t index);
    TTree_Node* appendChild(std::unique_ptr<TTree_Node> child);
    // Takes the child out of the list and hands it over; its Parent is left as
    // it was for the caller to set or discard. Null when it is not a child.
    std::unique_ptr<TTree_Node> removeChild(TTree_Node* child);
    int32_t indexOfChild(const TTree_Node* child) const { return Children.indexOf(child); }
    TTree_Node* child(int32_t index) const { return Children[index]; }
    int32_t childCount() const { return Children.count(); }
    bool hasChildren() const { return Children.count() > 0; }
    void moveChildUp(TTree_Node* child);
    void moveChildDown(TTree_Node* child);

    TTree_Node* previousSibling() const;
    TTree_Node* nextSibling() const;

    // Copies texts, note locations, fonts, colours and styles; marks the note dirty.
    void copyContentFrom(const TTree_Node& source);
    std::unique_ptr<TTree_Node> clone() const;
    std::unique_ptr<TTree_Node> cloneSubtree() const;

    // Depth = parent's Depth + 1 (1 without a parent), and so on down the subtree.
    void recomputeDepth();
    void expandToLevel(int level);
    void collapseAll();
    // Whether the node is selected in its view. Every selected node of the
    // program is also listed (see listSelectedNodes), so the selection
    // of a huge tree is found without walking it.
    bool selected() const { return Selected_; }
    void setSelected(bool on);
    // Unselects the node, its ancestors and its descendants.
    void clearSelection();

    // How many nodes the subtree holds, the node included, collapsed
    // branches too. The counts of large subtrees are kept between calls and
    // forgotten when a child below them comes or goes, so counting a huge
    // tree again after an edit walks only what the edit touched.
    int64_t countSubtree() const;
    // Forgets the kept counts of the node and its ancestors; for a holder
    // that has cut a Parent link, above which changes below are not seen.
    void forgetKeptCounts() const;

    void setViewStyle(int32_t code) { View_Style = View_Style_Used = code; }
    void propagateViewStyle(int32_t code);
    void setLinkStyle(int32_t code) { Link_Style = Link_Style_Used = code; }
    void resolveLinkStyle(int32_t code) {
        if (Link_Style == 0) Link_Style_Used = code;
    }
    void toggleFontStyle(int32_t flag);

  private:
    void destroyChildren();
    // A child came or went here: the kept counts of this node and of its
    // ancestors no longer hold.
    void noteShapeChange();

    bool Selected_ : 1 = false;
    mutable bool Count_Kept_ : 1 = false;  // a count of this subtree is kept
    mutable bool Remembered_ : 1 = false;  // a TNode_Memory holds the node
    uint32_t Font_Number_ = 0;
    friend struct TKept_Counts;
    friend class TNode_Memory;
};

// Nodes held by address without being owned, such as the selection that an
// undone command restores when it is redone. A node that is destroyed leaves
// every memory, so a memory hands out only nodes that live.
class TNode_Memory {
  public:
    TNode_Memory() = default;
    ~TNode_Memory() { forget(); }
    TNode_Memory(const TNode_Memory&) = delete;
    TNode_Memory& operator=(const TNode_Memory&) = delete;

    // Requires: every node lives.
    void assign(const std::vector<TTree_Node*>& nodes);
    // The remembered nodes that still live, in the order given.
    std::vector<TTree_Node*> living() const;
    void swap(TNode_Memory& other) noexcept { Nodes_.swap(other.Nodes_); }

  private:
    void forget();
    std::vector<TTree_Node*> Nodes_;
};

// Every selected node of the program, in no order, into `out`; false, with
// `out` left empty, when more than `limit` are selected, for the caller to
// walk its tree instead.
bool listSelectedNodes(size_t limit, std::vector<TTree_Node*>& out);

// True when `node` is `root` or one of its descendants.
bool isInSubtree(const TTree_Node* root, const TTree_Node* node);
// The same for a node that may stand in a removed subtree (which keeps its
// old Parent): each step up must be a child its parent still holds.
bool holdsInSubtree(const TTree_Node* root, const TTree_Node* node);

// The display-order walks; with `all` collapsed subtrees are entered too.
TTree_Node* nextInDisplayOrder(TTree_Node* node, bool all);
TTree_Node* previousInDisplayOrder(TTree_Node* node, bool all);

// The default caption ("雙擊輸入標題") and the caption of a new node ("新節點"),
// as bytes in the active text mode.
std::string_view defaultCaption();
std::string_view newNodeCaption();

// The font face of a new node: "宋体" in GBK, as the Windows font is named;
// in traditional mode "宋體" in Big5, so it reads like the captions.
inline constexpr std::string_view kDefault_Font_Name = "\xCB\xCE\xCC\xE5";
std::string_view defaultFontName();

// The longest prefix of whole characters of a note's plain text that is
// shorter than 300 bytes.
size_t excerptLength(std::string_view plainText);

}  // namespace vetra
