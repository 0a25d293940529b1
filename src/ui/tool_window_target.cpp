#include "ui/tool_window_target.h"

#include <map>

namespace vetra {
namespace tool_window_detail {
namespace {

std::map<int, TTarget_Gone>& listeners() {
    static std::map<int, TTarget_Gone> all;
    return all;
}

}  // namespace

int addTargetGoneListener(TTarget_Gone listener) {
    static int next = 0;
    listeners().emplace(++next, std::move(listener));
    return next;
}

void removeTargetGoneListener(int id) {
    listeners().erase(id);
}

}  // namespace tool_window_detail

TTool_Window_Target::~TTool_Window_Target() {
    for (auto& [id, listener] : tool_window_detail::listeners()) listener(this);
}

}  // namespace vetra
