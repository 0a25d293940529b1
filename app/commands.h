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

// The editor: the main frame with FILE opened (or an empty document).
int runEditor(int argc, char** argv, const QString& fileName);
// The editor offscreen, driven by the lines of SCRIPT.
int runScript(int argc, char** argv, const QString& scriptPath, const QString& fileName);

// A program text (traditional, UTF-8, with at most one "%s") in the active
// mode, with the argument put in, as UTF-8 for the terminal.
std::string terminalMessage(std::string_view text, const std::string& argument);

}  // namespace vetra
