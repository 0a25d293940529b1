#include "ui/session_script_commands.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include "ui/document_window.h"
#include "ui/main_frame.h"
#include "ui/recovery_snapshots.h"
#include "ui/script_runner.h"

namespace vetra {

void addSessionScriptCommands(TScript_Runner& runner, TForm_Main_Vetra& frame) {
    runner.addCommand("wait", [](const QStringList& arguments, QString* error) {
        bool ok = false;
        int ms = arguments.value(0).toInt(&ok);
        if (!ok || ms < 0) {
            *error = "wait needs milliseconds";
            return false;
        }
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < ms)
            QCoreApplication::processEvents(QEventLoop::AllEvents,
                                            int(std::max<qint64>(1, ms - clock.elapsed())));
        return true;
    });
    // "link TEXT": the selected node's link becomes TEXT and is followed.
    runner.addCommand("link", [&frame](const QStringList& arguments, QString* error) {
        auto* window = qobject_cast<TForm_Qo_Tree*>(frame.activeDocumentWindow());
        TTree_Node* node = window != nullptr ? window->selectedNode() : nullptr;
        if (node == nullptr || arguments.isEmpty()) {
            *error = "link needs a selected node and a link";
            return false;
        }
        node->setLink(arguments.join(' ').toStdString());
        window->N_Link_UrlClick();
        return true;
    });
    runner.addCommand("snapshot", [&frame](const QStringList&, QString* error) {
        auto* snapshots = frame.findChild<TRecovery_Snapshots*>();
        if (snapshots == nullptr) {
            *error = "no recovery snapshots in this session";
            return false;
        }
        snapshots->snapshotAll();
        return true;
    });
}

}  // namespace vetra
