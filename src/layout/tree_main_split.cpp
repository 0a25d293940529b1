#include "layout/tree_main_split.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace vetra {

int32_t leftGroupSize(const int32_t* heights, int32_t count) {
    if (count <= 0) return 0;
    if (count <= 2) return 1;
    int64_t total = 0;
    for (int32_t i = 0; i < count; ++i) total += heights[i];
    const int64_t half = total / 2;
    int64_t sum = 0;
    for (int32_t i = 0; i < count; ++i) {
        const int64_t before = sum;
        sum += heights[i];
        if (sum >= half) return sum - half > half - before ? i : i + 1;
    }
    return count;
}

int32_t leftGroupSize(const TTree_Node& node) {
    if (!node.Expanded) return 0;
    std::vector<int32_t> heights;
    for (const TTree_Node* child : node.Children) heights.push_back(child->Layout.Block_Height);
    return leftGroupSize(heights.data(), node.childCount());
}

int64_t mainBulge(int32_t count, int32_t index) {
    const double spread = (count - 1) * 0.5;
    const int64_t toward = static_cast<int64_t>(std::fabs(std::trunc((spread - index) * 20)));
    return static_cast<int64_t>(spread * 20 - static_cast<double>(toward));
}

TMain_Split splitTreeMain(const int32_t* widths, const int32_t* heights, int32_t count,
                          int64_t boxHeight) {
    TMain_Split split;
    split.leftCount = leftGroupSize(heights, count);
    const int32_t rightCount = count - split.leftCount;
    int64_t leftSum = 0, rightSum = 0, leftMost = 0, rightMost = 0;
    for (int32_t i = 0; i < count; ++i) {
        if (i < split.leftCount) {
            leftSum += heights[i];
            leftMost = std::max<int64_t>(leftMost, widths[i]);
        } else {
            rightSum += heights[i];
            rightMost = std::max<int64_t>(rightMost, widths[i]);
        }
    }
    // The bulge grows toward the middle of a group: its largest value is the
    // middle child's.
    if (split.leftCount > 0) split.leftBulge = mainBulge(split.leftCount, split.leftCount / 2);
    if (rightCount > 0) split.rightBulge = mainBulge(rightCount, rightCount / 2);
    split.height = std::max({boxHeight, leftSum, rightSum});
    split.leftWidth = leftMost > 0 ? leftMost + 30 : 0;
    split.rightWidth = rightMost > 0 ? rightMost + 30 : 0;
    return split;
}

}  // namespace vetra
