#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <string>
#include <vector>

namespace vetra {

class TForm_Main_Vetra;
class TForm_Qo_Tree;

// Keeps snapshots of the frame's unsaved documents in the recovery directory:
// a document that has been modified for a while (60 seconds, or
// VETRA_SNAPSHOT_SECONDS) is written there, again after each further while of
// edits, and every modified document at once when the desktop asks the
// program to quit (log-out, or SIGTERM / SIGHUP, which then end it). Saving or closing a document
// removes its snapshot; a snapshot outlives only a killed or logged-out editor.
class TRecovery_Snapshots : public QObject {
    Q_OBJECT
  public:
    explicit TRecovery_Snapshots(TForm_Main_Vetra& frame);
    ~TRecovery_Snapshots() override;

    // Writes a snapshot of every modified document now, and from then on
    // keeps the snapshots of windows that close (the session is ending).
    void snapshotAll();

    // Offers the snapshots an earlier run left behind: "恢復未保存的文檔？"
    // with their names and times. Yes opens each as an unsaved document named
    // after its original; no deletes them. Either way they leave the directory.
    static void offerLeftovers(TForm_Main_Vetra& frame);

  private:
    struct TEntry {
        QPointer<TForm_Qo_Tree> Window;
        std::string Path;       // its snapshot, once written
        const void* Last_Edit;  // the newest undo group when it was written
        int Undo_Count;
        qint64 Dirty_Since;  // when unsnapshotted edits began, or -1
    };

    void poll();
    // SIGTERM and SIGHUP write the snapshots and end the program.
    void watchEndSignals();
    TEntry& entryOf(TForm_Qo_Tree& window);
    bool writeSnapshot(TEntry& entry);

    TForm_Main_Vetra& Frame_;
    std::vector<TEntry> Entries_;
    QTimer Timer_;
    qint64 Interval_Ms;
    int Serial_ = 0;
    bool Session_Ending = false;
};

}  // namespace vetra
