#include "ui/mail_sender.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace vetra {

void sendFileByMail(const QString& path, QObject* owner, std::function<void()> failed, bool wait) {
    const QString forced = qEnvironmentVariable("VETRA_XDG_EMAIL");
    const QString program = forced.isEmpty() ? QStandardPaths::findExecutable("xdg-email") : forced;
    if (program.isEmpty() || !QFileInfo(program).isExecutable()) {
        failed();
        return;
    }
    const QFileInfo file(path);
    auto* process = new QProcess(owner);
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    QObject::connect(process, &QProcess::finished, process,
                     [process, failed](int code, QProcess::ExitStatus status) {
                         if (status != QProcess::NormalExit || code != 0) failed();
                         process->deleteLater();
                     });
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process, failed](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart) return;
                         failed();
                         process->deleteLater();
                     });
    process->start(program, {"--attach", file.absoluteFilePath(), "--subject", file.fileName()});
    if (wait) process->waitForFinished(60000);
}

}  // namespace vetra
