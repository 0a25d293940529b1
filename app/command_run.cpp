#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTextStream>
#include <cstdio>

#include "app/commands.h"
#include "store/options.h"
#include "store/recovery_snapshot.h"
#include "ui/dialog_script.h"
#include "ui/document_window.h"
#include "ui/main_frame.h"
#include "ui/recovery_snapshots.h"
#include "ui/outline_commands.h"
#include "ui/script_runner.h"
#include "ui/session_script_commands.h"
#include "ui/single_instance.h"
#include "ui/tool_script_commands.h"
#include "ui/view_script_commands.h"

namespace vetra {
namespace {

// Offscreen Qt reports what it cannot do for a window; none of it concerns
// the script's reader.
void quietOffscreenNotes(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.contains("propagateSizeHints") || text.contains("XDG_RUNTIME_DIR") ||
        text.contains("does not support raise"))
        return;
    QByteArray bytes = qFormatLogMessage(type, context, text).toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
}

void printLine(const QString& text) {
    QByteArray bytes = (text + '\n').toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    std::fflush(stdout);
}

}  // namespace

int runScript(int argc, char** argv, const QString& scriptPath, const QString& fileName) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietOffscreenNotes);
    QApplication application(argc, argv);
    QFile scriptFile(scriptPath);
    if (!scriptFile.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "%s\n",
                     terminalMessage("無法打開文件 %s", scriptPath.toStdString()).c_str());
        return 1;
    }
    QStringList lines = QString::fromUtf8(scriptFile.readAll()).split('\n');

    TDialog_Script dialogs;
    dialogs.setEcho(true);
    TDialog_Script::activate(&dialogs);
    TOptions options(1920, 1080);
    options.Program_Directory = programDirectory();
    options.load(defaultOptionsPath());
    int status = 0;
    {
        TForm_Main_Vetra frame(options, createDocumentWindow);
        frame.resize(1280, 900);
        frame.show();
        // A scripted session is a first instance like any other.
        TSingle_Instance instance;
        instance.listen();
        QObject::connect(&instance, &TSingle_Instance::fileRequested, &frame,
                         [&frame](const QString& requested) { frame.openDocument(requested); });
        // Leading "answer" lines answer the offer of unsaved work left behind.
        if (!leftoverSnapshots(recoveryDirectory()).empty())
            for (QString& line : lines) {
                if (!line.trimmed().startsWith("answer ")) break;
                dialogs.queueAnswer(line.trimmed().section(' ', 1).trimmed());
                line.clear();
            }
        TRecovery_Snapshots::offerLeftovers(frame);
        new TRecovery_Snapshots(frame);
        QElapsedTimer opening;
        opening.start();
        if (!fileName.isEmpty())
            frame.openDocument(fileName);
        else if (frame.documentWindows().isEmpty())  // nothing recovered
            frame.newDocument();
        QApplication::processEvents();
        if (QWidget* window = frame.activeDocumentWindow()) window->repaint();
        double openMs = double(opening.nsecsElapsed()) / 1e6;
        if (frame.activeDocumentWindow() == nullptr) {
            TDialog_Script::activate(nullptr);
            return 1;
        }
        // The first line runs as soon as the window has painted. The Tab key
        // ignores its release in the first half second after an activation,
        // so a script that presses Tab waits as long as a person would.
        const bool pressesTab =
            lines.filter(QRegularExpression("^\\s*key\\s+\\S*Tab\\s*$")).size() > 0;
        QElapsedTimer shown;
        shown.start();
        while (pressesTab && shown.elapsed() < 550)
            QApplication::processEvents(QEventLoop::AllEvents, 50);
        TScript_Runner runner(frame, printLine);
        addToolScriptCommands(runner, frame);
        addViewScriptCommands(runner, frame);
        addSessionScriptCommands(runner, frame);
        addOutlineScriptCommands(runner);
        if (qEnvironmentVariableIsSet("VETRA_SCRIPT_TIMING"))
            printLine(QString("open and first paint %1 ms").arg(openMs, 0, 'f', 1));
        QString error;
        int failed = runner.run(lines, &error);
        if (failed != 0) {
            std::fprintf(stderr, "line %d: %s\n", failed, error.toUtf8().constData());
            status = 2;
        }
        // Scripts end without the save prompts.
        for (QWidget* window : frame.documentWindows()) window->setProperty("closeQueryDone", true);
    }
    TDialog_Script::activate(nullptr);
    return status;
}

}  // namespace vetra
