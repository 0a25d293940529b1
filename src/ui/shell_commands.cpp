#include "ui/shell_commands.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>

#include "store/options.h"
#include "ui/dialog_script.h"
#include "ui/file_association.h"
#include "ui/form_about.h"
#include "ui/main_frame.h"
#include "ui/message_box.h"
#include "ui/ui_text.h"

namespace vetra {

void N9Click(TForm_Main_Vetra& frame) {
    const bool done = associateDocuments(userDataHome(), QCoreApplication::applicationFilePath());
    message_box::warning(&frame, done ? "關聯文件操作成功" : "關聯文件操作失敗");
}

QString helpDocumentPath(const QString& programDirectory) {
    const QString beside = programDirectory + "/vt_help.vt";
    if (QFileInfo::exists(beside)) return beside;
    const QString installed = QDir::cleanPath(programDirectory + "/../share/vetra/vt_help.vt");
    return QFileInfo::exists(installed) ? installed : beside;
}

void N_HelpClick(TForm_Main_Vetra& frame) {
    frame.openDocument(helpDocumentPath(QString::fromStdString(frame.options().Program_Directory)));
}

void N3Click(TForm_Main_Vetra& frame) {
    TForm_Qo_About about(&frame);
    if (TDialog_Script* script = TDialog_Script::active())
        script->recordMessage(about.windowTitle(), about.summary().replace('\n', " | "));
    else
        about.exec();
}

void installShellCommands(TForm_Main_Vetra& frame) {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) icon.addPixmap(applicationIconPixmap(size));
    frame.setWindowIcon(icon);
    struct TCommand {
        const char* item;
        void (*handler)(TForm_Main_Vetra&);
    };
    static const TCommand kCommands[] = {
        {"N9", N9Click}, {"N_Help", N_HelpClick}, {"N3", N3Click}, {"ToolButton_Help", nullptr}};
    for (const char* name : {"N_Export_Word", "N_Export_PPT"}) {
        QAction* action = frame.findChild<QAction*>(name);
        if (action == nullptr) continue;
        action->setEnabled(true);
        const QByteArray handler = QByteArray(name) + "Click";
        QObject::connect(action, &QAction::triggered, &frame,
                         [&frame, handler] { frame.forwardToActiveWindow(handler.constData()); });
    }
    for (const TCommand& command : kCommands) {
        QAction* action = frame.findChild<QAction*>(command.item);
        if (action == nullptr) continue;
        action->setEnabled(true);
        if (command.handler != nullptr)
            QObject::connect(action, &QAction::triggered, &frame,
                             [&frame, handler = command.handler] { handler(frame); });
    }
}

}  // namespace vetra
