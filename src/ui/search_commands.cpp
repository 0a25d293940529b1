#include "ui/search_commands.h"

#include <algorithm>

#include "model/caption_search.h"
#include "platform/text_codec.h"
#include "ui/form_search.h"
#include "ui/ui_text.h"

namespace vetra {
namespace {

// The window keeps its search text in a 200-byte buffer with its NUL.
constexpr size_t kSearch_Text_Limit = 199;

std::string_view wholeCharacterPrefix(std::string_view text, size_t limit) {
    size_t at = 0;
    while (at < text.size()) {
        const size_t step = codePageCharacterLength(text[at]);
        if (at + step > limit) break;
        at += step;
    }
    return text.substr(0, std::min(at, text.size()));
}

bool showFound(TTool_Window_Target& target, TTree_Node* found) {
    if (found == nullptr) {
        // No modal box: the status bar says so and the typing goes on.
        target.showStatusMessage(uiText("找不到") + " “" + nodeTextToQString(target.searchText()) +
                                 "”");
        return false;
    }
    const bool relayout = selectFoundNode(target.viewRoot(), *found);
    target.revealNode(*found, relayout);
    return true;
}

bool searchStep(TTool_Window_Target& target, TSearch_Direction direction) {
    TTree_Node& root = target.viewRoot();
    return showFound(target,
                     findNextMatch(root, searchStartNode(root), target.searchText(), direction));
}

}  // namespace

bool searchFirst(TTool_Window_Target& target, std::string_view text) {
    target.searchText() = std::string(wholeCharacterPrefix(text, kSearch_Text_Limit));
    return showFound(target, findFirstMatch(target.viewRoot(), target.searchText()));
}

bool searchNext(TTool_Window_Target& target) {
    return searchStep(target, TSearch_Direction::Forward);
}

bool searchPrevious(TTool_Window_Target& target) {
    return searchStep(target, TSearch_Direction::Backward);
}

bool runSearchCommand(TTool_Window_Target& target, const QString& text) {
    int replaced = 0;
    std::string bytes = qStringToNodeText(text, &replaced);
    if (replaced > 0) return false;
    return searchFirst(target, bytes);
}

bool searchWithDialog(QWidget* parent, TTool_Window_Target& target) {
    std::optional<QString> text = TForm_Search::ask(parent);
    if (!text) return false;
    return runSearchCommand(target, *text);
}

}  // namespace vetra
