#pragma once

#include <string>
#include <string_view>

#include <QString>

namespace vetra {

// Commands that run without a display. Each returns the process exit status.
int runDump(const std::string& path);
// Opens `input` as the editor does and saves it under `output` (save as).
int runSaveAs(const std::string& input, const std::string& output);
// Writes the subtree at `nodePath` ("r", "r.0.2": child indexes from the
// root) of `input` as a document file `output`.
int runExportNode(const std::string& input, const std::string& nodePath, const std::string& output);
// Reads an outline file (.txt, .md, .opml, .mm) into a new document `output`.
int runImport(const std::string& input, const std::string& output);
// Writes the tree of `input` as an outline file in the format of `output`'s
// extension (.txt, .md, .opml, .mm).
int runExportOutline(const std::string& input, const std::string& output);
// The main view's layout, one line per visible node (`picture W H`, then
// `PATH X Y W H V L AX AY PX PY`); with fixed metrics 8 px a byte, 16 high.
int runDumpLayout(const std::string& path, bool fixedMetrics);
// The drawing calls that paint the main view, one per line.
int runDumpPaint(const std::string& path, bool fixedMetrics);
// The main view painted with real fonts into a PNG, BMP or JPEG picture.
int runRender(const std::string& path, const std::string& outPath);
// The word-processor document (.doc/.docx/.odt) or the presentation
// (.ppt/.pptx/.odp) of the document, converted by LibreOffice.
int runExportOffice(const std::string& input, const std::string& output, bool presentation);

// The note of the node at `nodePath` as the note editor shows it: plain text,
// one line a paragraph or line break, or with `asRtf` the RTF the editor
// writes. 1 with a message for a bad path or a node without a note.
int runNote(int argc, char** argv, const std::string& file, const std::string& nodePath,
            bool asRtf);
// Loads NOTE (RTF or plain text) into the note editor as the node's note,
// applies it as the node dialog's OK does and saves the document.
int runSetNote(int argc, char** argv, const std::string& file, const std::string& nodePath,
               const std::string& notePath);
// The exports of the tools menu, on the main view, without a display.
enum class TExport_Kind { Html, Site, Picture, Map };
int runExport(TExport_Kind kind, const std::string& path, const std::string& outPath);

// The editor: the main frame with FILE opened (or an empty document).
int runEditor(int argc, char** argv, const QString& fileName);
// The editor offscreen, driven by the lines of SCRIPT.
int runScript(int argc, char** argv, const QString& scriptPath, const QString& fileName);

// A program text (traditional, UTF-8, with at most one "%s") in the active
// mode, with the argument put in, as UTF-8 for the terminal.
std::string terminalMessage(std::string_view text, const std::string& argument);

}  // namespace vetra
