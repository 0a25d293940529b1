#include "ui/link_opener.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QUrl>

#include "store/options.h"
#include "ui/dialog_script.h"

namespace vetra {
namespace {

bool hasScheme(const QString& link) {
    static const QRegularExpression scheme("^[A-Za-z][A-Za-z0-9+.-]+:");
    // "C:\..." is a Windows drive, not a scheme.
    return scheme.match(link).hasMatch() &&
           !QRegularExpression("^[A-Za-z]:[\\\\/]").match(link).hasMatch();
}

}  // namespace

TLink_Target classifyLink(const QString& link) {
    QString path = link;
    path.replace('\\', '/');
    QString last = path.section('/', -1);
    qsizetype dot = last.lastIndexOf('.');
    if (dot >= 0 && last.mid(dot + 1) == "vt") return TLink_Target::Document;
    return TLink_Target::Other;
}

QString resolveLink(const QString& link) {
    if (hasScheme(link)) return link;
    QString path = link;
    path.replace('\\', '/');
    if (path.startsWith("./")) {
        QString base = QString::fromStdString(programDirectory());
        return QDir(base).filePath(path.mid(2));
    }
    return path;
}

bool openWithDesktop(const QString& link) {
    // Scripts and tests never start other programs.
    if (TDialog_Script::active() != nullptr) return QFileInfo::exists(link) || hasScheme(link);
    QUrl url =
        hasScheme(link) ? QUrl(link) : QUrl::fromLocalFile(QFileInfo(link).absoluteFilePath());
    if (QDesktopServices::openUrl(url)) return true;
    // The desktop had no opener: try the web browser with the link itself.
    for (const char* browser : {"x-www-browser", "sensible-browser", "firefox", "chromium"})
        if (QProcess::startDetached(browser, {link})) return true;
    return false;
}

}  // namespace vetra
