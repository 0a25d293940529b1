#pragma once

// Snapshots of unsaved work. A modified document is written now and then as
// a complete document file into the recovery directory, "<pid>-<n>.vt", with
// the name of the document it was taken from in "<pid>-<n>.name". A normal
// close or save removes them; whatever a killed editor left is offered at the
// next start.

#include <cstdint>
#include <string>
#include <vector>

#include "store/tree_doc.h"

namespace vetra {

struct TRecovery_Snapshot {
    std::string Path;      // the snapshot document
    std::string Original;  // the document's name, empty when it never had one
    int64_t Time = 0;      // when it was written, seconds since the epoch
};

// $XDG_STATE_HOME/vetra/recovery, else ~/.local/state/vetra/recovery.
std::string recoveryDirectory();

// "<directory>/<pid>-<serial>.vt" for this process.
std::string recoverySnapshotPath(const std::string& directory, int serial);

// Writes the whole tree of `doc`, notes included, as the subtree export
// writes it, into a sibling of `path` that is synced and renamed over it; the
// name file is written first the same way. Any failure leaves the earlier
// snapshot as it was. Creates the directory (mode 0700) when missing.
bool writeRecoverySnapshot(TTree_Doc& doc, const std::string& path);

// Snapshots whose process is no longer running, oldest first.
std::vector<TRecovery_Snapshot> leftoverSnapshots(const std::string& directory);

// Removes a snapshot and its name file.
void removeRecoverySnapshot(const std::string& path);

}  // namespace vetra
