#pragma once

#include <QString>

namespace vetra {

enum class TLink_Target { Document, Other };

// A link whose last path component ends in ".vt" (exactly, lower case) is a
// document for this program; anything else goes to the desktop.
TLink_Target classifyLink(const QString& link);

// Relative links ("./a.doc", ".\a.doc") are taken from the program's
// directory; "\" is read as "/" in file paths. Web addresses stay as they are.
QString resolveLink(const QString& link);

// Opens the link with the desktop's opener, then with the web browser (given
// the link as a URL). False when neither could, and for a file that does not
// exist. In a scripted session nothing is started unless VETRA_OPEN_LINKS=1.
bool openWithDesktop(const QString& link);

}  // namespace vetra
