#pragma once

#include <QString>

namespace vetra {

// Registers ".vt" documents with the desktop for the current user: the MIME
// type (by extension and by the file's first bytes), the desktop entry that
// opens them with `programPath`, and the icon, all under `dataHome`
// ($XDG_DATA_HOME, else ~/.local/share). The MIME and desktop databases are
// refreshed when their tools are installed, and the program becomes the
// type's default opener when xdg-mime is there. Files are replaced whole, so
// a second run leaves the same files. False when a file cannot be written or
// a database tool fails.
bool associateDocuments(const QString& dataHome, const QString& programPath);

// $XDG_DATA_HOME when set to an absolute path, else ~/.local/share.
QString userDataHome();

// The desktop entry with Exec and TryExec set to `programPath`.
QString desktopEntryFor(const QString& programPath);

}  // namespace vetra
