#include "export/outline_tree.h"

#include "export/outline_note.h"
#include "platform/text_codec.h"
#include "platform/text_mode.h"
#include "store/content_store.h"
#include "store/tree_doc.h"

namespace vetra {
namespace {

// Longer captions and links are cut: a document file refuses texts past its
// record limit, and no one reads a caption this long.
constexpr size_t kMax_Text_Bytes = 65536;

std::string toNodeText(std::string_view utf8, int& replaced) {
    const int mode = activeTextMode();
    TConverted_Text converted = utf8ToCodePage(utf8, mode);
    if (converted.replaced > 0 && mode == kTextModeTraditional) {
        // Simplified characters have their traditional forms in Big5.
        TConverted_Text mapped = utf8ToCodePage(simplifiedToTraditional(utf8), mode);
        if (mapped.replaced < converted.replaced) converted = std::move(mapped);
    }
    replaced += converted.replaced;
    if (converted.text.size() > kMax_Text_Bytes)
        converted.text.resize(characterPrefixLength(converted.text, kMax_Text_Bytes));
    return std::move(converted.text);
}

// The note keeps every character (RTF writes those the code page lacks as
// Unicode); only its excerpt is in the code page, and losses there are not
// the user's text, so they are not counted.
void giveNote(TTree_Node& node, std::string_view note, TContent_Store* store) {
    const int mode = activeTextMode();
    int excerptLosses = 0;
    std::string plain = toNodeText(note, excerptLosses);
    node.setExcerpt(std::string_view(plain).substr(0, excerptLength(plain)));
    if (store == nullptr) return;
    const std::string rtf = noteFromPlainText(note, mode);
    std::optional<int32_t> offset = store->append(rtf);
    if (!offset) return;
    node.Work_Offset = *offset;
    node.Work_Size = static_cast<int32_t>(rtf.size());
    node.Content_Dirty = 1;
}

// The node's note as plain text: its working copy or stored note, else the
// excerpt a node without either shows. `buffer` is reused between nodes.
std::string notePlainTextOf(TTree_Node& node, TTree_Doc& doc, TContent_Store* store,
                            std::string& buffer) {
    const int mode = activeTextMode();
    if ((node.Work_Size > 0 || node.Content_Size > 0) && store != nullptr &&
        doc.loadNoteOf(node) == TNote_Load::Loaded &&
        store->read(node.Work_Offset, node.Work_Size, buffer))
        return notePlainText(buffer, mode);
    if (node.Note_Excerpt.isPresent()) return codePageToUtf8(node.Note_Excerpt.view(), mode).text;
    return {};
}

}  // namespace

TOutline_Nodes nodesFromOutline(const TOutline& outline, int32_t defaultColor,
                                TContent_Store* store) {
    TOutline_Nodes result;
    std::vector<TTree_Node*> open;  // the latest node of each level
    for (const TOutline_Item& item : outline) {
        auto node = std::make_unique<TTree_Node>();
        node->setCaption(toNodeText(item.Caption, result.Replaced));
        node->setLink(toNodeText(item.Link, result.Replaced));
        if (!item.Note.empty()) giveNote(*node, item.Note, store);
        node->Expanded = item.Folded ? 0 : 1;
        node->Color_Caption = item.Color_Caption >= 0 ? item.Color_Caption : defaultColor;
        node->Color_Fill = item.Color_Fill;
        size_t level = item.Level <= 0 ? 0 : static_cast<size_t>(item.Level);
        if (level > open.size()) level = open.size();
        open.resize(level);
        TTree_Node* placed = node.get();
        if (level == 0)
            result.Subtrees.push_back(std::move(node));
        else
            open.back()->appendChild(std::move(node));
        open.push_back(placed);
    }
    return result;
}

std::unique_ptr<TTree_Node> treeFromOutline(TOutline_Nodes nodes, std::string_view rootCaption,
                                            int32_t defaultColor, int& replaced) {
    replaced = nodes.Replaced;
    if (nodes.Subtrees.empty()) return nullptr;
    std::unique_ptr<TTree_Node> root;
    if (nodes.Subtrees.size() == 1) {
        root = std::move(nodes.Subtrees.front());
    } else {
        root = std::make_unique<TTree_Node>();
        root->setCaption(toNodeText(rootCaption, replaced));
        root->Color_Caption = defaultColor;
        for (auto& subtree : nodes.Subtrees) root->appendChild(std::move(subtree));
    }
    root->Expanded = 1;
    root->recomputeDepth();
    return root;
}

TOutline outlineFromTree(TTree_Node& root, TTree_Doc& doc, bool withNotes) {
    const int mode = activeTextMode();
    TContent_Store* store = doc.Store != nullptr ? doc.Store : contentStore();
    TOutline outline;
    struct TPending {
        TTree_Node* node;
        int32_t level;
    };
    std::vector<TPending> pending{{&root, 0}};
    std::string noteBytes;
    while (!pending.empty()) {
        TPending next = pending.back();
        pending.pop_back();
        TTree_Node& node = *next.node;
        TOutline_Item item;
        item.Level = next.level;
        item.Caption = codePageToUtf8(node.Caption.view(), mode).text;
        if (node.Link.isPresent()) item.Link = codePageToUtf8(node.Link.view(), mode).text;
        item.Folded = node.Expanded == 0 && node.hasChildren();
        item.Color_Caption = node.Color_Caption;
        item.Color_Fill = node.Color_Fill;
        if (withNotes) item.Note = notePlainTextOf(node, doc, store, noteBytes);
        outline.push_back(std::move(item));
        for (int32_t i = node.childCount(); i-- > 0;)
            pending.push_back({node.child(i), next.level + 1});
    }
    return outline;
}

}  // namespace vetra
