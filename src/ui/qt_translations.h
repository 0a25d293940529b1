#pragma once

namespace vetra {

// Qt's own dialogs and buttons (file dialogs, Yes/No/Cancel, the colour
// dialog) speak the program's language: Qt's translations for zh_CN or zh_TW
// are installed by the active text mode. Without them installed Qt stays in
// English. Returns true when a translation was loaded.
bool installQtTranslations();

}  // namespace vetra
