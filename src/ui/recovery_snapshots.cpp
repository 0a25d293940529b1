#include "ui/recovery_snapshots.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QDateTime>
#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include "store/recovery_snapshot.h"
#include "ui/document_window.h"
#include "ui/main_frame.h"
#include "ui/message_box.h"

namespace vetra {
namespace {

qint64 snapshotIntervalMs() {
    bool ok = false;
    int seconds = qEnvironmentVariableIntValue("VETRA_SNAPSHOT_SECONDS", &ok);
    return (ok && seconds > 0 ? seconds : 60) * qint64(1000);
}

qint64 nowMs() {
    return QDateTime::currentMSecsSinceEpoch();
}

// SIGTERM and SIGHUP (how many desktops end a session) reach the event loop
// through this pipe.
int Signal_Pipe[2] = {-1, -1};

void onEndSignal(int) {
    char byte = 1;
    [[maybe_unused]] ssize_t written = ::write(Signal_Pipe[1], &byte, 1);
}

}  // namespace

TRecovery_Snapshots::TRecovery_Snapshots(TForm_Main_Vetra& frame)
    : QObject(&frame), Frame_(frame), Interval_Ms(snapshotIntervalMs()) {
    Timer_.setInterval(int(std::min<qint64>(1000, Interval_Ms)));
    connect(&Timer_, &QTimer::timeout, this, &TRecovery_Snapshots::poll);
    Timer_.start();
    connect(&frame, &TForm_Main_Vetra::documentWindowsChanged, this, &TRecovery_Snapshots::poll);
    if (auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        connect(application, &QGuiApplication::commitDataRequest, this,
                [this](QSessionManager&) { snapshotAll(); });
    watchEndSignals();
}

void TRecovery_Snapshots::watchEndSignals() {
    if (Signal_Pipe[0] < 0 && ::pipe2(Signal_Pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    auto* notifier = new QSocketNotifier(Signal_Pipe[0], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this] {
        char bytes[16];
        while (::read(Signal_Pipe[0], bytes, sizeof bytes) > 0) {
        }
        // The session is ending: keep the unsaved work, then end.
        snapshotAll();
        QCoreApplication::exit(0);
    });
    struct sigaction action {};
    action.sa_handler = onEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGHUP, &action, nullptr);
}

TRecovery_Snapshots::~TRecovery_Snapshots() {
    if (Session_Ending) return;
    for (const TEntry& entry : Entries_)
        if (!entry.Path.empty()) removeRecoverySnapshot(entry.Path);
}

TRecovery_Snapshots::TEntry& TRecovery_Snapshots::entryOf(TForm_Qo_Tree& window) {
    for (TEntry& entry : Entries_)
        if (entry.Window == &window) return entry;
    Entries_.push_back({&window, {}, nullptr, -1, -1});
    return Entries_.back();
}

bool TRecovery_Snapshots::writeSnapshot(TEntry& entry) {
    TTree_Doc& doc = entry.Window->document();
    if (entry.Path.empty()) entry.Path = recoverySnapshotPath(recoveryDirectory(), Serial_++);
    if (!writeRecoverySnapshot(doc, entry.Path)) return false;
    entry.Last_Edit = doc.Undo.newest();
    entry.Undo_Count = doc.Undo.count();
    entry.Dirty_Since = -1;
    return true;
}

void TRecovery_Snapshots::poll() {
    // Closed windows take their snapshots with them, unless the session is
    // ending: then the windows close because the desktop closes them.
    std::erase_if(Entries_, [this](const TEntry& entry) {
        if (entry.Window) return false;
        if (!entry.Path.empty() && !Session_Ending) removeRecoverySnapshot(entry.Path);
        return true;
    });
    for (QWidget* widget : Frame_.documentWindows()) {
        auto* window = qobject_cast<TForm_Qo_Tree*>(widget);
        if (window == nullptr) continue;
        TEntry& entry = entryOf(*window);
        TTree_Doc& doc = window->document();
        if (!doc.Modified) {
            // Saved (or never changed): nothing to recover.
            if (!entry.Path.empty()) removeRecoverySnapshot(entry.Path);
            entry.Path.clear();
            entry.Dirty_Since = -1;
            entry.Undo_Count = -1;
            continue;
        }
        bool changed = entry.Undo_Count != doc.Undo.count() || entry.Last_Edit != doc.Undo.newest();
        if (!changed) continue;
        if (entry.Dirty_Since < 0) entry.Dirty_Since = nowMs();
        if (nowMs() - entry.Dirty_Since >= Interval_Ms) writeSnapshot(entry);
    }
}

void TRecovery_Snapshots::snapshotAll() {
    poll();
    for (TEntry& entry : Entries_)
        if (entry.Window && entry.Window->document().Modified) writeSnapshot(entry);
    Session_Ending = true;
}

void TRecovery_Snapshots::offerLeftovers(TForm_Main_Vetra& frame) {
    std::vector<TRecovery_Snapshot> left = leftoverSnapshots(recoveryDirectory());
    if (left.empty()) return;
    QStringList lines;
    for (const TRecovery_Snapshot& snapshot : left)
        lines << QString("%1  %2").arg(
            snapshot.Original.empty() ? QString("(未命名)")
                                      : QString::fromStdString(snapshot.Original),
            QDateTime::fromSecsSinceEpoch(snapshot.Time).toString("yyyy-MM-dd HH:mm:ss"));
    bool recover = message_box::confirmation(&frame, "恢復未保存的文檔？\n%s", {lines.join('\n')});
    for (const TRecovery_Snapshot& snapshot : left) {
        if (recover) {
            TMessage_Box_Messages messages(&frame);
            TTree_Doc saved(messages);
            std::vector<TTree_Node*> roots;
            TRead_Error error{};
            if (!saved.open(snapshot.Path, roots, error)) {
                message_box::warning(&frame, "無法打開文件 %s",
                                     {QString::fromStdString(snapshot.Path)});
                continue;
            }
            TForm_Qo_Tree* window =
                TForm_Qo_Tree::adopt(frame, saved.newDocumentFromSubtree(*saved.root()));
            window->document().nameAfter(snapshot.Original);
            window->setWindowTitle(window->windowCaption());
            frame.showDocumentWindow(window);
        }
        removeRecoverySnapshot(snapshot.Path);
    }
}

}  // namespace vetra
