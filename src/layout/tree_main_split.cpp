#include "layout/tree_main_split.h"

#include <algorithm>
#include <cmath>

namespace vetra {

int32_t leftGroupSize(const TTree_Node& node) {
    const int32_t count = node.childCount();
    if (count == 0 || !node.Expanded) return 0;
    if (count <= 2) return 1;
    int64_t total = 0;
    for (const TTree_Node* child : node.Children) total += child->Layout.Block_Height;
    const int64_t half = total / 2;
    int64_t sum = 0;
    for (int32_t i = 0; i < count; ++i) {
        const int64_t before = sum;
        sum += node.child(i)->Layout.Block_Height;
        if (sum >= half) return sum - half > half - before ? i : i + 1;
    }
    return count;
}

int64_t mainBulge(int32_t count, int32_t index) {
    const double spread = (count - 1) * 0.5;
    const int64_t toward = static_cast<int64_t>(std::fabs(std::trunc((spread - index) * 20)));
    return static_cast<int64_t>(spread * 20 - static_cast<double>(toward));
}

TMain_Split splitTreeMain(const TTree_Node& node) {
    TMain_Split split;
    split.leftCount = leftGroupSize(node);
    const int32_t count = node.Expanded ? node.childCount() : 0;
    int64_t leftSum = 0, rightSum = 0, leftMost = 0, rightMost = 0;
    for (int32_t i = 0; i < count; ++i) {
        const TLayout_Cache& c = node.child(i)->Layout;
        if (i < split.leftCount) {
            leftSum += c.Block_Height;
            leftMost = std::max<int64_t>(leftMost, c.Block_Width);
            split.leftBulge = std::max(split.leftBulge, mainBulge(split.leftCount, i));
        } else {
            rightSum += c.Block_Height;
            rightMost = std::max<int64_t>(rightMost, c.Block_Width);
            split.rightBulge =
                std::max(split.rightBulge, mainBulge(count - split.leftCount, i - split.leftCount));
        }
    }
    split.height = std::max({int64_t{node.Layout.Box_Height}, leftSum, rightSum});
    split.leftWidth = leftMost > 0 ? leftMost + 30 : 0;
    split.rightWidth = rightMost > 0 ? rightMost + 30 : 0;
    return split;
}

}  // namespace vetra
