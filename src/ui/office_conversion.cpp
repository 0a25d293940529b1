#include "ui/office_conversion.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>

namespace vetra {
namespace {

QString sofficeProgram() {
    const QString forced = qEnvironmentVariable("VETRA_SOFFICE");
    if (!forced.isEmpty()) return QFileInfo(forced).isExecutable() ? forced : QString();
    for (const char* name : {"soffice", "libreoffice"}) {
        const QString found = QStandardPaths::findExecutable(name);
        if (!found.isEmpty()) return found;
    }
    return {};
}

// Copies the converted file under the chosen name through a temporary file
// beside it, renamed into place once complete.
bool moveIntoPlace(const QString& from, const QString& to) {
    QFile source(from);
    if (source.size() <= 0 || !source.open(QIODevice::ReadOnly)) return false;
    QSaveFile target(to);
    if (!target.open(QIODevice::WriteOnly)) return false;
    while (!source.atEnd()) {
        const QByteArray block = source.read(1 << 20);
        if (block.isEmpty() || target.write(block) != block.size()) {
            target.cancelWriting();
            return false;
        }
    }
    return target.commit();
}

}  // namespace

std::optional<TOffice_Target> officeTargetFor(const QString& path) {
    static const TOffice_Target kTargets[] = {
        {"doc", "doc:MS Word 97", false},
        {"docx", "docx:MS Word 2007 XML", false},
        {"odt", "odt:writer8", false},
        {"ppt", "ppt:MS PowerPoint 97", true},
        {"pptx", "pptx:Impress MS PowerPoint 2007 XML", true},
        {"odp", "odp:impress8", true},
    };
    const QString suffix = QFileInfo(path).suffix().toLower();
    for (const TOffice_Target& target : kTargets)
        if (target.extension == suffix) return target;
    return std::nullopt;
}

int TOffice_Conversion::timeoutSeconds() {
    bool ok = false;
    const int seconds = qEnvironmentVariableIntValue("VETRA_OFFICE_TIMEOUT", &ok);
    return ok && seconds > 0 ? seconds : 300;
}

TOffice_Conversion::TOffice_Conversion(QObject* parent) : QObject(parent) {
    Timeout_.setSingleShot(true);
    connect(&Timeout_, &QTimer::timeout, this, [this] {
        Result_ = TResult::Timed_Out;
        Process_.kill();
    });
    connect(&Process_, &QProcess::finished, this, &TOffice_Conversion::processFinished);
    connect(&Process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) finish(TResult::Missing);
    });
}

TOffice_Conversion::~TOffice_Conversion() {
    if (Process_.state() != QProcess::NotRunning) {
        Process_.kill();
        Process_.waitForFinished(5000);
    }
}

bool TOffice_Conversion::start(const QByteArray& source, const QString& sourceSuffix,
                               const QString& targetPath, const TOffice_Target& target) {
    Result_ = TResult::Failed;
    const QString program = sofficeProgram();
    if (program.isEmpty()) {
        Result_ = TResult::Missing;
        return false;
    }
    Work_ = std::make_unique<QTemporaryDir>(QDir::tempPath() + "/vetra-office-XXXXXX");
    if (!Work_->isValid()) return false;
    Source_Path_ = Work_->filePath("document." + sourceSuffix);
    QFile file(Source_Path_);
    if (!file.open(QIODevice::WriteOnly) || file.write(source) != source.size()) return false;
    file.close();
    Target_Path_ = targetPath;
    Target_ = target;
    const QStringList arguments = {
        "-env:UserInstallation=" + QUrl::fromLocalFile(Work_->filePath("profile")).toString(),
        "--headless",
        "--invisible",
        "--norestore",
        "--nologo",
        "--nolockcheck",
        "--nodefault",
        "--convert-to",
        target.filter,
        "--outdir",
        Work_->filePath("out"),
        Source_Path_};
    Process_.setProcessChannelMode(QProcess::MergedChannels);
    Process_.setStandardOutputFile(QProcess::nullDevice());
    Running_ = true;
    Process_.start(program, arguments);
    Timeout_.start(timeoutSeconds() * 1000);
    return true;
}

void TOffice_Conversion::cancel() {
    if (!Running_) return;
    Result_ = TResult::Cancelled;
    Process_.kill();
}

void TOffice_Conversion::processFinished() {
    if (!Running_) return;
    if (Result_ == TResult::Cancelled || Result_ == TResult::Timed_Out) return finish(Result_);
    const QString produced = Work_->filePath("out/document." + Target_.extension);
    const bool ok = Process_.exitStatus() == QProcess::NormalExit && Process_.exitCode() == 0 &&
                    moveIntoPlace(produced, Target_Path_);
    finish(ok ? TResult::Done : TResult::Failed);
}

void TOffice_Conversion::finish(TResult result) {
    if (!Running_) return;
    Running_ = false;
    Timeout_.stop();
    Result_ = result;
    emit finished(result);
}

TOffice_Conversion::TResult TOffice_Conversion::run(const QByteArray& source,
                                                    const QString& sourceSuffix,
                                                    const QString& targetPath,
                                                    const TOffice_Target& target) {
    QEventLoop loop;
    connect(this, &TOffice_Conversion::finished, &loop, &QEventLoop::quit);
    if (!start(source, sourceSuffix, targetPath, target)) return Result_;
    if (Running_) loop.exec();
    return Result_;
}

}  // namespace vetra
