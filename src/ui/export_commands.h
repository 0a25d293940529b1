#pragma once

class QWidget;

namespace vetra {

// The four export commands of the tools menu.
enum class TExport_Command { Html, Site, Picture, Map };

// Runs an export command on the active document window (nothing happens
// without one): asks for the file name, proposing the document's name, writes
// the export, tells the user what failed, and opens the result with the
// desktop's opener.
void runExportCommand(QWidget* frame, QWidget* documentWindow, TExport_Command command);

}  // namespace vetra
