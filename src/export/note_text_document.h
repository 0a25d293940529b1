#pragma once

#include <QTextDocument>

#include "rtf/rtf_document.h"

namespace vetra {

// Moves a note between the RTF model and the QTextDocument the note editor
// shows. Formatting the editor cannot show (a font charset, exact paragraph
// spacing in twips, a picture's bitmap file) rides along in format
// properties, so a note that is only looked at is written back as it was read.

// Replaces the document's content with the note.
void loadNoteIntoTextDocument(const TRtf_Document& note, QTextDocument& document);

// The note the document holds. Pictures come out as Windows bitmap files.
TRtf_Document noteFromTextDocument(const QTextDocument& document);

// Adds a picture at the cursor, as the insert-picture command does.
// `bitmapFile` is a Windows bitmap file; false when it does not read.
bool insertPictureAt(class QTextCursor& cursor, const std::string& bitmapFile);

}  // namespace vetra
