#pragma once

namespace vetra {

class TForm_Main_Vetra;
class TScript_Runner;
struct TEdit_Context;

// File > "導入…": asks for an outline file (indented text, Markdown, OPML,
// mind map) and opens its tree as a new, unsaved document window. A file
// that does not read gives "無法導入文件 %s" and nothing changes.
void importOutlineCommand(TForm_Main_Vetra& frame);

// Paste with an empty node clipboard: the system clipboard's text becomes
// children of the current node, nested by indentation, in one undo step.
// False when there is no text or no current node.
bool pasteClipboardText(TEdit_Context& ctx);

// Script command "clipboard-text TEXT" ("\n" and "\t" stand for line
// breaks and tabs): puts TEXT on the system clipboard.
void addOutlineScriptCommands(TScript_Runner& runner);

}  // namespace vetra
