#include "layout/navigation.h"

#include <cstdlib>

#include "layout/layout_engine.h"
#include "layout/style_codes.h"

namespace vetra {

namespace {

constexpr int64_t kFarthest = 10000;

TNode_Point referencePoint(const TTree_Node& node, TNode_Point at, int axis) {
    if (axis == 1) at.x += node.Layout.Box_Width / 2;
    if (axis == 2) at.y += node.Layout.Box_Height / 2;
    return at;
}

bool parentRightOf(const TTree_Node* node) {
    return absolutePosition(*node->Parent).x > absolutePosition(*node).x;
}

bool parentLeftOf(const TTree_Node* node) {
    return absolutePosition(*node->Parent).x < absolutePosition(*node).x;
}

int32_t parentStyle(const TTree_Node* node) {
    return node->Parent->View_Style_Used;
}

}  // namespace

TTree_Node* nearestChild(TTree_Node* node, TNav_Direction direction, int axis) {
    if (!node->Expanded) return nullptr;
    const TNode_Point at = absolutePosition(*node);
    const TNode_Point from = referencePoint(*node, at, axis);
    TTree_Node* best = nullptr;
    int64_t bestDistance = kFarthest;
    for (TTree_Node* child : node->Children) {
        const TLayout_Cache& c = child->Layout;
        const TNode_Point childAt{clampExtent(int64_t{at.x} + c.Block_Pos.x + c.Box_Offset.x),
                                  clampExtent(int64_t{at.y} + c.Block_Pos.y + c.Box_Offset.y)};
        const TNode_Point to = referencePoint(*child, childAt, axis);
        bool wrongSide = false;
        switch (direction) {
            case TNav_Direction::Left:
                wrongSide = to.x > from.x;
                break;
            case TNav_Direction::Right:
                wrongSide = to.x < from.x;
                break;
            case TNav_Direction::Up:
                wrongSide = to.y > from.y;
                break;
            case TNav_Direction::Down:
                wrongSide = to.y < from.y;
                break;
        }
        if (wrongSide) continue;
        const bool sideways =
            direction == TNav_Direction::Left || direction == TNav_Direction::Right;
        const bool useVertical = sideways ? axis == 2 : axis != 1;
        const int64_t distance =
            useVertical ? std::llabs(int64_t{to.y} - from.y) : std::llabs(int64_t{to.x} - from.x);
        if (distance < bestDistance) {
            best = child;
            bestDistance = distance;
        }
    }
    return best;
}

TTree_Node* Node_Down(TTree_Node* node) {
    if (node->View_Style_Used == kView_Stru_Down) {
        if (TTree_Node* found = nearestChild(node, TNav_Direction::Down, 1)) return found;
    }
    if (node->Parent == nullptr) return nullptr;
    const int32_t style = parentStyle(node);
    if (style >= kView_Tree_Main && style <= kView_List_Right) return node->nextSibling();
    if (style == kView_Stru_Up) return node->Parent;
    if (style == kView_Stru_Down) return nearestChild(node, TNav_Direction::Down, 1);
    return nullptr;
}

TTree_Node* Node_Up(TTree_Node* node) {
    if (node->View_Style_Used == kView_Stru_Up) {
        if (TTree_Node* found = nearestChild(node, TNav_Direction::Up, 1)) return found;
    }
    if (node->Parent == nullptr) return nullptr;
    const int32_t style = parentStyle(node);
    if (style >= kView_Tree_Main && style <= kView_Tree_Right) return node->previousSibling();
    if (style == kView_List_Left || style == kView_List_Right) {
        if (TTree_Node* previous = node->previousSibling()) return previous;
        return node->Parent;
    }
    if (style == kView_Stru_Up) return nearestChild(node, TNav_Direction::Up, 1);
    if (style == kView_Stru_Down) return node->Parent;
    return nullptr;
}

TTree_Node* Node_Right(TTree_Node* node) {
    const int32_t own = node->View_Style_Used;
    if (own == kView_Tree_Main || own == kView_Tree_Right || own == kView_List_Right) {
        if (TTree_Node* found = nearestChild(node, TNav_Direction::Right, 2)) return found;
    }
    if (node->Parent == nullptr) return nullptr;
    const int32_t style = parentStyle(node);
    if (style == kView_Tree_Main) return parentRightOf(node) ? node->Parent : nullptr;
    if (style == kView_Tree_Left || style == kView_List_Left) return node->Parent;
    if (style == kView_Stru_Up || style == kView_Stru_Down) return node->nextSibling();
    return nullptr;
}

TTree_Node* Node_Left(TTree_Node* node) {
    const int32_t own = node->View_Style_Used;
    if (own == kView_Tree_Main || own == kView_Tree_Left || own == kView_List_Left) {
        if (TTree_Node* found = nearestChild(node, TNav_Direction::Left, 2)) return found;
    }
    if (node->Parent == nullptr) return nullptr;
    const int32_t style = parentStyle(node);
    if (style == kView_Tree_Main) return parentLeftOf(node) ? node->Parent : nullptr;
    if (style == kView_Tree_Right || style == kView_List_Right) return node->Parent;
    if (style == kView_Stru_Up || style == kView_Stru_Down) return node->previousSibling();
    return nullptr;
}

}  // namespace vetra
