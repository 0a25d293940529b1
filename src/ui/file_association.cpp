#include "ui/file_association.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

// The resources live in a static library: they are registered by hand.
static void initDataResources() {
    Q_INIT_RESOURCE(vetra_data);
}

namespace vetra {
namespace {

constexpr char kMime_Type[] = "application/x-vetra-tree";
constexpr int kTool_Timeout_Ms = 30000;

QByteArray resource(const QString& name) {
    initDataResources();
    QFile file(":/vetra/" + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeWhole(const QString& path, const QByteArray& bytes) {
    if (bytes.isEmpty() || !QDir().mkpath(QFileInfo(path).absolutePath())) return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    return file.write(bytes) == bytes.size() && file.commit();
}

// Runs the tool when it is installed; a missing tool is no failure.
bool runIfInstalled(const QString& tool, const QStringList& arguments) {
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty()) return true;
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, arguments);
    if (!process.waitForFinished(kTool_Timeout_Ms)) {
        process.kill();
        process.waitForFinished();
        return false;
    }
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

// Desktop entries quote arguments with double quotes; inside them `"`, `` ` ``,
// `$` and `\` are escaped with a backslash.
QString quotedExecArgument(const QString& path) {
    QString quoted;
    for (QChar c : path) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        quoted += c;
    }
    return '"' + quoted + '"';
}

}  // namespace

QString userDataHome() {
    const QString set = qEnvironmentVariable("XDG_DATA_HOME");
    if (!set.isEmpty() && QDir::isAbsolutePath(set)) return set;
    return QDir::homePath() + "/.local/share";
}

QString desktopEntryFor(const QString& programPath) {
    QStringList lines;
    for (const QString& line : QString::fromUtf8(resource("vetra.desktop")).split('\n')) {
        if (line.isEmpty() || line.startsWith("TryExec=")) continue;
        if (line.startsWith("Exec=")) {
            lines << "TryExec=" + programPath;
            lines << "Exec=" + quotedExecArgument(programPath) + " %f";
        } else {
            lines << line;
        }
    }
    return lines.join('\n') + '\n';
}

bool associateDocuments(const QString& dataHome, const QString& programPath) {
    const QString mimeDir = dataHome + "/mime";
    const QString applications = dataHome + "/applications";
    const QString icons = dataHome + "/icons/hicolor/scalable";
    const QByteArray icon = resource("vetra.svg");
    const bool written =
        writeWhole(mimeDir + "/packages/vetra-mime.xml", resource("vetra-mime.xml")) &&
        writeWhole(applications + "/vetra.desktop", desktopEntryFor(programPath).toUtf8()) &&
        writeWhole(icons + "/apps/vetra.svg", icon) &&
        writeWhole(icons + "/mimetypes/application-x-vetra-tree.svg", icon);
    if (!written) return false;
    if (!runIfInstalled("update-mime-database", {mimeDir}) ||
        !runIfInstalled("update-desktop-database", {applications}))
        return false;
    // Making the program the type's default opener is a preference of the
    // desktop; the type and the entry are registered either way.
    runIfInstalled("xdg-mime", {"default", "vetra.desktop", kMime_Type});
    return true;
}

}  // namespace vetra
