#include "model/node_clipboard.h"

namespace vetra {

TNode_Clipboard& nodeClipboard() {
    static TNode_Clipboard clipboard;
    return clipboard;
}

}  // namespace vetra
