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
    bool web = hasScheme(link);
    // A file that is not there cannot be opened, whatever an opener would say.
    if (!web && !QFileInfo::exists(link)) return false;
    // Scripts and tests never start other programs unless asked to.
    if (TDialog_Script::active() != nullptr && qgetenv("VETRA_OPEN_LINKS") != "1") return true;
    QUrl url = web ? QUrl(link) : QUrl::fromLocalFile(QFileInfo(link).absoluteFilePath());
    if (!url.isValid()) return false;
    if (QDesktopServices::openUrl(url)) return true;
    // The desktop had no opener: the web browser gets the link as a URL,
    // which never starts with "-" and so is never taken for an option.
    QString argument = url.toString(QUrl::FullyEncoded);
    if (argument.isEmpty() || argument.startsWith('-')) return false;
    for (const char* browser : {"x-www-browser", "sensible-browser", "firefox", "chromium"})
        if (QProcess::startDetached(browser, {argument})) return true;
    return false;
}

}  // namespace vetra
