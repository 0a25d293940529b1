#include <QApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>

#include "app/commands.h"
#include "app/startup_clock.h"
#include "store/content_store.h"
#include "store/options.h"
#include "ui/document_window.h"
#include "ui/main_frame.h"
#include "ui/message_box.h"
#include "ui/qt_translations.h"
#include "ui/recovery_snapshots.h"
#include "ui/shell_commands.h"
#include "ui/single_instance.h"

namespace vetra {

int runEditor(int argc, char** argv, const QString& fileName) {
    QApplication application(argc, argv);
    application.setApplicationName("vetra");
    application.setDesktopFileName("vetra");
    installQtTranslations();
    markStartupPhase("application");
    if (quitAfterFirstPaintRequested()) installFirstPaintProbe(application);

    // A second start hands its file to the first and ends.
    if (TSingle_Instance::handOver(fileName)) return 0;
    TSingle_Instance instance;
    instance.listen();
    markStartupPhase("single instance");

    QSize screen = QGuiApplication::primaryScreen() != nullptr
                       ? QGuiApplication::primaryScreen()->size()
                       : QSize(1920, 1080);
    TOptions options(screen.width(), screen.height());
    options.Program_Directory = programDirectory();
    bool firstRun = !options.load(defaultOptionsPath());
    if (options.File_Name.empty()) options.File_Name = defaultOptionsPath();

    markStartupPhase("options");
    if (contentStore() == nullptr) {
        message_box::warning(nullptr, "無法初始化臨時文件");
        return 0;
    }

    markStartupPhase("content store");
    TForm_Main_Vetra frame(options, createDocumentWindow);
    markStartupPhase("main frame");
    auto bringToFront = [&frame] {
        frame.setWindowState(frame.windowState() & ~Qt::WindowMinimized);
        frame.raise();
        frame.activateWindow();
    };
    QObject::connect(&instance, &TSingle_Instance::fileRequested, &frame,
                     [&frame, bringToFront](const QString& requested) {
                         frame.openDocument(requested);
                         bringToFront();
                     });
    QObject::connect(&instance, &TSingle_Instance::raiseRequested, &frame, bringToFront);
    frame.showMaximized();
    markStartupPhase("frame shown");
    // Unsaved work a killed editor left is offered first; then this run's
    // own unsaved work is kept the same way.
    TRecovery_Snapshots::offerLeftovers(frame);
    new TRecovery_Snapshots(frame);

    QString toOpen = fileName;
    // The first run opens the help document when it is there.
    QString help = helpDocumentPath(QString::fromStdString(options.Program_Directory));
    if (toOpen.isEmpty() && firstRun && QFileInfo::exists(help)) toOpen = help;
    if (!toOpen.isEmpty())
        frame.openDocument(toOpen);
    else if (frame.documentWindows().isEmpty())  // nothing recovered
        frame.newDocument();
    markStartupPhase("document open");
    return application.exec();
}

}  // namespace vetra
