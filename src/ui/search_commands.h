#pragma once

#include <QString>
#include <string_view>

#include "ui/tool_window_target.h"

class QWidget;

namespace vetra {

// The three search commands of a document window. Each returns true when it
// found and selected a node; no match, or the end of the tree in the
// direction of travel, changes nothing and shows nothing.

// Search first: keeps the text as the window's search text (at most 199
// bytes, whole characters), then selects the first match from the view root
// on.
bool searchFirst(TTool_Window_Target& target, std::string_view text);
// Search next and previous: step from the only selected node (or the view
// root) with the window's search text; with an empty text every node
// matches, so they walk the tree one node at a time.
bool searchNext(TTool_Window_Target& target);
bool searchPrevious(TTool_Window_Target& target);

// `N_SearchClick`: asks with TForm_Search, then searches first for the typed
// text. A text with a character the active code page cannot hold is in no
// caption: nothing is found and the window's search text stays as it was.
bool searchWithDialog(QWidget* parent, TTool_Window_Target& target);

// The script command "search TEXT": as if the dialog were confirmed with TEXT.
bool runSearchCommand(TTool_Window_Target& target, const QString& text);

}  // namespace vetra
