#pragma once

#include <QIcon>

namespace vetra {

// The desktop theme's icon, or, where the theme has none, a small drawn one
// so the tool bar never shows empty buttons.
enum class TTool_Glyph {
    New,
    Open,
    Save,
    SaveAs,
    SaveAll,
    Cut,
    Copy,
    Paste,
    AddNode,
    Edit,
    Expand,
    Collapse,
    Help,
    Exit,
    Undo,
    Redo
};
QIcon toolIcon(TTool_Glyph glyph);

}  // namespace vetra
